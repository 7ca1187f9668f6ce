// The dialect holder.
#include "contracts/TADOSqlStorage.h"

#include "contracts/Errors.h"
#include "db/DbKind.h"
#include "db/Query.h"

namespace contracts {

QString TADOSqlStorage::dialectKey(db::DbKind kind)
{
    switch (kind) {
    case db::DbKind::Oracle:
        return SQLORACLE;
    case db::DbKind::SqlServer:
        return SQLMSSQL;
    case db::DbKind::SQLite:
        return SQLSQLITE;
    case db::DbKind::PostgreSQL:
        return SQLPGSQL;
    case db::DbKind::Unknown:
        break;
    }
    return {};
}

void TADOSqlStorage::apply(db::DbKind kind) const
{
    if (!m_query)
        throw tkt::Error(tkt::shownText("TADOSqlStorage", "O texto SQL não pode ser aplicado: nenhuma consulta vinculada."));
    const QString key = dialectKey(kind);
    if (key.isEmpty())
        throw tkt::Error(tkt::shownText("TADOSqlStorage", "O texto SQL não pode ser escolhido: tipo de banco de dados desconhecido."));
    const QString sql = m_texts.value(key);
    if (sql.trimmed().isEmpty())
        throw tkt::Error(tkt::shownText("TADOSqlStorage", "Não há texto SQL para o banco de dados %1 (%2).")
                             .arg(db::dbKindName(kind), key));
    // Setting the same text again would close the query and prepare it anew for nothing.
    if (m_query->sql() != sql)
        m_query->setSql(sql);
}

} // namespace contracts
