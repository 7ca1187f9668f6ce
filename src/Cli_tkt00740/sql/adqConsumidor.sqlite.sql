-- The consumer lookup for SQLite. SQLite has neither REPLICATE/LEN nor CONVERT: the badge is padded
-- with substr and the reference text is a plain CAST. The ways of naming a consumer are index
-- lookups in a UNION, because over one OR across the joins the planner walks every consumer of the
-- clients of the branch. A consumer code typed in short form is also looked up in its stored form
-- (P_CDCONSUMIDORAJUSTA, the typed text through Ajusta); otherwise no row could ever be recognised
-- by that form and the operator would be offered to register a consumer that exists. The columns
-- come in the order of the consumer fields of the dialog; rows and their order are those of SQL Server.
SELECT CO.CDCLIENTE,       CO.CDCONSUMIDOR,    CO.NMCONSUMIDOR,
       CO.VRLIMDEBCONS,    CO.IDSITCONSUMI,    CO.CDTIPOCONS,
       CO.CDCCUSCLIE,      CO.CDIDCONSUMID,    CO.VRAVIDEBCONS,
       CO.CDEXCONSUMID,    CO.IDVERSALDCON,    CO.IDCONSUMIDOR,
       CO.CDVENDEDOR,      CO.VRMAXDEBCONS,    CO.VRLIMCREDCONS,
       CO.VRMAXCREDCONS,   CO.VRAVICREDCONS,   T.IDUTSUBTCCLI,
       T.VRPESUBTCCLI,     CO.NRRGCONSUMID,    CO.NRCPFRESPCON,
       CO.NRTELECONS,      CO.NRTELE2CONS,     CO.IDTPVENDACONS,
       C.NMFANTCLIE,       F.CDFILIAL,         F.NMFILIAL,
       CF.IDCLIENPRIN,     CO.IDIMPCPFCUPOM,   CO.IDCADCONFLIBCON,
       CO.DSENDECONS,      CO.CDRESERVAPH,     CO.DTCHECKINPH,
       CO.DTCHECKOUTPH,    CO.DSOBSHOSPEDEPH,  CO.VRSUBSBASICO,
       CO.DTNASCCONS,      CO.DSCOMPLENDECONS, CO.NRCELULARCONS,
       CO.DSEMAILCONS,     CO.CDPAIS,          CO.SGESTADO,
       CO.NRCEPCONS,       MU.CDMUNICIPIO,     MU.NMMUNICIPIO,
       BA.CDBAIRRO,        BA.NMBAIRRO,        BA.QTHORAENTREGA,
       BA.VRTXENTREGA,     PA.NMPAIS,          ES.NMESTADO,
       CAST(CO.DSREFERENDECONS AS VARCHAR(400)) AS DSREFERENDECONS
  FROM (SELECT rowid AS RID FROM CONSUMIDOR WHERE CDIDCONSUMID = :P_CDCONSUMIDOR
        UNION
        SELECT rowid FROM CONSUMIDOR
         WHERE CDIDCONSUMID = CASE WHEN length(:P_CDCONSUMIDOR) <= 10
                                   THEN substr('0000000000' || :P_CDCONSUMIDOR, -10) END
        UNION
        SELECT rowid FROM CONSUMIDOR WHERE CDCONSUMIDOR = :P_CDCONSUMIDOR
        UNION
        SELECT rowid FROM CONSUMIDOR WHERE CDCONSUMIDOR = :P_CDCONSUMIDORAJUSTA
        UNION
        SELECT rowid FROM CONSUMIDOR WHERE NRCPFRESPCON = :P_CDCONSUMIDOR
        UNION
        SELECT rowid FROM CONSUMIDOR WHERE UPPER(NRRGCONSUMID) = UPPER(:P_CDCONSUMIDOR)
        UNION
        SELECT rowid FROM CONSUMIDOR WHERE CDEXCONSUMID = :P_CDCONSUMIDOR) K
       CROSS JOIN CONSUMIDOR CO
       JOIN CLIENFILIAL CF ON
         (CF.CDCLIENTE = CO.CDCLIENTE) AND
         (CF.CDFILIAL  = :P_CDFILIAL)  AND
         (CF.IDPERMVENDAQOR = 'S')
       JOIN CLIENTE C ON
         (C.CDCLIENTE = CO.CDCLIENTE)
       JOIN FILIAL F ON
         (F.CDFILIAL = CF.CDFILIAL)
       LEFT JOIN TIPOCONSCLI T ON
         (CO.CDCLIENTE  = T.CDCLIENTE) AND
         (CO.CDTIPOCONS = T.CDTIPOCONS)
       LEFT JOIN MUNICIPIO MU ON
         (CO.CDPAIS      = MU.CDPAIS)   AND
         (CO.SGESTADO    = MU.SGESTADO) AND
         (CO.CDMUNICIPIO = MU.CDMUNICIPIO)
       LEFT JOIN BAIRRO BA ON
         (CO.CDPAIS      = BA.CDPAIS)      AND
         (CO.SGESTADO    = BA.SGESTADO)    AND
         (CO.CDMUNICIPIO = BA.CDMUNICIPIO) AND
         (CO.CDBAIRRO    = BA.CDBAIRRO)
       LEFT JOIN PAIS PA ON
         (CO.CDPAIS = PA.CDPAIS)
       LEFT JOIN ESTADO ES ON
         (CO.CDPAIS   = ES.CDPAIS) AND
         (CO.SGESTADO = ES.SGESTADO)
 WHERE (CO.rowid = K.RID) AND
       ((CO.IDSITCONSUMI = :P_IDSITCONSUMI) OR (:P_IDSITCONSUMI = 'T'))
ORDER BY CF.IDCLIENPRIN DESC, CO.CDIDCONSUMID
