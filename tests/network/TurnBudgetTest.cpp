// Round trips on a store server reached over a network, counted by the project's latency proxy in
// front of the test PostgreSQL server: what an operator waits for is turns times the network's
// delay. The counts do not depend on the machine, so the budgets are exact assertions.
#include "e2e/PosHost.h"
#include "support/DemoDatabase.h"
#include "support/QtPrinters.h"

#include "Pkg_tkt00740/tkt00740.h"
#include "schema/DemoFiles.h"

#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <gtest/gtest.h>

namespace {

const QString kMainPath = QStringLiteral(
    "type:0000054321 Enter wait:200 type:7 Enter wait:200 type:1 Enter wait:300 click:btnSim wait:300 type:1234 Enter "
    "wait:300");
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
    explicit Proxy(const QString &logPath) : m_log(logPath)
    {
        m_process.start(QStringLiteral(TKT_LATENCY_PROXY),
                        {"--upstream", "127.0.0.1:" + qEnvironmentVariable("TKT_PG_PORT"), "--seconds", "600",
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

class TurnBudget : public testing::Test {
protected:
    void SetUp() override
    {
        const auto backend = postgresDemo(QStringLiteral("network"));
        if (!backend || qEnvironmentVariableIsEmpty("TKT_PG_PORT"))
            GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC, TKT_PG_PORT)";
        ASSERT_TRUE(m_dir.isValid());
        m_proxy = std::make_unique<Proxy>(m_dir.filePath(QStringLiteral("turns.txt")));
        ASSERT_GT(m_proxy->port(), 0) << "the latency proxy did not start";
        m_connectionString = backend->connectionString;
        m_connectionString.replace(QRegularExpression(QStringLiteral("Port=\\d+"), QRegularExpression::CaseInsensitiveOption),
                                   QStringLiteral("Port=%1").arg(m_proxy->port()));
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
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.value(2) == "open")
                dialogs.append({f[0].toLongLong(), 0});
            else if (f.value(2) == "end" && !dialogs.isEmpty())
                dialogs.last().second = f[0].toLongLong();
        }
        return dialogs;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Proxy> m_proxy;
    QString m_connectionString;
};

TEST_F(TurnBudget, TheMainPathOfAFirstAndOfALaterDialog)
{
    const auto dialogs = runDialogs(kMainPath, 2);
    ASSERT_EQ(dialogs.size(), 2);
    const QList<Turn> turns = m_proxy->turnsWhenClosed();
    const int first = turnsBetween(turns, dialogs[0].first, dialogs[0].second);
    const int later = turnsBetween(turns, dialogs[1].first, dialogs[1].second);
    // The first dialog of a process logs in to the server; a later one finds its connections kept.
    EXPECT_LE(first, 30);
    EXPECT_LE(later, 16);
    EXPECT_LT(later, first);
}

TEST_F(TurnBudget, OpeningALaterDialogAndLeaving)
{
    const auto dialogs = runDialogs(kOpenAndLeave, 2);
    ASSERT_EQ(dialogs.size(), 2);
    const QList<Turn> turns = m_proxy->turnsWhenClosed();
    EXPECT_LE(turnsBetween(turns, dialogs[1].first, dialogs[1].second), 4);
}

TEST_F(TurnBudget, AServiceCalledWithNoDialogOpen)
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
        EXPECT_LE(turnsBetween(turns, calls[i].first, calls[i].second), 2) << "call " << i + 1;
}

} // namespace
