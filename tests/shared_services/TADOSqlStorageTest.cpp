// The dialect holder places the text of the database in use into its query.
#include "contracts/Errors.h"
#include "contracts/TADOSqlStorage.h"
#include "db/Connection.h"
#include "db/Query.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using contracts::TADOSqlStorage;

namespace {

TEST(TADOSqlStorage, EachKindHasItsDialectKey)
{
    EXPECT_EQ(TADOSqlStorage::dialectKey(db::DbKind::Oracle), QStringLiteral("SQLORACLE"));
    EXPECT_EQ(TADOSqlStorage::dialectKey(db::DbKind::SqlServer), QStringLiteral("SQLMSSQL"));
    EXPECT_EQ(TADOSqlStorage::dialectKey(db::DbKind::SQLite), QStringLiteral("SQLSQLITE"));
    EXPECT_EQ(TADOSqlStorage::dialectKey(db::DbKind::PostgreSQL), QStringLiteral("SQLPGSQL"));
    EXPECT_TRUE(TADOSqlStorage::dialectKey(db::DbKind::Unknown).isEmpty());
}

class TADOSqlStorageOnSQLite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_connection.setConnectionString(
            QStringLiteral("Provider=SQLite;Data Source=%1").arg(m_dir.filePath(QStringLiteral("d.db"))));
        m_connection.open();
        m_storage.setText(TADOSqlStorage::SQLORACLE, QStringLiteral("SELECT SUBSTR(:P_X, 1, 4) AS C FROM DUAL"));
        m_storage.setText(TADOSqlStorage::SQLMSSQL, QStringLiteral("SELECT SUBSTRING(:P_X, 1, 4) AS C"));
        m_storage.setText(TADOSqlStorage::SQLSQLITE, QStringLiteral("SELECT substr(:P_X, 1, 4) AS C"));
    }

    QTemporaryDir m_dir;
    db::Connection m_connection;
    TADOSqlStorage m_storage;
};

TEST_F(TADOSqlStorageOnSQLite, PlacesTheTextOfTheDatabaseInUseAndTheQueryRunsIt)
{
    db::Query query(m_connection);
    query.setSql(m_storage.text(TADOSqlStorage::SQLORACLE));
    m_storage.setQuery(&query);

    m_storage.apply(m_connection.kind());

    EXPECT_EQ(query.sql(), QStringLiteral("SELECT substr(:P_X, 1, 4) AS C"));
    query.setParam(QStringLiteral("P_X"), QStringLiteral("12345"));
    query.open();
    EXPECT_EQ(query.text(QStringLiteral("C")), QStringLiteral("1234"));

    m_storage.apply(db::DbKind::SqlServer);
    EXPECT_EQ(query.sql(), QStringLiteral("SELECT SUBSTRING(:P_X, 1, 4) AS C"));
}

TEST_F(TADOSqlStorageOnSQLite, ADialectWithoutTextIsAnErrorAndLeavesTheQueryAlone)
{
    db::Query query(m_connection);
    query.setSql(QStringLiteral("SELECT 1 AS C"));
    m_storage.setQuery(&query);

    try {
        m_storage.apply(db::DbKind::PostgreSQL);
        FAIL() << "no error for a dialect without text";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("SQLPGSQL"))) << e.message().toStdString();
    }
    EXPECT_THROW(m_storage.apply(db::DbKind::Unknown), tkt::Error);
    m_storage.setText(TADOSqlStorage::SQLPGSQL, QStringLiteral("  "));
    EXPECT_THROW(m_storage.apply(db::DbKind::PostgreSQL), tkt::Error);
    EXPECT_EQ(query.sql(), QStringLiteral("SELECT 1 AS C"));
}

TEST(TADOSqlStorage, WithoutALinkedQueryApplyingIsAnError)
{
    TADOSqlStorage storage;
    storage.setText(TADOSqlStorage::SQLSQLITE, QStringLiteral("SELECT 1"));
    EXPECT_THROW(storage.apply(db::DbKind::SQLite), tkt::Error);
}

} // namespace
