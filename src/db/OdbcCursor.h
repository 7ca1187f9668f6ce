#pragma once
// The statement under a Query on a server reached through ODBC, run straight on the connection
// handle that Qt's ODBC driver opened. Qt's own ODBC result asks every column for attributes a
// packet never uses (base table, auto-increment), and psqlODBC answers those by querying the
// server's catalog: a round trip for each table a query joins, after every run. This cursor asks
// a result for its columns' names, types and sizes only, which every driver answers from what the
// run already brought back.

#include "db/Cursor.h"

namespace db {

class ServerLink;

// Prepares sql on the link, or takes the statement an earlier query prepared there with the same
// text; the statement goes back to the link when the cursor is destroyed. Throws tkt::Error with
// the driver's text.
std::unique_ptr<Query::Cursor> prepareOdbcCursor(ServerLink &link, const QString &sql);

} // namespace db
