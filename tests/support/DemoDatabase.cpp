#include "DemoDatabase.h"

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "schema/DemoFiles.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace {

QString serverOdbc()
{
    return qEnvironmentVariable("TKT_PG_ODBC").trimmed();
}

QString postgresConnectionString(const QString &odbc)
{
    return QStringLiteral("Provider=MSDASQL;") + odbc;
}

QString databaseNameFor(const QString &tag)
{
    QString clean = tag.toLower();
    clean.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    return QStringLiteral("tkt_%1_%2").arg(clean.left(40)).arg(QCoreApplication::applicationPid());
}

// Databases this process made, by tag.
QHash<QString, Backend> &madeDatabases()
{
    static QHash<QString, Backend> made;
    return made;
}

QStringList &databasesToDrop()
{
    static QStringList names;
    return names;
}

// Drops this process's databases once every test has run, while the Qt application still exists.
class DropDemoDatabases : public testing::Environment {
public:
    void TearDown() override
    {
        const QString odbc = serverOdbc();
        if (odbc.isEmpty() || databasesToDrop().isEmpty())
            return;
        try {
            db::Connection server;
            server.setConnectionString(postgresConnectionString(odbc));
            server.open();
            for (const QString &name : std::as_const(databasesToDrop()))
                schema::dropPostgresDatabase(server, name);
            databasesToDrop().clear();
        } catch (const std::exception &e) {
            ADD_FAILURE() << "Could not drop the demo databases: " << tkt::messageOf(e).toStdString();
        }
    }
};

[[maybe_unused]] testing::Environment *const dropDemoDatabases =
    testing::AddGlobalTestEnvironment(new DropDemoDatabases);

} // namespace

void PrintTo(const Backend &backend, std::ostream *os)
{
    *os << backend.name.toStdString();
}

std::string backendTestName(const testing::TestParamInfo<Backend> &info)
{
    return info.param.name.toStdString();
}

Backend sqliteDemo(const QString &folder)
{
    return {QStringLiteral("SQLite"), schema::makeDemo(folder)};
}

std::optional<Backend> postgresDatabase(const QString &tag, bool withDemoData)
{
    const QString odbc = serverOdbc();
    if (odbc.isEmpty())
        return std::nullopt;
    if (const auto found = madeDatabases().constFind(tag); found != madeDatabases().constEnd())
        return *found;

    const QString name = databaseNameFor(tag);
    {
        db::Connection server;
        server.setConnectionString(postgresConnectionString(odbc));
        server.open();
        schema::dropPostgresDatabase(server, name); // left over by an earlier process with this id
        schema::createPostgresDatabase(server, name);
    }
    databasesToDrop().append(name);

    const QString connectionString = postgresConnectionString(schema::odbcWithDatabase(odbc, name));
    db::Connection demo;
    demo.setConnectionString(connectionString);
    demo.open();
    schema::install(demo, withDemoData);

    const Backend backend{QStringLiteral("PostgreSQL"), connectionString};
    madeDatabases().insert(tag, backend);
    return backend;
}

std::optional<Backend> postgresDemo(const QString &tag)
{
    return postgresDatabase(tag, true);
}

Backend sqliteSchemaOnly(const QString &folder)
{
    const QString path = folder + QStringLiteral("/store.db");
    QFile::remove(path);
    const QString connectionString = QStringLiteral("Provider=SQLite;Data Source=") + path;
    db::Connection store;
    store.setConnectionString(connectionString);
    store.open();
    schema::install(store, false);
    return {QStringLiteral("SQLite"), connectionString};
}

QList<Backend> demoBackends(const QString &tag)
{
    static QHash<QString, QList<Backend>> made;
    if (const auto found = made.constFind(tag); found != made.constEnd())
        return *found;

    static std::unique_ptr<QTemporaryDir> root;
    if (!root) {
        root = std::make_unique<QTemporaryDir>();
        if (!root->isValid())
            throw tkt::Error(QStringLiteral("Cannot create a temporary folder for the demo database: %1")
                                 .arg(root->errorString()));
    }
    QList<Backend> backends{sqliteDemo(root->filePath(QStringLiteral("sqlite-") + tag))};
    if (auto pg = postgresDemo(tag))
        backends.append(*pg);
    made.insert(tag, backends);
    return backends;
}
