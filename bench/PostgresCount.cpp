// One consumer validation on PostgreSQL through ODBC, counted by the server: every statement the
// server logs while Vd_Geral runs, and how many of them are the consumer query.
#include "Benchmarks.h"
#include "Environment.h"

#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "Generator.h"
#include "contracts/Errors.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QThread>
#include <cstdio>

namespace bench {

namespace {

qint64 logSize(const QString &path)
{
    return QFile(path).size();
}

struct Logged {
    QStringList lines;    // shortened for the report
    int consumerQueries = 0;
};

Logged loggedSince(const QString &path, qint64 offset)
{
    // The server writes its log asynchronously; give it a moment to catch up.
    QThread::msleep(500);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("Cannot read the server log %1").arg(path));
    file.seek(offset);
    // A statement's text runs over several log lines, up to the next line with the log prefix; the
    // consumer query is the one that reads consumers joined to their clients' branch links.
    Logged logged;
    QString statement;
    auto judge = [&] {
        if (statement.contains(QLatin1String("NMCONSUMIDOR")) && statement.contains(QLatin1String("CLIENFILIAL")))
            ++logged.consumerQueries;
        statement.clear();
    };
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        const bool starts = text.contains(QLatin1String("LOG:  statement:")) || text.contains(QLatin1String("LOG:  execute"));
        const bool otherEntry = !starts && (text.contains(QLatin1String(" LOG: ")) || text.contains(QLatin1String(" ERROR: ")));
        if (starts || otherEntry)
            judge();
        if (starts) {
            logged.lines.append(text.simplified().left(160));
            statement = text;
        } else if (!otherEntry && !statement.isEmpty()) {
            statement += text;
        }
    }
    judge();
    return logged;
}

} // namespace

int countPostgresStatements(const QString &odbc, const QString &serverLog, long long consumers)
{
    try {
        useDatabase(QStringLiteral("Provider=MSDASQL;") + odbc);
        Cli_tkt00740::TfrmCriaComanda dialog;
        dialog.stPermiteCons = QStringLiteral("S");
        dialog.show();
        gendata::Sizes sizes;
        sizes.consumers = int(consumers);
        const gendata::ConsumerKeys keys = gendata::consumerKeys(sizes, consumers / 2 + 1);
        const QString typed = QString::fromStdString(keys.badge);
        auto validate = [&] {
            dialog.inCampoAtual = 1;
            dialog.lblNmCons()->clear();
            dialog.lblCdcons()->setText(typed);
            return dialog.Vd_Geral();
        };
        QJsonObject result;
        result.insert(QStringLiteral("typed"), typed);
        for (const char *round : {"first", "second"}) {
            const qint64 offset = logSize(serverLog);
            const bool ok = validate();
            const Logged logged = loggedSince(serverLog, offset);
            QJsonObject r;
            r.insert(QStringLiteral("resolved"), ok && !dialog.stCdConsumidor.isEmpty());
            r.insert(QStringLiteral("statements"), int(logged.lines.size()));
            r.insert(QStringLiteral("consumer_queries"), logged.consumerQueries);
            r.insert(QStringLiteral("lines"), QJsonArray::fromStringList(logged.lines));
            result.insert(QLatin1String(round), r);
        }
        std::fputs(QJsonDocument(result).toJson().constData(), stdout);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tkt_bench: %s\n", tkt::messageOf(e).toUtf8().constData());
        return 1;
    }
}

} // namespace bench
