#pragma once
#include <QString>

namespace db {

// The kind of database a connection reaches; it decides which SQL dialect text runs.
enum class DbKind { Unknown, SQLite, SqlServer, Oracle, PostgreSQL };

QString dbKindName(DbKind kind);

} // namespace db
