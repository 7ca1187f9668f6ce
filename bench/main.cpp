// tkt_bench: every measurement beside its floor, in one process.
//   tkt_bench --data <dir> [--sizes N,N,...] [Google Benchmark options]
//                                                        the benchmarks on <dir>/consumers-<N>.db
//   tkt_bench --data <dir> --explain                     the consumer query's plan on each database
//   tkt_bench --pg-statements <consumers>                one validation counted by the PostgreSQL server
//                                                        (TKT_PG_ODBC, TKT_PG_LOG)
#include "Benchmarks.h"

#include "contracts/Errors.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QString dataDir = qEnvironmentVariable("TKT_BENCH_DATA");
    bool explain = false;
    long long pgConsumers = 0;
    QStringList sizes;
    std::vector<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            dataDir = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--sizes") == 0 && i + 1 < argc)
            sizes = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (std::strcmp(argv[i], "--explain") == 0)
            explain = true;
        else if (std::strcmp(argv[i], "--pg-statements") == 0 && i + 1 < argc)
            pgConsumers = std::atoll(argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    int restCount = int(rest.size());
    QApplication app(restCount, rest.data());
    bench::installFakes();

    if (pgConsumers > 0)
        return bench::countPostgresStatements(qEnvironmentVariable("TKT_PG_ODBC"), qEnvironmentVariable("TKT_PG_LOG"),
                                              pgConsumers);

    QList<bench::Database> databases = bench::databases(dataDir);
    if (!sizes.isEmpty())
        databases.removeIf([&](const bench::Database &d) { return !sizes.contains(QString::number(d.consumers)); });
    if (databases.isEmpty()) {
        std::fprintf(stderr, "tkt_bench: no consumers-<N>.db in \"%s\" (give --data <dir>; scripts/bench.sh makes them)\n",
                     dataDir.toLocal8Bit().constData());
        return 2;
    }

    if (explain) {
        QJsonObject plans;
        try {
            for (const bench::Database &d : databases)
                plans.insert(QString::number(d.consumers), QJsonArray::fromStringList(bench::consumerQueryPlan(d)));
        } catch (const std::exception &e) {
            std::fprintf(stderr, "tkt_bench: %s\n", tkt::messageOf(e).toUtf8().constData());
            return 1;
        }
        std::fputs(QJsonDocument(plans).toJson().constData(), stdout);
        return 0;
    }

    bench::registerConsumerBenchmarks(databases);
    const bench::Database &largest = databases.last();
    bench::registerServiceBenchmarks(largest);
    bench::registerPacketBenchmarks(databases.first());
    bench::registerEntryBenchmarks(largest);

    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::teardown();
    return 0;
}
