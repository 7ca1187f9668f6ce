#pragma once
// Installs the store database's tables, lookup indexes and (optionally) the demo rows, in the dialect
// of the connection's database. The scripts are Qt resources under ":/schema".

#include "db/DbKind.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace db { class Connection; }

namespace schema {

// The text of one script ("schema.sql", "indexes.sql", "drop.sql") for a kind of database, or of a
// dialect-free script ("demo_data.sql", "queries/demo_clients.sql") when kind is Unknown.
// Throws tkt::Error when the project has no such script (for instance no Oracle schema).
QString script(db::DbKind kind, const QString &name);


// Creates the tables and indexes, then inserts the demo rows when withDemoData, all in one
// transaction where the driver has them. Throws tkt::Error naming the failing statement and
// carrying the driver's text; a failed installation leaves nothing behind where the database can
// roll its schema changes back (SQLite and PostgreSQL both can).
void install(db::Connection &connection, bool withDemoData);
void install(QSqlDatabase database, db::DbKind kind, bool withDemoData);

// Drops the store tables that exist, so that install can run again on the same database.
void uninstall(db::Connection &connection);
void uninstall(QSqlDatabase database, db::DbKind kind);

// PostgreSQL or SQL Server databases of their own for demos and test runs, made and removed through
// a connection to another database of the same server. The name must be a plain lower-case identifier
// (letters, digits, "_", at most 63 characters); anything else throws tkt::Error, as database
// names cannot be bound as parameters.
void createDatabase(db::Connection &server, const QString &name);
void dropDatabase(db::Connection &server, const QString &name);

// An ODBC connection string that names another database (its "Database" attribute replaced or
// added), everything else kept.
QString odbcWithDatabase(const QString &odbc, const QString &database);
// The same for an ADO connection string ("Initial Catalog").
QString adoWithCatalog(const QString &ado, const QString &database);

} // namespace schema
