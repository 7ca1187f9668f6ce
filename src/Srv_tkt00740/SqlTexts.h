#pragma once
#include "db/DbKind.h"

#include <QString>

namespace Srv_tkt00740 {

// The SQL text of a query kept as a Qt resource under `folder` (":/srv/sql", ":/cli/sql"). A dialect
// file "<query>.<dialect>.sql" wins over the common "<query>.sql"; dialects are oracle, mssql, sqlite
// and postgresql. A missing text is an error.
QString sqlText(const QString &folder, const QString &query, const QString &dialect);
QString sqlText(const QString &folder, const QString &query, db::DbKind kind);
QString dialectSuffix(db::DbKind kind);

} // namespace Srv_tkt00740
