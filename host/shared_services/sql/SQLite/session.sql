-- Registration writes CONSUMIDOR through another connection: wait for its lock instead of failing.
PRAGMA busy_timeout = 5000;
PRAGMA foreign_keys = ON;
