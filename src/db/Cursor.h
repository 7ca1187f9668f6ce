#pragma once
// The statement under a Query. SQLite statements run straight on the sqlite3 handle that Qt's
// driver opened: Qt's own SQLite result re-reads every column's name and declared type and
// converts every text to UTF-16 inside SQLite on each run, which costs more than the lookup
// itself. ODBC statements run straight on the ODBC connection handle (OdbcCursor.h).

#include "contracts/Errors.h"
#include "db/Query.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace db {

// Thrown instead of tkt::Error when a statement failed because the connection under it is gone
// (the server restarted, the network dropped it); the message is the driver's, as for any failure.
class ConnectionLost : public tkt::Error {
public:
    using tkt::Error::Error;
};

class Query::Cursor {
public:
    virtual ~Cursor() = default;

    // Binds the values (a null QString is SQL NULL) and runs the statement, before its first row.
    virtual void exec(const QList<QString> &values) = 0;
    // The next row; false after the last. Throws tkt::Error with the driver's text.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // A text value that is plain ASCII, as the driver holds it, for a packet to copy without
    // making a QString of it; false for anything else (null, a number, any other character), which
    // value() then gives.
    virtual bool asciiText(int /*column*/, QByteArrayView * /*text*/) const { return false; }
    // A null, or a value the driver already holds in the form a field of this type keeps (a text
    // for a String field, an integer for an Integer one, ...), read without the general conversion;
    // false for anything else, which value() then gives.
    virtual bool fieldValue(int /*column*/, dataset::FieldType /*type*/, QVariant * /*value*/) const { return false; }
    // A null (as a null QString) or a text, read straight into a QString for a caller that wants
    // the text of a text column; false for anything else, which value() then gives.
    virtual bool text(int /*column*/, QString * /*text*/) const { return false; }
    virtual QList<Column> describe() const = 0;
    // Ends the current run (and its read locks); the statement stays prepared.
    virtual void finish() = 0;

    // Prepares sql on the open connection; throws tkt::Error with the driver's text.
    static std::unique_ptr<Cursor> prepare(Connection &connection, const QString &sql);
};

} // namespace db
