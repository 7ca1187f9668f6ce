#include "DemoDatabase.h"

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "db/ConnectionPool.h"
#include "schema/DemoFiles.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace {

// A database server the tests may also run on, named by an environment variable that holds how to
// reach one of its databases: an ODBC string for PostgreSQL, an ADO string for SQL Server.
struct Server {
    QString name;     // the back end's name in test names
    const char *variable;
};

const Server kPostgres{QStringLiteral("PostgreSQL"), "TKT_PG_ODBC"};
const Server kSqlServer{QStringLiteral("SQLServer"), "TKT_MSSQL"};

QString reachOf(const Server &server)
{
    return qEnvironmentVariable(server.variable).trimmed();
}

// The module's connection string for another database of the same server.
QString connectionStringFor(const Server &server, const QString &database)
{
    const QString reach = reachOf(server);
    if (&server == &kPostgres)
        return QStringLiteral("Provider=MSDASQL;") + (database.isEmpty() ? reach : schema::odbcWithDatabase(reach, database));
    return database.isEmpty() ? reach : schema::adoWithCatalog(reach, database);
}

QString databaseNameFor(const QString &tag)
{
    QString clean = tag.toLower();
    clean.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    return QStringLiteral("tkt_%1_%2").arg(clean.left(40)).arg(QCoreApplication::applicationPid());
}

// Databases this process made, by server and tag.
QHash<QString, Backend> &madeDatabases()
{
    static QHash<QString, Backend> made;
    return made;
}

QHash<const Server *, QStringList> &databasesToDrop()
{
    static QHash<const Server *, QStringList> names;
    return names;
}

// Drops this process's databases once every test has run, while the Qt application still exists.
class DropDemoDatabases : public testing::Environment {
public:
    void TearDown() override
    {
        // Kept connections to those databases would hold them open.
        db::ConnectionPool::instance().drain();
        for (const Server *server : {&kPostgres, &kSqlServer}) {
            const QStringList names = databasesToDrop().value(server);
            if (reachOf(*server).isEmpty() || names.isEmpty())
                continue;
            try {
                db::Connection admin;
                admin.setConnectionString(connectionStringFor(*server, QString()));
                admin.open();
                for (const QString &name : names)
                    schema::dropDatabase(admin, name);
            } catch (const std::exception &e) {
                ADD_FAILURE() << "Could not drop the " << server->name.toStdString()
                              << " demo databases: " << tkt::messageOf(e).toStdString();
            }
        }
        databasesToDrop().clear();
    }
};

[[maybe_unused]] testing::Environment *const dropDemoDatabases =
    testing::AddGlobalTestEnvironment(new DropDemoDatabases);

std::optional<Backend> serverDatabase(const Server &server, const QString &tag, bool withDemoData)
{
    if (reachOf(server).isEmpty())
        return std::nullopt;
    const QString key = server.name + QLatin1Char('/') + tag;
    if (const auto found = madeDatabases().constFind(key); found != madeDatabases().constEnd())
        return *found;

    const QString name = databaseNameFor(tag);
    {
        db::Connection admin;
        admin.setConnectionString(connectionStringFor(server, QString()));
        admin.open();
        schema::dropDatabase(admin, name); // left over by an earlier process with this id
        schema::createDatabase(admin, name);
    }
    databasesToDrop()[&server].append(name);

    const QString connectionString = connectionStringFor(server, name);
    db::Connection demo;
    demo.setConnectionString(connectionString);
    demo.open();
    schema::install(demo, withDemoData);

    const Backend backend{server.name, connectionString};
    madeDatabases().insert(key, backend);
    return backend;
}

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
    return serverDatabase(kPostgres, tag, withDemoData);
}

std::optional<Backend> postgresDemo(const QString &tag)
{
    return postgresDatabase(tag, true);
}

std::optional<Backend> sqlServerDatabase(const QString &tag, bool withDemoData)
{
    return serverDatabase(kSqlServer, tag, withDemoData);
}

namespace {

const QRegularExpression &portPair()
{
    static const QRegularExpression pair(QStringLiteral("\\bPort\\s*=\\s*(\\d+)"), QRegularExpression::CaseInsensitiveOption);
    return pair;
}

} // namespace

int portOf(const QString &connectionString)
{
    return portPair().match(connectionString).captured(1).toInt();
}

QString withPort(const QString &connectionString, int port)
{
    return QString(connectionString).replace(portPair(), QStringLiteral("Port=%1").arg(port));
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
    if (auto mssql = sqlServerDatabase(tag, true))
        backends.append(*mssql);
    made.insert(tag, backends);
    return backends;
}
