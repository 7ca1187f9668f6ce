// A PostgreSQL server that goes away between two calls: the next call answers an error text, the
// process goes on, and once the server is back a new data module connects again. The test runs a
// private server so that stopping it disturbs no other test.
#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "services/ServiceBackends.h"
#include "schema/Schema.h"
#include "db/ConnectionPool.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Srv_tkt00740;

namespace {

class PrivateServer {
public:
    bool start()
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

private:
    QHash<QString, QString> m_env;
};

class ServicesReconnect : public testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("TKT_PG_ODBC"))
            GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC)";
        ASSERT_TRUE(server.start()) << "could not start a private PostgreSQL server";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "reconnect-setup");
            db.setDatabaseName(server.odbc());
            ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
            schema::install(db, db::DbKind::PostgreSQL, true);
            db.close();
        }
        QSqlDatabase::removeDatabase("reconnect-setup");
        connectionString = std::make_unique<ScopedConnectionString>("Provider=MSDASQL;" + server.odbc());
    }
    void TearDown() override
    {
        freeDataModule();
        db::ConnectionPool::instance().drain();
    }

    static bool answersTables() { return getValMesa("0001", "0001", "T").typeId() == QMetaType::QByteArray; }

    PrivateServer server;
    std::unique_ptr<ScopedConnectionString> connectionString;
};

TEST_F(ServicesReconnect, ServerStoppedBetweenCallsThenBack)
{
    createDataModule().adcConfComanda.open();
    ASSERT_TRUE(answersTables());

    ASSERT_TRUE(server.pgCtl("stop"));
    const QVariant down = getValMesa("0001", "0001", "T");
    ASSERT_EQ(down.typeId(), QMetaType::QString) << "a lost server is an error text, not a packet";
    EXPECT_FALSE(down.toString().isEmpty());
    EXPECT_FALSE(down.toString().contains("Pwd=tkt")) << "the password never shows";
    EXPECT_EQ(getValidaGarcom("T", "0001", "001", "1").typeId(), QMetaType::QString);

    // Back again: the same data module reads again, as the dialog that stayed open meanwhile would.
    ASSERT_TRUE(server.pgCtl("start"));
    EXPECT_TRUE(answersTables()) << "the data module that lost its connection connects again";
    EXPECT_EQ(getValidaGarcom("T", "0001", "001", "1").typeId(), QMetaType::QByteArray);
    freeDataModule();

    createDataModule().adcConfComanda.open();
    EXPECT_TRUE(answersTables()) << "a new data module connects again";
}

TEST_F(ServicesReconnect, ServerRestartedBetweenDataModules)
{
    createDataModule().adcConfComanda.open();
    ASSERT_TRUE(answersTables());
    freeDataModule(); // its connection is kept for the next one

    ASSERT_TRUE(server.pgCtl("restart"));
    createDataModule().adcConfComanda.open();
    const QVariant answer = getValMesa("0001", "0001", "T");
    EXPECT_EQ(answer.typeId(), QMetaType::QByteArray) << "the kept connection died with the server: "
                                                      << answer.toString().toStdString();
}

} // namespace
