-- Registration writes CONSUMIDOR through another connection while the dialog's lookups may still
-- hold a statement open: write-ahead logging lets readers and that writer go on side by side. (The
-- wait for a short lock is the connection's own, bounded by its Command Timeout.)
PRAGMA journal_mode = WAL;
PRAGMA foreign_keys = ON;
