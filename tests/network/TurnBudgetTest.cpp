// Round trips on a store server reached over a network, counted by the project's latency proxy in
// front of the test PostgreSQL or SQL Server server: what an operator waits for is turns times the
// network's delay. The counts do not depend on the machine, so they are exact assertions.
#include "e2e/PosHost.h"
#include "support/DemoDatabase.h"
#include "support/QtPrinters.h"

#include "Pkg_tkt00740/tkt00740.h"
#include "schema/DemoFiles.h"

#include <QFile>
#include <QHash>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <gtest/gtest.h>

namespace {

const QString kMainPath = QStringLiteral(
    "mark:consumer type:0000054321 Enter wait:200 mark:waiter type:7 Enter wait:200 type:1 Enter wait:300 "
    "click:btnSim wait:300 type:1234 Enter wait:300");
const QString kOpenAndLeave = QStringLiteral("wait:300 click:lblSair");

// Wall-clock microseconds, the proxy's clock: a service call on loopback lasts about a millisecond.
qint64 nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

struct Turn {
    int connection = 0;
    qint64 start = 0;
};

// The proxy in front of the test server, logging every turn to a file of its own.
class Proxy {
public:
    Proxy(const QString &logPath, int upstreamPort) : m_log(logPath)
    {
        m_process.start(QStringLiteral(TKT_LATENCY_PROXY),
                        {"--upstream", "127.0.0.1:" + QString::number(upstreamPort), "--seconds", "600",
                         "--turns", logPath});
        if (m_process.waitForReadyRead(10000)) {
            const QRegularExpression listening(QStringLiteral("listening on (\\d+)"));
            m_port = listening.match(QString::fromUtf8(m_process.readAllStandardOutput())).captured(1).toInt();
        }
    }
    ~Proxy()
    {
        m_process.terminate();
        m_process.waitForFinished(10000);
    }
    int port() const { return m_port; }

    // Every turn logged once each connection opened so far has closed (a connection writes its
    // last turn when it closes).
    QList<Turn> turnsWhenClosed()
    {
        QList<Turn> turns;
        for (int wait = 0; wait < 100; ++wait) {
            turns.clear();
            int opened = 0;
            int closed = 0;
            QFile file(m_log);
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    const QList<QByteArray> f = line.split(' ');
                    if (f.value(0) == "open")
                        ++opened;
                    else if (f.value(0) == "close")
                        ++closed;
                    else if (f.size() == 5)
                        turns.append({f[0].toInt(), f[1].toLongLong()});
                }
            }
            if (opened > 0 && opened == closed)
                break;
            QThread::msleep(100);
        }
        return turns;
    }

private:
    QString m_log;
    QProcess m_process;
    int m_port = 0;
};

int turnsBetween(const QList<Turn> &turns, qint64 from, qint64 to)
{
    return int(std::count_if(turns.cbegin(), turns.cend(), [&](const Turn &t) { return t.start >= from && t.start < to; }));
}

// What each server gets, counted: the first dialog of a process logs in and prepares; a later one
// finds its connections kept, and its statements prepared on them.
struct Budget {
    QString server;
    int firstMainPath;
    int laterMainPath;
    int laterOpenAndLeave;
    int laterBadge;      // the consumer query and the comanda check that every Enter runs
    int laterServiceCall;
};

const Budget kBudgets[] = {
    {QStringLiteral("PostgreSQL"), 23, 11, 3, 2, 1},
    {QStringLiteral("SQLServer"), 26, 11, 3, 2, 1},
};

void PrintTo(const Budget &budget, std::ostream *os)
{
    *os << budget.server.toStdString();
}

class TurnBudget : public testing::TestWithParam<Budget> {
protected:
    void SetUp() override
    {
        const bool postgres = GetParam().server == QStringLiteral("PostgreSQL");
        const auto backend = postgres ? postgresDemo(QStringLiteral("network"))
                                      : sqlServerDatabase(QStringLiteral("network"), true);
        if (!backend)
            GTEST_SKIP() << GetParam().server.toStdString() << " is not configured (TKT_PG_ODBC, TKT_MSSQL)";
        const int upstream = portOf(backend->connectionString);
        ASSERT_GT(upstream, 0) << "the connection string names no port to put the proxy in front of";
        ASSERT_TRUE(m_dir.isValid());
        m_proxy = std::make_unique<Proxy>(m_dir.filePath(QStringLiteral("turns.txt")), upstream);
        ASSERT_GT(m_proxy->port(), 0) << "the latency proxy did not start";
        m_connectionString = withPort(backend->connectionString, m_proxy->port());
    }

    // The dialogs' intervals from pos_host's marks: (open, end) of each call.
    QList<std::pair<qint64, qint64>> runDialogs(const QString &script, int times)
    {
        QTemporaryDir hostDir;
        schema::writeDemoFiles(hostDir.path());
        const QString marks = m_dir.filePath(QStringLiteral("marks.txt"));
        QFile::remove(marks);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TKT_CONNECTION_STRING", m_connectionString);
        env.insert("TKT_HOST_DIR", hostDir.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TKT_POS_HOST), {"--repeat", QString::number(times), "--marks", marks, "--timeout", "60",
                                               "--script", script, "--script-exit"});
        EXPECT_TRUE(p.waitForFinished(180000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QList<std::pair<qint64, qint64>> dialogs;
        QFile file(marks);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        m_marks.clear();
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.value(2) == "open")
                dialogs.append({f[0].toLongLong(), 0});
            else if (f.value(2) == "end" && !dialogs.isEmpty())
                dialogs.last().second = f[0].toLongLong();
            else if (f.size() >= 3)
                m_marks.insert(QStringLiteral("%1 %2").arg(QString::fromUtf8(f[1]), QString::fromUtf8(f[2])), f[0].toLongLong());
        }
        return dialogs;
    }

    // When a script's "mark:<label>" step ran in a dialog (numbered from 1).
    qint64 markOf(int dialog, const char *label) const
    {
        return m_marks.value(QStringLiteral("%1 mark:%2").arg(dialog).arg(QLatin1String(label)), -1);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Proxy> m_proxy;
    QString m_connectionString;
    QHash<QString, qint64> m_marks;
};

TEST_P(TurnBudget, TheMainPathOfAFirstAndOfALaterDialog)
{
    const auto dialogs = runDialogs(kMainPath, 2);
    ASSERT_EQ(dialogs.size(), 2);
    const QList<Turn> turns = m_proxy->turnsWhenClosed();
    EXPECT_EQ(turnsBetween(turns, dialogs[0].first, dialogs[0].second), GetParam().firstMainPath);
    EXPECT_EQ(turnsBetween(turns, dialogs[1].first, dialogs[1].second), GetParam().laterMainPath);
    const qint64 badge = markOf(2, "consumer");
    const qint64 waiter = markOf(2, "waiter");
    ASSERT_TRUE(badge > 0 && waiter > badge) << "the script's marks were not written";
    EXPECT_EQ(turnsBetween(turns, badge, waiter), GetParam().laterBadge) << "a badge and Enter";
}

TEST_P(TurnBudget, OpeningALaterDialogAndLeaving)
{
    const auto dialogs = runDialogs(kOpenAndLeave, 2);
    ASSERT_EQ(dialogs.size(), 2);
    const QList<Turn> turns = m_proxy->turnsWhenClosed();
    EXPECT_EQ(turnsBetween(turns, dialogs[1].first, dialogs[1].second), GetParam().laterOpenAndLeave);
}

TEST_P(TurnBudget, AServiceCalledWithNoDialogOpen)
{
    QLibrary module(QStringLiteral(TKT_MODULE));
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    using Hook = void (*)();
    using ValMesa = TktResult *(*)(const uint16_t *, const uint16_t *, const uint16_t *);
    using Free = void (*)(TktResult *);
    const auto initialize = reinterpret_cast<Hook>(module.resolve("Initialize"));
    const auto finalize = reinterpret_cast<Hook>(module.resolve("Finalize"));
    const auto getValMesa = reinterpret_cast<ValMesa>(module.resolve("getValMesa"));
    const auto freeResult = reinterpret_cast<Free>(module.resolve("tkt_FreeResult"));
    ASSERT_TRUE(initialize && finalize && getValMesa && freeResult);

    qputenv("TKT_CONNECTION_STRING", m_connectionString.toUtf8());
    initialize();
    QList<std::pair<qint64, qint64>> calls;
    for (int i = 0; i < 3; ++i) {
        const qint64 from = nowUs();
        const auto text = [](const char16_t *t) { return reinterpret_cast<const uint16_t *>(t); };
        TktResult *r = getValMesa(text(u"0001"), text(u"0001"), text(u"T"));
        calls.append({from, nowUs()});
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, TKT_RESULT_PACKET);
        freeResult(r);
    }
    finalize(); // closes the kept connection, which writes its last turn
    qunsetenv("TKT_CONNECTION_STRING");
    const QList<Turn> turns = m_proxy->turnsWhenClosed();
    EXPECT_GT(turnsBetween(turns, calls[0].first, calls[0].second), 2) << "the first call logs in";
    for (int i = 1; i < 3; ++i)
        EXPECT_EQ(turnsBetween(turns, calls[i].first, calls[i].second), GetParam().laterServiceCall) << "call " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Servers, TurnBudget, testing::ValuesIn(kBudgets),
                         [](const testing::TestParamInfo<Budget> &info) { return info.param.server.toStdString(); });

} // namespace
