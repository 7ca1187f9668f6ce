#pragma once
// The ":NAME" markers of a query text, found outside literals, quoted identifiers and comments, and
// the text rewritten with a positional "?" in place of each.

#include <QString>
#include <QStringList>

namespace db {

struct PositionalSql {
    QString sql;             // the text with "?" markers
    QStringList occurrences; // the parameter name (upper case) at each "?", in order
};

// A "::" cast is not a marker, nor is a colon followed by anything but a letter or "_".
PositionalSql toPositional(const QString &sql);

} // namespace db
