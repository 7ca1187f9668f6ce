-- The list form is asked for with exactly "T", whatever the database's collation (see adqValidaGarcom).
SELECT
   NRMESA, NMMESA, IDSTMESAAUX
FROM
   MESA
WHERE
   (CDFILIAL = :P_CDFILIAL)
AND(CDLOJA = :P_CDLOJA)
AND((NRMESA = :P_NRMESA) OR ('T' = :P_NRMESA COLLATE Latin1_General_BIN2))
