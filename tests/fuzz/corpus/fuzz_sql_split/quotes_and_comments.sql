CREATE TABLE t (a TEXT); -- first
INSERT INTO t VALUES ('x;
-- kept'), ("q"""); INSERT INTO t VALUES (';');
BEGIN x; y; END;

;  ;
'open