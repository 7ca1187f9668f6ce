#include "Database.h"

#include "db/SqlText.h"

#include "contracts/Errors.h"
#include "contracts/SharedServices.h"
#include "db/NamedParameters.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace commonui {

StoreConnection::StoreConnection()
{
    m_connection.setConnectionString(contracts::_GetStringConexQor(QString()));
    m_connection.afterConnect = [](db::Connection &connection) { contracts::SetADODBSession(connection); };
    onDatabase(m_connection, QCoreApplication::translate("Pkg_Aux00090", "Conexão com o banco de dados"), [this] { m_connection.open(); });
}

QString sqlText(const QString &name)
{
    return db::sqlText(QStringLiteral(":/Pkg_Aux00090/sql"), name);
}

void execute(db::Connection &connection, const QString &sql, const QHash<QString, QString> &params)
{
    const db::PositionalSql positional = db::toPositional(sql);
    QSqlQuery query(connection.database());
    // A scrollable query would be a server cursor on FreeTDS, which a server refuses for a write.
    query.setForwardOnly(true);
    if (!query.prepare(positional.sql))
        throw tkt::Error(query.lastError().text());
    for (int i = 0; i < positional.occurrences.size(); ++i) {
        const QString &name = positional.occurrences.at(i);
        const auto value = params.constFind(name);
        if (value == params.cend())
            throw tkt::Error(tkt::shownText("Pkg_Aux00090", "O parâmetro %1 não recebeu valor.").arg(name));
        query.bindValue(i, value->isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(*value));
    }
    if (!query.exec())
        throw tkt::Error(query.lastError().text());
}

QString databaseFailure(const std::exception &error, db::Connection &connection, const QString &what)
{
    try {
        return contracts::ADOExceptionMessage(error, &connection, what);
    } catch (...) {
        return QStringLiteral("%1: %2").arg(what, tkt::messageOf(error));
    }
}

} // namespace commonui
