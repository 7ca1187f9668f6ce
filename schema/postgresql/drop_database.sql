-- Removes a demo or test database, ending the sessions still connected to it.
DROP DATABASE IF EXISTS %1 WITH (FORCE)
