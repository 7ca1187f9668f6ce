-- Dates as ISO text whatever the login's language; ANSI behaviour the queries are written for.
-- (Qt's ODBC driver sets QUOTED_IDENTIFIER ON itself on every SQL Server connection.)
SET DATEFORMAT ymd;
SET ANSI_NULLS ON;
SET ANSI_PADDING ON;
SET ANSI_WARNINGS ON;
SET CONCAT_NULL_YIELDS_NULL ON;
