#pragma once
// Demo store databases for tests, built by the same code as make_demo. A test that must hold for
// every back end runs once per entry of demoBackends():
//
//   class WaiterTest : public testing::TestWithParam<Backend> {};
//   INSTANTIATE_TEST_SUITE_P(Demo, WaiterTest, testing::ValuesIn(demoBackends("waiter")), backendTestName);
//
// Connection strings are ADO style, as _GetStringConexQor hands them to the module. Every helper
// throws tkt::Error when the demo cannot be built: a test run must not pass on a missing database.

#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

struct Backend {
    QString name;             // "SQLite", "PostgreSQL" or "SQLServer"
    QString connectionString; // ADO style: "Provider=SQLite;...", "Provider=MSDASQL;<ODBC>", "Provider=SQLOLEDB.1;..."
};

void PrintTo(const Backend &backend, std::ostream *os);
std::string backendTestName(const testing::TestParamInfo<Backend> &info);

// The whole demo in folder, as make_demo leaves it: demo.db (replaced if present), the parameters
// file and the client file.
Backend sqliteDemo(const QString &folder);

// When TKT_PG_ODBC names a PostgreSQL server: a fresh database "tkt_<tag>_<pid>" on it, holding the
// schema and the demo rows; it is dropped when the test program ends. One database per tag and
// process, made on the first call. Without TKT_PG_ODBC: nothing.
std::optional<Backend> postgresDemo(const QString &tag);

// The same, with the schema only and no demo rows, for tests that bring rows of their own.
std::optional<Backend> postgresDatabase(const QString &tag, bool withDemoData);
Backend sqliteSchemaOnly(const QString &folder); // store.db in folder, replaced if present

// When TKT_MSSQL holds an ADO connection string to a SQL Server database ("Provider=SQLOLEDB.1;Data
// Source=...;Port=...;Initial Catalog=master;User ID=...;Password=..."): a fresh database of the same
// server, made as for PostgreSQL. Without TKT_MSSQL: nothing.
std::optional<Backend> sqlServerDatabase(const QString &tag, bool withDemoData);

// The server port a connection string names (0 when it names none), and the string with another
// one: how a test puts the project's proxy in front of a server.
int portOf(const QString &connectionString);
QString withPort(const QString &connectionString, int port);

// SQLite (in a folder of this process that is removed when it ends) and, when available, PostgreSQL
// and SQL Server;
// made on the first call for a tag, the same backends after. Call it from INSTANTIATE_TEST_SUITE_P or a test, after the Qt application exists.
QList<Backend> demoBackends(const QString &tag);
