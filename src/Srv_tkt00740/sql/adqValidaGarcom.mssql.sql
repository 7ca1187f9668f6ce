-- The list form is asked for with exactly "T": under the case-insensitive collation most SQL Server
-- databases have, 'T' = 't' holds, and the waiter "t" would list every waiter.
SELECT
  V.CDVENDEDOR, V.NMFANVEN, V.CDOPERADOR, V.CDFILIAL, V.CDCAIXA, ' ' AS HABILITADO
FROM
  VENDEDOR V, OPERADOR P
WHERE ((V.CDVENDEDOR = :P_CDVENDEDOR) OR ('T' = :P_CDVENDEDOR COLLATE Latin1_General_BIN2))
  AND (V.CDOPERADOR  = P.CDOPERADOR )
  AND (P.IDOPERATIVO = 'A'          )
