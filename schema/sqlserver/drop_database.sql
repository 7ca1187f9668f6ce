-- Removes a demo or test database; the caller closes its own sessions to it first.
DROP DATABASE IF EXISTS %1
