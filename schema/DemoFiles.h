#pragma once
// The demo as make_demo builds it, and the demo's local files beside the host program: the parameters file "PARAMETROSQOR.CDS" (branch,
// store, till and the consumer policy of this point of sale) and the client file
// "Dados/Cadastros/Cad_Cliente.cds" (the clients the consumer search offers).

#include "dataset/Table.h"

#include <QSqlDatabase>
#include <QString>

namespace db { class Connection; }

namespace schema {

// The point of sale the demo database is built for; tests change single flags to reach a rule.
struct DemoParameters {
    QString cdFilial = QStringLiteral("0001");
    QString cdLoja = QStringLiteral("0001");
    QString cdCaixa = QStringLiteral("001");
    QString idEsquema = QStringLiteral("001");
    QString idUtlSenhaOper = QStringLiteral("S");
    QString cdCCusClie = QStringLiteral("0000000001");
    QString idPerVenConInat = QStringLiteral("S");
    QString idConsCampFidel = QStringLiteral("N");
    QString idExConsAtFil = QStringLiteral("N");
    QString idExConsAtGer = QStringLiteral("N");
    bool utilizaImpFis = false;
};

QString parametersFilePath(const QString &folder);
QString clientFilePath(const QString &folder);

// One record with the parameters' text fields and the Boolean UTILIZAIMPFIS.
dataset::Table parametersTable(const DemoParameters &parameters = {});

// The clients of the database's CLIENTE table, in the client file's field list.
dataset::Table clientTable(QSqlDatabase database);

// Write the files, creating the folders they need; throw tkt::Error when a file cannot be written
// or the clients cannot be read.
void writeParametersFile(const QString &folder, const DemoParameters &parameters = {});
void writeClientFile(const QString &folder, QSqlDatabase database);

// Both files; the clients come from the given database (which holds the demo data).
void writeDemoFiles(const QString &folder, db::Connection &demoDatabase,
                    const DemoParameters &parameters = {});
// Both files, the clients taken from a private in-memory copy of the demo database.
void writeDemoFiles(const QString &folder, const DemoParameters &parameters = {});

// What make_demo does: the database the ADO-style connection string names (when empty, the SQLite
// file demo.db in folder, replaced if present) receives the schema and demo rows, replacing the
// store tables it already holds; then both files are written into folder. Returns the connection
// string of the demo database. Throws tkt::Error with a readable reason.
QString makeDemo(const QString &folder, const QString &connectionString = {},
                 const DemoParameters &parameters = {});

QString sqliteConnectionString(const QString &databaseFile);

} // namespace schema
