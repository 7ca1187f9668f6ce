-- Lookup indexes. Every way the consumer field can name a consumer (badge, consumer code, CPF,
-- identity number without regard to case, external code) must be an index search: the consumer
-- query runs on each validation of the field, against every consumer of every client.
--
-- SQL Server indexes columns, not expressions. The identity number is found without regard to case
-- through the plain column's index: under the case-insensitive collation of most databases an
-- equality seek already ignores case, and the consumer query also seeks the typed text in capitals
-- and in small letters for a case-sensitive one. (A computed column UPPER(NRRGCONSUMID) would be
-- indexable too, but it would show in every "SELECT CO.*" the module runs.)

CREATE INDEX IX_CONSUMIDOR_CDIDCONSUMID ON CONSUMIDOR (CDIDCONSUMID);
CREATE INDEX IX_CONSUMIDOR_CDCONSUMIDOR ON CONSUMIDOR (CDCONSUMIDOR);
CREATE INDEX IX_CONSUMIDOR_NRCPFRESPCON ON CONSUMIDOR (NRCPFRESPCON);
CREATE INDEX IX_CONSUMIDOR_NRRGCONSUMID ON CONSUMIDOR (NRRGCONSUMID);
CREATE INDEX IX_CONSUMIDOR_CDEXCONSUMID ON CONSUMIDOR (CDEXCONSUMID);

CREATE INDEX IX_CLIENFILIAL_FILIAL ON CLIENFILIAL (CDFILIAL, CDCLIENTE);
CREATE INDEX IX_VENDEDOR_CDOPERADOR ON VENDEDOR (CDOPERADOR);
CREATE INDEX IX_FILIOPER_FILIAL ON FILIOPER (CDFILIAL, CDOPERADOR);

CREATE INDEX IX_COMANDAVEN_DSCOMANDA ON COMANDAVEN (CDFILIAL, DSCOMANDA);
CREATE INDEX IX_COMANDAVEN_NRVENDAREST ON COMANDAVEN (NRVENDAREST);
CREATE INDEX IX_VENDAREST_LOJA ON VENDAREST (CDFILIAL, CDLOJA, NRVENDAREST);
CREATE INDEX IX_VENDAREST_CDCONSUMIDOR ON VENDAREST (CDCONSUMIDOR);
