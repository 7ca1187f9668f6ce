// A PostgreSQL server that goes away between two calls: the next call answers an error text, the
// process goes on, and once the server is back a new data module connects again. The test runs a
// private server so that stopping it disturbs no other test.
#include "Srv_tkt00740/Services.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "services/ServiceBackends.h"
#include "schema/Schema.h"

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

TEST(ServicesReconnect, ServerStoppedBetweenCallsThenBack)
{
    if (qEnvironmentVariableIsEmpty("TKT_PG_ODBC"))
        GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC)";
    PrivateServer server;
    ASSERT_TRUE(server.start()) << "could not start a private PostgreSQL server";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", "reconnect-setup");
        db.setDatabaseName(server.odbc());
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        schema::install(db, db::DbKind::PostgreSQL, true);
        db.close();
    }
    QSqlDatabase::removeDatabase("reconnect-setup");

    ScopedConnectionString conn("Provider=MSDASQL;" + server.odbc());
    createDataModule().adcConfComanda.open();
    ASSERT_EQ(getValMesa("0001", "0001", "T").typeId(), QMetaType::QByteArray);

    ASSERT_TRUE(server.pgCtl("stop"));
    const QVariant down = getValMesa("0001", "0001", "T");
    ASSERT_EQ(down.typeId(), QMetaType::QString) << "a lost server is an error text, not a packet";
    EXPECT_FALSE(down.toString().isEmpty());
    EXPECT_FALSE(down.toString().contains("Pwd=tkt")) << "the password never shows";
    EXPECT_EQ(getValidaGarcom("T", "0001", "001", "1").typeId(), QMetaType::QString);
    freeDataModule();

    ASSERT_TRUE(server.pgCtl("start"));
    createDataModule().adcConfComanda.open();
    EXPECT_EQ(getValMesa("0001", "0001", "T").typeId(), QMetaType::QByteArray) << "a new data module connects again";
    freeDataModule();
}

} // namespace
