#include "services/ServiceBackends.h"

#include "support/DemoDatabase.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "schema/Schema.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <variant>

namespace {

void insertServiceRows(QSqlDatabase db)
{
    QFile file(QStringLiteral(TKT_SERVICE_ROWS));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("service_rows.sql not found");
    for (const QString &statement : db::splitStatements(QString::fromUtf8(file.readAll()))) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(statement))
            throw std::runtime_error((statement + QStringLiteral(": ") + q.lastError().text()).toStdString());
    }
}

std::optional<ServiceBackend> build(const QString &name)
{
    static QTemporaryDir folder;
    std::optional<Backend> database;
    if (name == QLatin1String("sqlite"))
        database = sqliteSchemaOnly(folder.path());
    else if (name == QLatin1String("postgresql"))
        database = postgresDatabase(QStringLiteral("services"), false);
    else
        database = sqlServerDatabase(QStringLiteral("services"), false);
    if (!database)
        return std::nullopt;
    db::Connection store;
    store.setConnectionString(database->connectionString);
    store.open();
    insertServiceRows(store.database());
    return ServiceBackend{name, database->connectionString};
}

} // namespace

std::optional<ServiceBackend> serviceBackend(const QString &name)
{
    // A database that could not be built fails every test that wants it, with the same reason,
    // rather than being built again over its own remains.
    static std::map<QString, std::variant<std::optional<ServiceBackend>, std::string>> built;
    auto it = built.find(name);
    if (it == built.end()) {
        try {
            it = built.emplace(name, build(name)).first;
        } catch (const std::exception &e) {
            it = built.emplace(name, std::string(e.what())).first;
        }
    }
    if (auto *failure = std::get_if<std::string>(&it->second))
        throw std::runtime_error(*failure);
    return std::get<std::optional<ServiceBackend>>(it->second);
}

ScopedConnectionString::ScopedConnectionString(const QString &connectionString)
    : m_saved(contracts::_GetStringConexQor.function())
{
    contracts::_GetStringConexQor = [connectionString](const QString &) { return connectionString; };
}

ScopedConnectionString::~ScopedConnectionString()
{
    contracts::_GetStringConexQor = m_saved;
}
