#include "schema/DemoFiles.h"

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "schema/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace schema {

namespace {

using dataset::Field;
using dataset::FieldType;

Field text(const QString &name, int width)
{
    Field f;
    f.name = name;
    f.type = FieldType::String;
    f.width = width;
    return f;
}

void saveTable(const dataset::Table &table, const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw tkt::Error(QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(folder)));
    table.saveToFile(path);
}

} // namespace

QString parametersFilePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("PARAMETROSQOR.CDS"));
}

QString clientFilePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Dados/Cadastros/Cad_Cliente.cds"));
}

dataset::Table parametersTable(const DemoParameters &p)
{
    Field fiscal;
    fiscal.name = QStringLiteral("UTILIZAIMPFIS");
    fiscal.type = FieldType::Boolean;

    dataset::Table table(dataset::FieldList{
        text(QStringLiteral("CDFILIAL"), 4),
        text(QStringLiteral("CDLOJA"), 4),
        text(QStringLiteral("CDCAIXA"), 3),
        text(QStringLiteral("IDESQUEMA"), 3),
        text(QStringLiteral("IDUTLSENHAOPER"), 1),
        text(QStringLiteral("CDCCUSCLIE"), 10),
        text(QStringLiteral("IDPERVENCONINAT"), 1),
        text(QStringLiteral("IDCONSCAMPFIDEL"), 1),
        text(QStringLiteral("IDEXCONSATFIL"), 1),
        text(QStringLiteral("IDEXCONSATGER"), 1),
        fiscal,
    });
    table.append();
    table.setValue(QStringLiteral("CDFILIAL"), p.cdFilial);
    table.setValue(QStringLiteral("CDLOJA"), p.cdLoja);
    table.setValue(QStringLiteral("CDCAIXA"), p.cdCaixa);
    table.setValue(QStringLiteral("IDESQUEMA"), p.idEsquema);
    table.setValue(QStringLiteral("IDUTLSENHAOPER"), p.idUtlSenhaOper);
    table.setValue(QStringLiteral("CDCCUSCLIE"), p.cdCCusClie);
    table.setValue(QStringLiteral("IDPERVENCONINAT"), p.idPerVenConInat);
    table.setValue(QStringLiteral("IDCONSCAMPFIDEL"), p.idConsCampFidel);
    table.setValue(QStringLiteral("IDEXCONSATFIL"), p.idExConsAtFil);
    table.setValue(QStringLiteral("IDEXCONSATGER"), p.idExConsAtGer);
    table.setValue(QStringLiteral("UTILIZAIMPFIS"), p.utilizaImpFis);
    table.post();
    return table;
}

dataset::Table clientTable(QSqlDatabase database)
{
    dataset::Table table(dataset::FieldList{
        text(QStringLiteral("CDCLIENTE"), 21),
        text(QStringLiteral("IDTPIJURCLIE"), 1),
        text(QStringLiteral("NRINSJURCLIE"), 20),
        text(QStringLiteral("NMRAZSOCCLIE"), 50),
        text(QStringLiteral("NMFANTCLIE"), 50),
        text(QStringLiteral("CDEXCLIENTE"), 30),
        text(QStringLiteral("CDFILTABPREC"), 4),
        text(QStringLiteral("CDTABEPREC"), 3),
    });

    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(script(db::DbKind::Unknown, QStringLiteral("queries/demo_clients.sql"))))
        throw tkt::Error(QStringLiteral("Cannot read the clients for the client file: %1")
                             .arg(query.lastError().text()));
    const int columns = int(table.fields().size());
    while (query.next()) {
        table.append();
        for (int i = 0; i < columns; ++i) {
            const QVariant value = query.value(i);
            table.setValue(table.fields().at(i).name,
                           value.isNull() ? QVariant() : QVariant(value.toString()));
        }
        table.post();
    }
    return table;
}

void writeParametersFile(const QString &folder, const DemoParameters &parameters)
{
    saveTable(parametersTable(parameters), parametersFilePath(folder));
}

void writeClientFile(const QString &folder, QSqlDatabase database)
{
    saveTable(clientTable(database), clientFilePath(folder));
}

void writeDemoFiles(const QString &folder, db::Connection &demoDatabase, const DemoParameters &parameters)
{
    writeParametersFile(folder, parameters);
    writeClientFile(folder, demoDatabase.database());
}

void writeDemoFiles(const QString &folder, const DemoParameters &parameters)
{
    const QString name = QStringLiteral("schema-demo-files-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    // Declared before the handle, so that it runs after the handle is gone, also on a throw.
    const auto removeConnection = qScopeGuard([&name] { QSqlDatabase::removeDatabase(name); });

    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    database.setDatabaseName(QStringLiteral(":memory:"));
    if (!database.open())
        throw tkt::Error(QStringLiteral("Cannot open a private SQLite database: %1")
                             .arg(database.lastError().text()));
    install(database, db::DbKind::SQLite, true);
    writeParametersFile(folder, parameters);
    writeClientFile(folder, database);
}

QString sqliteConnectionString(const QString &databaseFile)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + databaseFile;
}

QString makeDemo(const QString &folder, const QString &connectionString, const DemoParameters &parameters)
{
    const QString absolute = QDir(folder).absolutePath();
    if (!QDir().mkpath(absolute))
        throw tkt::Error(QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(absolute)));

    QString target = connectionString;
    if (target.isEmpty()) {
        const QString file = QDir(absolute).filePath(QStringLiteral("demo.db"));
        if (QFile::exists(file) && !QFile::remove(file))
            throw tkt::Error(QStringLiteral("Cannot replace %1: the file cannot be removed (is it in use?).")
                                 .arg(QDir::toNativeSeparators(file)));
        target = sqliteConnectionString(file);
    }

    db::Connection connection;
    connection.setConnectionString(target);
    connection.open();
    uninstall(connection);
    install(connection, true);
    writeDemoFiles(absolute, connection, parameters);
    return target;
}

} // namespace schema
