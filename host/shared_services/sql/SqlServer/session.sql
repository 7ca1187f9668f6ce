-- Dates as ISO text whatever the login's language; ANSI behaviour the queries are written for.
-- Sent as one batch. QUOTED_IDENTIFIER is set here too: Qt's ODBC driver tries to set it on every
-- SQL Server connection through a scrollable query, which FreeTDS turns into a server cursor and the
-- server refuses for SET.
SET DATEFORMAT ymd;
SET QUOTED_IDENTIFIER ON;
SET ANSI_NULLS ON;
SET ANSI_PADDING ON;
SET ANSI_WARNINGS ON;
SET CONCAT_NULL_YIELDS_NULL ON;
