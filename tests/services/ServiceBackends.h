#pragma once
// Databases for the service tests: the store schema with the rows of service_rows.sql, one database
// per back end and process, and the connection string the shared services answer while a test runs.

#include "contracts/SharedServices.h"

#include <QString>
#include <optional>

struct ServiceBackend {
    QString name;
    QString connectionString; // ADO style, as _GetStringConexQor answers
};

// "sqlite" always; "postgresql" when TKT_PG_ODBC names a server, "sqlserver" when TKT_MSSQL does.
// Built once, on first use.
std::optional<ServiceBackend> serviceBackend(const QString &name);

// While alive, _GetStringConexQor answers the given string.
class ScopedConnectionString {
public:
    explicit ScopedConnectionString(const QString &connectionString);
    ~ScopedConnectionString();

private:
    std::function<contracts::GetStringConexQorFn> m_saved;
};
