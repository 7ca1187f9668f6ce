// The five validation services as the dialog calls them, each by turns with its query run as one
// raw prepared statement on the same database.
#include "Benchmarks.h"
#include "Environment.h"
#include "Paired.h"

#include "Generator.h"
#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/Errors.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

namespace bench {

namespace {

struct Param {
    const char *name;
    QString value;
};

struct ServiceCase {
    const char *name;
    db::Query Srv_tkt00740::TrdmConfComanda::*query; // the query the service runs, with the text it runs
    QList<Param> params;
    std::function<QVariant()> call;
    int rowsRead = -1; // the service reads only this many rows of its query (-1: all)
};

// The first comanda of branch 0001 that is open and not a reservation, pick-up or delivery.
QString openComanda(const Database &database)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(database.file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT DSCOMANDA FROM COMANDAVEN WHERE CDFILIAL = '0001' AND IDSTCOMANDA = 'A' "
                       "AND DSCOMANDA NOT LIKE '%\\_%' ESCAPE '\\' ORDER BY NRVENDAREST LIMIT 1",
                       -1, &s, nullptr);
    QString found;
    if (s && sqlite3_step(s) == SQLITE_ROW)
        found = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    sqlite3_close(db);
    if (found.isEmpty())
        throw tkt::Error(QStringLiteral("No open comanda at branch 0001 in %1").arg(database.file));
    return found;
}

// A data module of its own for every benchmark: none runs on what an earlier one left in it, so the
// order the repetitions are interleaved in cannot change what a service does.
void connectDataModule(const Database &database)
{
    static bool registered = false;
    if (!registered)
        atTeardown([] { Srv_tkt00740::freeDataModule(); });
    registered = true;
    Srv_tkt00740::freeDataModule();
    useDatabase(database.connectionString());
    Srv_tkt00740::createDataModule().adcConfComanda.open();
}

QList<ServiceCase> cases(const Database &database)
{
    gendata::Sizes sizes;
    sizes.consumers = int(database.consumers);
    // The first active consumer, looked up by badge under its own client.
    QString badge, client;
    RawStatement lookup(database.file, Srv_tkt00740::rdmConfComanda->adqConsumidor.sql());
    for (long long i = 0; i < database.consumers && client.isEmpty(); ++i) {
        const gendata::ConsumerKeys consumer = gendata::consumerKeys(sizes, i);
        lookup.bind(":P_CDCONSUMID", QString::fromStdString(consumer.badge));
        lookup.bind(":P_CDCLIENTE", QString::fromStdString(gendata::padded(unsigned(consumer.client), 21)));
        lookup.bind(":P_IDSITCONSUMI", QStringLiteral("1"));
        if (lookup.run() > 0) {
            badge = QString::fromStdString(consumer.badge);
            client = QString::fromStdString(gendata::padded(unsigned(consumer.client), 21));
        }
    }
    const QString comanda = openComanda(database);
    const QString b = QStringLiteral("0001");
    return {
        {"getValidaGarcom", &Srv_tkt00740::TrdmConfComanda::adqValidaGarcom, {{":P_CDVENDEDOR", b}},
         // Judging a waiter reads the first row only.
         [b] { return Srv_tkt00740::getValidaGarcom(b, b, QStringLiteral("001"), QStringLiteral("1")); }, 1},
        {"getValMesa", &Srv_tkt00740::TrdmConfComanda::adqValMesa,
         {{":P_CDFILIAL", b}, {":P_CDLOJA", b}, {":P_NRMESA", QStringLiteral("0005")}},
         [b] { return Srv_tkt00740::getValMesa(b, b, QStringLiteral("0005")); }},
        {"getValidaCons", &Srv_tkt00740::TrdmConfComanda::adqConsumidor,
         {{":P_CDCONSUMID", badge}, {":P_CDCLIENTE", client}, {":P_IDSITCONSUMI", QStringLiteral("1")}},
         [badge, client] { return Srv_tkt00740::getValidaCons(badge, client); }},
        {"getConsComan", &Srv_tkt00740::TrdmConfComanda::adqConsComan, {{":P_CDFILIAL", b}},
         [b] { return Srv_tkt00740::getConsComan(b); }},
        {"getValComanda", &Srv_tkt00740::TrdmConfComanda::adqComandas,
         {{":P_CDFILIAL", b}, {":P_CDLOJA", b}, {":P_DSCOMANDA", comanda}, {":P_TODOS", QStringLiteral("N")},
          {":P_IDSTCOMANDA", QStringLiteral("F")}, {":P_DSINIRES", QStringLiteral("RES_")},
          {":P_DSINIPKR", QStringLiteral("PKR_")}, {":P_DSINIDLV", QStringLiteral("DLV_")}},
         [b, comanda] {
             return Srv_tkt00740::getValComanda(b, b, comanda, QStringLiteral("N"), QStringLiteral("F"));
         }},
    };
}

std::pair<Run, Run> serviceRuns(const Database &database, int index)
{
    connectDataModule(database);
    const ServiceCase c = cases(database).at(index);
    auto statement = std::make_shared<RawStatement>(database.file, (Srv_tkt00740::rdmConfComanda->*c.query).sql());
    for (const Param &p : c.params)
        statement->bind(p.name, p.value);
    Run measured = [call = c.call] {
        const QVariant result = call();
        if (result.typeId() != QMetaType::QByteArray)
            throw tkt::Error(result.toString());
        benchmark::DoNotOptimize(result);
    };
    Run floor = [statement, rows = c.rowsRead] {
        if (statement->run(rows) == 0)
            throw tkt::Error(QStringLiteral("the raw query found no row"));
    };
    return {measured, floor};
}

} // namespace

void registerServiceBenchmarks(const Database &database)
{
    const char *names[] = {"getValidaGarcom", "getValMesa", "getValidaCons", "getConsComan", "getValComanda"};
    for (int i = 0; i < 5; ++i) {
        const std::string name = std::string("service/") + names[i] + "/" + std::to_string(database.consumers);
        registerPaired(name, [database, i] { return serviceRuns(database, i); });
    }
}

} // namespace bench
