// Server connections kept between owners: reused for the same string only, replaced when they
// died, never handed on with a transaction open; embedded databases are not kept.
#include "DbTestSupport.h"
#include "QStringPrinter.h"

#include "db/ConnectionPool.h"
#include "db/Query.h"

namespace {

class ConnectionPoolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_string = dbtest::PgDatabase::instance().connectionString();
        if (m_string.isEmpty())
            GTEST_SKIP() << "TKT_PG_ODBC is not set";
        db::ConnectionPool::instance().drain();
    }
    void TearDown() override { db::ConnectionPool::instance().drain(); }

    // The server process serving a connection opened with this string: the same process is the
    // same physical connection.
    static void open(db::Connection &connection, const QString &connectionString)
    {
        connection.setConnectionString(connectionString);
        connection.open();
    }
    static QString backendOf(const QString &connectionString)
    {
        db::Connection connection;
        open(connection, connectionString);
        return backendOf(connection);
    }
    // The server processes of two connections open at once, both kept once they close.
    std::pair<QString, QString> twoAtOnce()
    {
        db::Connection a;
        db::Connection b;
        open(a, m_string);
        open(b, m_string);
        return {backendOf(a), backendOf(b)};
    }
    static QString backendOf(db::Connection &connection)
    {
        db::Query query(connection);
        query.setSql(QStringLiteral("SELECT pg_backend_pid() AS PID"));
        query.open();
        return query.text(QStringLiteral("PID"));
    }

    QString m_string;
};

TEST_F(ConnectionPoolTest, theNextOwnerOfTheSameStringGetsTheKeptConnection)
{
    const QString first = backendOf(m_string);
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 1);
    EXPECT_EQ(backendOf(m_string), first);

    // Two owners at once each have their own; both are kept afterwards.
    const auto [a, b] = twoAtOnce();
    EXPECT_NE(a, b);
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 2);
}

TEST_F(ConnectionPoolTest, anotherStringNeverGetsThisStringsConnection)
{
    // Same server and database, written differently: still another string, another connection.
    const QString other = m_string + QStringLiteral(";ApplicationName=outro");
    const QString first = backendOf(m_string);
    const QString second = backendOf(other);
    EXPECT_NE(first, second);
    EXPECT_EQ(backendOf(m_string), first);
    EXPECT_EQ(backendOf(other), second);
}

TEST_F(ConnectionPoolTest, aKeptConnectionThatDiedIsReplacedWithoutAnError)
{
    const QString first = backendOf(m_string);
    const auto [a, b] = twoAtOnce();
    const QString sibling = a == first ? b : a;
    {
        db::Connection killer;
        open(killer, m_string + QStringLiteral(";ApplicationName=killer"));
        dbtest::exec(killer, QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid IN (%1, %2)")
                                 .arg(first, sibling));
    }
    db::Connection connection;
    open(connection, m_string);
    QString now;
    EXPECT_NO_THROW(now = backendOf(connection));
    EXPECT_NE(now, first);
    EXPECT_NE(now, sibling);
    // The dead one's sibling of the same string went with it; the killer's, of another string, stays.
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 1);
    connection.close();
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 2);
}

TEST_F(ConnectionPoolTest, aConnectionLeftInATransactionIsNotHandedOn)
{
    QString inTransaction;
    {
        db::Connection connection;
        open(connection, m_string);
        inTransaction = backendOf(connection);
        ASSERT_TRUE(connection.database().transaction());
        dbtest::exec(connection, QStringLiteral("CREATE TEMPORARY TABLE UNCOMMITTED (X INTEGER)"));
    }
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 0);
    EXPECT_NE(backendOf(m_string), inTransaction);
}

TEST_F(ConnectionPoolTest, theSessionIsPreparedOncePerPhysicalConnection)
{
    int prepared = 0;
    auto open = [&](db::Connection &connection) {
        connection.setConnectionString(m_string);
        connection.afterConnect = [&](db::Connection &c) {
            if (!c.sessionPrepared()) {
                ++prepared;
                c.setSessionPrepared();
            }
        };
        connection.open();
    };
    for (int i = 0; i < 3; ++i) {
        db::Connection connection;
        open(connection);
    }
    EXPECT_EQ(prepared, 1);
}

TEST(ConnectionPoolSQLite, embeddedDatabasesAreNotKept)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    db::ConnectionPool::instance().drain();
    {
        db::Connection connection;
        connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(dir.filePath(QStringLiteral("a.db"))));
        connection.open();
    }
    EXPECT_EQ(db::ConnectionPool::instance().keptCount(), 0);
}

} // namespace
