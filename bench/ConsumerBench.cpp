// The consumer validation as the operator meets it: a text in the consumer field, Vd_Geral, one
// consumer resolved. By turns with it, the dialog's consumer query run as one raw prepared statement.
#include "Benchmarks.h"
#include "Environment.h"
#include "Paired.h"

#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "Generator.h"
#include "contracts/Errors.h"

#include <QLabel>
#include <map>
#include <memory>

namespace bench {

namespace {

const QString kConsumerSql = QStringLiteral(":/cli/sql/adqConsumidor.sqlite.sql");

struct Way {
    const char *name;
    QString (*typed)(const gendata::ConsumerKeys &);
};

QString withoutLeadingZeros(const std::string &s)
{
    QString t = QString::fromStdString(s);
    while (t.size() > 1 && t.startsWith(QLatin1Char('0')))
        t.remove(0, 1);
    return t;
}

// The six ways the consumer field names a consumer, typed as an operator types them.
const Way kWays[] = {
    {"badge", [](const gendata::ConsumerKeys &k) { return QString::fromStdString(k.badge); }},
    {"badge_short", [](const gendata::ConsumerKeys &k) { return withoutLeadingZeros(k.badge); }},
    {"code_short", [](const gendata::ConsumerKeys &k) { return withoutLeadingZeros(k.code); }},
    {"cpf", [](const gendata::ConsumerKeys &k) { return QString::fromStdString(k.cpf); }},
    {"rg", [](const gendata::ConsumerKeys &k) { return QString::fromStdString(k.rg); }},
    {"external", [](const gendata::ConsumerKeys &k) { return QString::fromStdString(k.external); }},
};

struct Prepared {
    Database database;
    std::unique_ptr<Cli_tkt00740::TfrmCriaComanda> dialog;
    gendata::ConsumerKeys keys;
};

bool validate(Cli_tkt00740::TfrmCriaComanda &dialog, const QString &typed)
{
    dialog.inCampoAtual = 1;
    dialog.lblNmCons()->clear();
    dialog.lblCdcons()->setText(typed);
    return dialog.Vd_Geral();
}

// A consumer that every way resolves to itself alone, active, of a client that may buy at branch
// 0001: the path that ends without any window, so that only the lookup is measured.
bool resolvesEveryWay(Cli_tkt00740::TfrmCriaComanda &dialog, const gendata::ConsumerKeys &keys)
{
    const QString code = QString::fromStdString(keys.code);
    for (const Way &way : kWays) {
        const int before = windowsOpened();
        if (!validate(dialog, way.typed(keys)) || windowsOpened() != before || dialog.stCdConsumidor != code)
            return false;
    }
    return true;
}

Prepared &prepared(const Database &database)
{
    static std::map<long long, Prepared> cache;
    if (cache.empty())
        atTeardown([] { cache.clear(); });
    auto it = cache.find(database.consumers);
    if (it != cache.end())
        return it->second;
    Prepared &p = cache[database.consumers];
    p.database = database;
    useDatabase(database.connectionString());
    p.dialog = std::make_unique<Cli_tkt00740::TfrmCriaComanda>();
    p.dialog->stPermiteCons = QStringLiteral("S");
    p.dialog->show();
    gendata::Sizes sizes;
    sizes.consumers = int(database.consumers);
    for (long long i = database.consumers / 2; i < database.consumers; ++i) {
        const gendata::ConsumerKeys keys = gendata::consumerKeys(sizes, i);
        if (resolvesEveryWay(*p.dialog, keys)) {
            p.keys = keys;
            return p;
        }
    }
    throw tkt::Error(QStringLiteral("No consumer of %1 resolves every way").arg(database.file));
}

std::pair<Run, Run> validationRuns(const Database &database, const Way *way)
{
    Prepared &p = prepared(database);
    Cli_tkt00740::TfrmCriaComanda *dialog = p.dialog.get();
    const QString typed = way->typed(p.keys);
    const QString code = QString::fromStdString(p.keys.code);
    auto statement = std::make_shared<RawStatement>(database.file, resourceText(kConsumerSql));
    statement->bind(":P_CDFILIAL", QStringLiteral("0001"));
    statement->bind(":P_IDSITCONSUMI", QStringLiteral("T"));
    statement->bind(":P_CDCONSUMIDOR", typed);
    statement->bind(":P_CDCONSUMIDORAJUSTA", adjusted(typed, 21));
    Run measured = [dialog, typed, code] {
        if (!validate(*dialog, typed) || dialog->stCdConsumidor != code)
            throw tkt::Error(QStringLiteral("the validation did not resolve the consumer"));
    };
    Run floor = [statement] {
        if (statement->run() == 0)
            throw tkt::Error(QStringLiteral("the raw query found no row"));
    };
    return {measured, floor};
}

} // namespace

void registerConsumerBenchmarks(const QList<Database> &databases)
{
    for (const Way &way : kWays) {
        for (const Database &database : databases) {
            const std::string name = std::string("validation/") + way.name + "/" + std::to_string(database.consumers);
            registerPaired(name, [database, &way] { return validationRuns(database, &way); });
        }
    }
}

QStringList consumerQueryPlan(const Database &database)
{
    RawStatement statement(database.file, resourceText(kConsumerSql));
    return statement.plan();
}

} // namespace bench
