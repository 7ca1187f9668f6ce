#pragma once
#include "Environment.h"

namespace bench {

void registerConsumerBenchmarks(const QList<Database> &databases);
void registerServiceBenchmarks(const Database &database);
void registerPacketBenchmarks(const Database &database);
void registerEntryBenchmarks(const Database &database);

// EXPLAIN QUERY PLAN of the dialog's consumer query on this database.
QStringList consumerQueryPlan(const Database &database);

// Statements the PostgreSQL server logged for one consumer validation (the server's log_statement
// must be "all"); writes a JSON object to stdout. Returns the process exit status.
int countPostgresStatements(const QString &odbc, const QString &serverLog, long long consumers);

} // namespace bench
