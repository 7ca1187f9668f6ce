#pragma once
// The store database as the package's dialogs use it: a connection of their own, opened with the
// host's connection string and session, the SQL texts of this library, and the one writing path.

#include "contracts/Errors.h"
#include "db/Connection.h"

#include <QHash>
#include <QString>

namespace commonui {

class StoreConnection {
public:
    StoreConnection(); // opens at once; throws tkt::Error with a readable text
    db::Connection &get() { return m_connection; }

private:
    db::Connection m_connection;
};

// The text of sql/<name>.sql.
QString sqlText(const QString &name);

// Runs a statement that changes rows. Parameters by upper-case name; a null QString binds NULL.
void execute(db::Connection &connection, const QString &sql, const QHash<QString, QString> &params);

// The database failure put into words, passwords left out.
QString databaseFailure(const std::exception &error, db::Connection &connection, const QString &what);

// Runs body on connection; a failure becomes a tkt::Error that says what was being done.
template <class Body>
auto onDatabase(db::Connection &connection, const QString &what, Body &&body)
{
    try {
        return body();
    } catch (const std::exception &error) {
        throw tkt::Error(databaseFailure(error, connection, what));
    }
}

} // namespace commonui
