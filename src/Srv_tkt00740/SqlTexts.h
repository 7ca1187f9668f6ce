#pragma once
#include "db/DbKind.h"

#include <QString>

namespace Srv_tkt00740 {

// The SQL text of a data-module query. A dialect file "<query>.<dialect>.sql" wins over the common
// "<query>.sql"; dialects are oracle, mssql, sqlite and postgresql.
QString sqlText(const QString &query, db::DbKind kind);
QString sqlText(const QString &query, const QString &dialect);
QString dialectSuffix(db::DbKind kind);

} // namespace Srv_tkt00740
