// A server that goes away between two calls: the next call answers an error text, the process goes
// on, and once the server is back a new data module connects again. On PostgreSQL the test runs a
// private server so that stopping it disturbs no other test; SQL Server is reached through the
// project's proxy, which going away cuts every connection as a stopped server would.
#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "services/ServiceBackends.h"
#include "support/DemoDatabase.h"
#include "schema/Schema.h"
#include "db/ConnectionPool.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <csignal>
#include <unistd.h>

using namespace Srv_tkt00740;

namespace {

// A way of taking the store's server away from the module and bringing it back.
class Outage {
public:
    virtual ~Outage() = default;
    virtual QString connectionString() const = 0; // the module's, to the demo store
    virtual bool stop() = 0;
    virtual bool start() = 0;
    bool restart() { return stop() && start(); }
};

class PrivateServer : public Outage {
public:
    bool launch()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TKT_PG_PORT", QString::number(54400 + getpid() % 500));
        p.setProcessEnvironment(env);
        p.start("bash", {QStringLiteral(TKT_SOURCE_DIR "/scripts/pg-start.sh")});
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return false;
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        for (const QString &line : out.split('\n')) {
            static const QRegularExpression re("^export (\\w+)='(.*)'$");
            const auto m = re.match(line);
            if (m.hasMatch())
                m_env.insert(m.captured(1), m.captured(2));
        }
        return m_env.contains("TKT_PG_ODBC");
    }
    ~PrivateServer()
    {
        if (m_env.isEmpty())
            return;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (auto it = m_env.cbegin(); it != m_env.cend(); ++it)
            env.insert(it.key(), it.value());
        p.setProcessEnvironment(env);
        p.start("bash", {QStringLiteral(TKT_SOURCE_DIR "/scripts/pg-stop.sh")});
        p.waitForFinished(60000);
    }
    bool pgCtl(const QString &action)
    {
        QStringList args = {m_env["TKT_PG_BIN"] + "/pg_ctl", "-D", m_env["TKT_PG_DIR"] + "/data", "-l",
                            m_env["TKT_PG_LOG"], "-w", "-m", "fast", action};
        QProcess p;
        if (getuid() == 0)
            p.start("runuser", QStringList({"-u", "postgres", "--"}) + args);
        else
            p.start(args.takeFirst(), args);
        return p.waitForFinished(60000) && p.exitCode() == 0;
    }
    QString odbc() const { return m_env.value("TKT_PG_ODBC"); }
    QString connectionString() const override { return "Provider=MSDASQL;" + odbc(); }
    bool stop() override { return pgCtl("stop"); }
    bool start() override { return pgCtl("start"); }

private:
    QHash<QString, QString> m_env;
};

// The project's proxy on a port of this process, in front of the test SQL Server.
class CutLink : public Outage {
public:
    explicit CutLink(const QString &connectionString)
        : m_upstream(portOf(connectionString)), m_port(55000 + getpid() % 500),
          m_connectionString(withPort(connectionString, m_port))
    {
    }
    ~CutLink() override { stop(); }
    QString connectionString() const override { return m_connectionString; }
    bool start() override
    {
        m_proxy.start(QStringLiteral(TKT_LATENCY_PROXY), {"--upstream", "127.0.0.1:" + QString::number(m_upstream),
                                                          "--listen", QString::number(m_port), "--seconds", "600"});
        return m_proxy.waitForReadyRead(10000) && m_proxy.readAllStandardOutput().contains("listening on");
    }
    bool stop() override
    {
        if (m_proxy.state() == QProcess::NotRunning)
            return true;
        m_proxy.terminate();
        return m_proxy.waitForFinished(10000);
    }
    // The network goes silent (nothing passed on, nothing reset), and speaks again.
    void silence() { ::kill(pid_t(m_proxy.processId()), SIGUSR1); }
    void speak() { ::kill(pid_t(m_proxy.processId()), SIGUSR2); }

private:
    int m_upstream;
    int m_port;
    QString m_connectionString;
    QProcess m_proxy;
};

class ServicesReconnect : public testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        if (GetParam() == QStringLiteral("PostgreSQL")) {
            if (qEnvironmentVariableIsEmpty("TKT_PG_ODBC"))
                GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC)";
            auto server = std::make_unique<PrivateServer>();
            ASSERT_TRUE(server->launch()) << "could not start a private PostgreSQL server";
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "reconnect-setup");
                db.setDatabaseName(server->odbc());
                ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
                schema::install(db, db::DbKind::PostgreSQL, true);
                db.close();
            }
            QSqlDatabase::removeDatabase("reconnect-setup");
            server_ = std::move(server);
        } else {
            const auto backend = sqlServerDatabase(QStringLiteral("reconnect"), true);
            if (!backend)
                GTEST_SKIP() << "SQL Server is not configured (TKT_MSSQL)";
            ASSERT_GT(portOf(backend->connectionString), 0) << "TKT_MSSQL names no port";
            auto link = std::make_unique<CutLink>(backend->connectionString);
            ASSERT_TRUE(link->start()) << "the proxy did not start";
            server_ = std::move(link);
        }
        connectionString = std::make_unique<ScopedConnectionString>(server_->connectionString());
    }
    void TearDown() override
    {
        freeDataModule();
        db::ConnectionPool::instance().drain();
    }

    static bool answersTables() { return getValMesa("0001", "0001", "T").typeId() == QMetaType::QByteArray; }

    std::unique_ptr<Outage> server_;
    std::unique_ptr<ScopedConnectionString> connectionString;
};

TEST_P(ServicesReconnect, ServerStoppedBetweenCallsThenBack)
{
    createDataModule().adcConfComanda.open();
    ASSERT_TRUE(answersTables());

    ASSERT_TRUE(server_->stop());
    const QVariant down = getValMesa("0001", "0001", "T");
    ASSERT_EQ(down.typeId(), QMetaType::QString) << "a lost server is an error text, not a packet";
    EXPECT_FALSE(down.toString().isEmpty());
    EXPECT_FALSE(down.toString().contains("Pwd=tkt")) << "the password never shows";
    EXPECT_EQ(getValidaGarcom("T", "0001", "001", "1").typeId(), QMetaType::QString);

    // Back again: the same data module reads again, as the dialog that stayed open meanwhile would.
    ASSERT_TRUE(server_->start());
    EXPECT_TRUE(answersTables()) << "the data module that lost its connection connects again";
    EXPECT_EQ(getValidaGarcom("T", "0001", "001", "1").typeId(), QMetaType::QByteArray);
    freeDataModule();

    createDataModule().adcConfComanda.open();
    EXPECT_TRUE(answersTables()) << "a new data module connects again";
}

TEST_P(ServicesReconnect, ServerRestartedBetweenDataModules)
{
    createDataModule().adcConfComanda.open();
    ASSERT_TRUE(answersTables());
    freeDataModule(); // its connection is kept for the next one

    ASSERT_TRUE(server_->restart());
    createDataModule().adcConfComanda.open();
    const QVariant answer = getValMesa("0001", "0001", "T");
    EXPECT_EQ(answer.typeId(), QMetaType::QByteArray) << "the kept connection died with the server: "
                                                      << answer.toString().toStdString();
}

// A network that goes silent under the module, on either server: every wait ends within the
// connection string's bounds with an error text, the link it ran out on is never handed on, and the
// next call works once the network is back.
class SilentNetwork : public testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        const bool postgres = GetParam() == QStringLiteral("PostgreSQL");
        const auto backend = postgres ? postgresDemo(QStringLiteral("silence")) : sqlServerDatabase(QStringLiteral("silence"), true);
        if (!backend)
            GTEST_SKIP() << GetParam().toStdString() << " is not configured (TKT_PG_ODBC, TKT_MSSQL)";
        ASSERT_GT(portOf(backend->connectionString), 0);
        link = std::make_unique<CutLink>(backend->connectionString + QStringLiteral(";Connect Timeout=2;Command Timeout=2"));
        ASSERT_TRUE(link->start()) << "the proxy did not start";
        db::ConnectionPool::instance().drain();
        connectionString = std::make_unique<ScopedConnectionString>(link->connectionString());
    }
    void TearDown() override
    {
        freeDataModule();
        db::ConnectionPool::instance().drain();
    }
    static bool answersTables() { return getValMesa("0001", "0001", "T").typeId() == QMetaType::QByteArray; }

    // Three times the 2 s bound and its 2 s grace: generous, as a loaded machine needs.
    static constexpr qint64 kBoundMs = 3 * 4000;
    std::unique_ptr<CutLink> link;
    std::unique_ptr<ScopedConnectionString> connectionString;
};

TEST_P(SilentNetwork, ACallIsBoundedItsLinkIsDroppedAndTheNextCallWorks)
{
    createDataModule().adcConfComanda.open();
    ASSERT_TRUE(answersTables());

    link->silence();
    QElapsedTimer waited;
    waited.start();
    const QVariant silent = getValMesa("0001", "0001", "T");
    EXPECT_LT(waited.elapsed(), kBoundMs);
    ASSERT_EQ(silent.typeId(), QMetaType::QString);
    EXPECT_TRUE(silent.toString().contains(QStringLiteral("não respondeu em 2 segundos"))) << silent.toString().toStdString();
    freeDataModule();
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 0) << "a link whose wait ran out is not kept";

    link->speak();
    createDataModule().adcConfComanda.open();
    EXPECT_TRUE(answersTables()) << "a new connection once the network is back";
}

TEST_P(SilentNetwork, OpeningOnASilentNetworkFailsOnceWithinTheConnectTimeout)
{
    link->silence();
    QElapsedTimer waited;
    waited.start();
    EXPECT_THROW(createDataModule().adcConfComanda.open(), std::exception);
    EXPECT_LT(waited.elapsed(), kBoundMs);
    waited.restart();
    EXPECT_EQ(getValMesa("0001", "0001", "T").typeId(), QMetaType::QString);
    EXPECT_LT(waited.elapsed(), 1000) << "the calls that follow do not wait again";
    freeDataModule();
    link->speak();
}

INSTANTIATE_TEST_SUITE_P(Servers, SilentNetwork, testing::Values(QStringLiteral("PostgreSQL"), QStringLiteral("SQLServer")),
                         [](const auto &info) { return info.param.toStdString(); });

INSTANTIATE_TEST_SUITE_P(Servers, ServicesReconnect,
                         testing::Values(QStringLiteral("PostgreSQL"), QStringLiteral("SQLServer")),
                         [](const auto &info) { return info.param.toStdString(); });

} // namespace
