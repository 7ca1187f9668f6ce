#pragma once
// SQL kept as text files: reading a query's text from Qt resources, per database dialect, and
// cutting a script into its statements.

#include "db/DbKind.h"

#include <QString>
#include <QStringList>

namespace db {

// The text of `query` under the resource folder (":/srv/sql", ...). A dialect file
// "<query>.<dialect>.sql" wins over the common "<query>.sql"; dialects are oracle, mssql, sqlite and
// postgresql (an empty dialect asks for the common text). A missing text is a tkt::Error.
QString sqlText(const QString &folder, const QString &query, const QString &dialect = {});
QString sqlText(const QString &folder, const QString &query, DbKind kind);
QString dialectSuffix(DbKind kind);

// A script cut into statements: a ";" ends a statement where only blanks or a comment follow it on
// its line, and only outside quoted text; "--" comments are dropped (outside quotes); empty
// statements are left out.
QStringList splitStatements(const QString &script);

} // namespace db
