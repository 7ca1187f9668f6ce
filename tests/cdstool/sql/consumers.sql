-- Every consumer column: texts, REAL amounts, TIMESTAMP dates and their nulls.
SELECT * FROM CONSUMIDOR ORDER BY CDCLIENTE, CDCONSUMIDOR
