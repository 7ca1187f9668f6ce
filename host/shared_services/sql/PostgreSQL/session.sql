-- Texts cross as UTF-8 also through the ANSI flavour of the ODBC driver (the Unicode flavour asks
-- for UTF-8 as it logs in, and is not told again).
SET client_encoding TO 'UTF8';
