#include "db/DbKind.h"

namespace db {

QString dbKindName(DbKind kind)
{
    switch (kind) {
    case DbKind::SQLite: return QStringLiteral("SQLite");
    case DbKind::SqlServer: return QStringLiteral("SQL Server");
    case DbKind::Oracle: return QStringLiteral("Oracle");
    case DbKind::PostgreSQL: return QStringLiteral("PostgreSQL");
    case DbKind::Unknown: break;
    }
    return QStringLiteral("desconhecido");
}

} // namespace db
