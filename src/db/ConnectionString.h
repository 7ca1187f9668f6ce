#pragma once
// ADO-style connection strings ("Provider=...;Data Source=...;...") mapped onto a Qt SQL driver.
//
//   Provider=SQLite;Data Source=<file>                 embedded SQLite database (QSQLITE)
//   SQLOLEDB.1, SQLNCLI11, MSOLEDBSQL (or none)        SQL Server through ODBC (QODBC, FreeTDS or vendor driver)
//   MSDAORA.1, OraOLEDB.Oracle                         Oracle through ODBC (QODBC)
//   MSDASQL;<ODBC connection string>                   any ODBC data source; how PostgreSQL is reached

#include "db/DbKind.h"

#include <QString>

namespace db {

struct ConnectionTarget {
    QString driver;       // "QSQLITE" or "QODBC"
    QString databaseName; // file for SQLite; the ODBC connection string for QODBC
    // The credentials as the string gives them. For QODBC the ODBC string already carries them
    // (escaped there), so they are not handed to the driver a second time.
    QString userName;
    QString password;
    QString connectOptions; // QSqlDatabase::setConnectOptions
    DbKind expectedKind = DbKind::Unknown; // what the provider names; the connection confirms it
    // How long the module waits on the server, in seconds, as the ADO components it replaces did:
    // "Connect Timeout" (also "Connection Timeout") for the log-in, "Command Timeout" for each
    // statement. 0 is no limit.
    int connectTimeout = 15;
    int commandTimeout = 30;
};

// Throws tkt::Error for a string it cannot map (unknown provider, missing data source).
ConnectionTarget mapConnectionString(const QString &adoConnectionString);

// The string with every password value replaced by "***", for messages and logs.
QString redactConnectionString(const QString &connectionString);

} // namespace db
