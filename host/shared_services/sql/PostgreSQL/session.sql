-- Texts cross as UTF-8 also through the ANSI flavour of the ODBC driver.
SET client_encoding TO 'UTF8';
