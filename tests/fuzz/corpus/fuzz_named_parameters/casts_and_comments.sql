SELECT a::text, ':NOT' "x:y" -- :no
FROM t /* :no */ WHERE c = :P_CDFILIAL AND d = :p_x$1 OR e = :_n#