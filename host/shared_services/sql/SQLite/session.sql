-- Registration writes CONSUMIDOR through another connection while the dialog's lookups may still
-- hold a statement open: write-ahead logging lets readers and that writer go on side by side, and
-- the busy timeout waits out any short lock instead of failing.
PRAGMA journal_mode = WAL;
PRAGMA busy_timeout = 5000;
PRAGMA foreign_keys = ON;
