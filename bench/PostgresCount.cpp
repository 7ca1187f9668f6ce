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

QStringList loggedSince(const QString &path, qint64 offset)
{
    // The server writes its log asynchronously; give it a moment to catch up.
    QThread::msleep(500);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("Cannot read the server log %1").arg(path));
    file.seek(offset);
    QStringList statements;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.contains(QLatin1String("LOG:  statement:")) || text.contains(QLatin1String("LOG:  execute")))
            statements.append(text.simplified().left(160));
    }
    return statements;
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
            const QStringList statements = loggedSince(serverLog, offset);
            int consumerQueries = 0;
            for (const QString &s : statements)
                if (s.contains(QLatin1String("CONSUMIDOR"), Qt::CaseInsensitive))
                    ++consumerQueries;
            QJsonObject r;
            r.insert(QStringLiteral("resolved"), ok && !dialog.stCdConsumidor.isEmpty());
            r.insert(QStringLiteral("statements"), int(statements.size()));
            r.insert(QStringLiteral("consumer_queries"), consumerQueries);
            r.insert(QStringLiteral("lines"), QJsonArray::fromStringList(statements));
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
