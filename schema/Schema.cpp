#include "schema/Schema.h"

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "db/SqlText.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace schema {

namespace {

const QString kDemoData = QStringLiteral("demo_data.sql");

QString dialectFolder(db::DbKind kind)
{
    switch (kind) {
    case db::DbKind::SQLite:
        return QStringLiteral("sqlite/");
    case db::DbKind::PostgreSQL:
        return QStringLiteral("postgresql/");
    case db::DbKind::SqlServer:
        return QStringLiteral("sqlserver/");
    case db::DbKind::Unknown:
        return QString();
    case db::DbKind::Oracle:
        break;
    }
    throw tkt::Error(QStringLiteral("The store schema is not available for %1 databases; "
                                    "it exists for SQLite, PostgreSQL and SQL Server.")
                         .arg(db::dbKindName(kind)));
}

void runAll(QSqlDatabase &database, const QString &scriptName, const QString &text)
{
    const QStringList list = db::splitStatements(text);
    for (qsizetype i = 0; i < list.size(); ++i) {
        QSqlQuery query(database);
        query.setForwardOnly(true);
        if (!query.exec(list.at(i))) {
            throw tkt::Error(QStringLiteral("%1, statement %2 (%3): %4")
                                 .arg(scriptName)
                                 .arg(i + 1)
                                 .arg(list.at(i).simplified().left(90), query.lastError().text()));
        }
    }
}

// Runs the scripts as one unit: either every statement takes effect or, where the database can
// undo schema changes, none does.
void runInTransaction(QSqlDatabase &database, db::DbKind kind, const QStringList &scriptNames,
                      const QString &what)
{
    if (kind == db::DbKind::Unknown)
        throw tkt::Error(QStringLiteral("Cannot %1: the kind of database is not known.").arg(what));
    QList<std::pair<QString, QString>> scripts;
    for (const QString &name : scriptNames) {
        // The demo rows are plain INSERTs that every dialect runs as they stand.
        const db::DbKind scriptKind = name == kDemoData ? db::DbKind::Unknown : kind;
        scripts.append({name, script(scriptKind, name)});
    }
    if (!database.isOpen())
        throw tkt::Error(QStringLiteral("Cannot %1: the database connection is not open.").arg(what));

    const bool transactional = database.driver()->hasFeature(QSqlDriver::Transactions);
    if (transactional && !database.transaction()) {
        throw tkt::Error(QStringLiteral("Cannot %1: no transaction could be started: %2")
                             .arg(what, database.lastError().text()));
    }
    try {
        for (const auto &[name, text] : scripts)
            runAll(database, name, text);
    } catch (const tkt::Error &e) {
        if (transactional)
            database.rollback();
        throw tkt::Error(QStringLiteral("Cannot %1 (%2 database): %3")
                             .arg(what, db::dbKindName(kind), e.message()));
    }
    if (transactional && !database.commit()) {
        const QString reason = database.lastError().text();
        database.rollback();
        throw tkt::Error(QStringLiteral("Cannot %1: the transaction could not be committed: %2")
                             .arg(what, reason));
    }
}

} // namespace

QString script(db::DbKind kind, const QString &name)
{
    const QString path = QStringLiteral(":/schema/") + dialectFolder(kind) + name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("The schema script %1 is missing from the program.").arg(path));
    return QString::fromUtf8(file.readAll());
}

void install(QSqlDatabase database, db::DbKind kind, bool withDemoData)
{
    QStringList names{QStringLiteral("schema.sql"), QStringLiteral("indexes.sql")};
    if (withDemoData)
        names.append(kDemoData);
    runInTransaction(database, kind, names, QStringLiteral("install the store schema"));
}

void install(db::Connection &connection, bool withDemoData)
{
    install(connection.database(), connection.kind(), withDemoData);
}

void uninstall(QSqlDatabase database, db::DbKind kind)
{
    runInTransaction(database, kind, {QStringLiteral("drop.sql")},
                     QStringLiteral("remove the store schema"));
}

void uninstall(db::Connection &connection)
{
    uninstall(connection.database(), connection.kind());
}

namespace {

void runOnServer(db::Connection &server, const QString &scriptName, const QString &name)
{
    static const QRegularExpression plainName(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!plainName.match(name).hasMatch())
        throw tkt::Error(QStringLiteral("\"%1\" cannot be used as a database name: use lower-case "
                                        "letters, digits and \"_\", at most 63 characters.").arg(name));
    if (server.kind() != db::DbKind::PostgreSQL && server.kind() != db::DbKind::SqlServer)
        throw tkt::Error(QStringLiteral("The connection for %1 must reach a PostgreSQL or SQL Server server, not %2.")
                             .arg(scriptName, db::dbKindName(server.kind())));
    const QStringList list = db::splitStatements(script(server.kind(), scriptName).arg(name));
    QSqlDatabase database = server.database();
    for (const QString &statement : list) {
        QSqlQuery query(database);
        query.setForwardOnly(true);
        if (!query.exec(statement))
            throw tkt::Error(QStringLiteral("%1 for %2: %3").arg(scriptName, name, query.lastError().text()));
    }
}

} // namespace

void createDatabase(db::Connection &server, const QString &name)
{
    runOnServer(server, QStringLiteral("create_database.sql"), name);
}

void dropDatabase(db::Connection &server, const QString &name)
{
    runOnServer(server, QStringLiteral("drop_database.sql"), name);
}

namespace {

// The string's "key=value" pairs, the ones named by keys replaced by one new pair at the end.
QString withPair(const QString &text, const QStringList &keys, const QString &pair)
{
    // Pairs are cut at ";" outside braces: a value such as Pwd={a;b} stays whole.
    QStringList pairs;
    QString current;
    bool braced = false;
    for (const QChar ch : text) {
        if (ch == u'{')
            braced = true;
        else if (ch == u'}')
            braced = false;
        if (ch == u';' && !braced) {
            pairs.append(current);
            current.clear();
        } else {
            current += ch;
        }
    }
    pairs.append(current);

    QStringList kept;
    for (const QString &p : std::as_const(pairs)) {
        const QString key = p.section(u'=', 0, 0).trimmed();
        if (!p.trimmed().isEmpty() && !keys.contains(key, Qt::CaseInsensitive))
            kept.append(p);
    }
    kept.append(pair);
    return kept.join(u';') + u';';
}

} // namespace

QString odbcWithDatabase(const QString &odbc, const QString &database)
{
    return withPair(odbc, {QStringLiteral("Database")}, QStringLiteral("Database=") + database);
}

QString adoWithCatalog(const QString &ado, const QString &database)
{
    return withPair(ado, {QStringLiteral("Initial Catalog"), QStringLiteral("Database")},
                    QStringLiteral("Initial Catalog=") + database);
}

} // namespace schema
