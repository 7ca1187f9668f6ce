// A table another session holds locked (a back-office job, a schema change): the validation ends
// after the connection's Command Timeout with a notice, what was typed stays, and once the lock is
// gone the same dialog validates and goes on.
#include "dialog/DialogHarness.h"
#include "dialog_validation/ValidationSupport.h"
#include "support/DemoDatabase.h"
#include "support/QtPrinters.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

TEST(ServerWait, ALockedTableEndsTheValidationWithANoticeAndTheSameDialogGoesOnOnceItIsFree)
{
    const auto backend = postgresDemo(QStringLiteral("waits"));
    if (!backend)
        GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC)";
    DialogHarness h(true, {}, backend->connectionString + QStringLiteral(";Command Timeout=2"));
    TfrmCriaComanda &f = h.open();
    f.stCdConsumidor = validation::consumer(21);
    f.selectField(3);

    {
        QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("locker"));
        locker.setDatabaseName(QString(backend->connectionString).remove(QStringLiteral("Provider=MSDASQL;")));
        ASSERT_TRUE(locker.open()) << locker.lastError().text().toStdString();
        ASSERT_TRUE(locker.transaction());
        QSqlQuery lock(locker);
        ASSERT_TRUE(lock.exec(QStringLiteral("LOCK TABLE MESA IN ACCESS EXCLUSIVE MODE"))) << lock.lastError().text().toStdString();

        h.siblings.clearCalls();
        f.lblNrMesa()->setText(QStringLiteral("1"));
        QElapsedTimer waited;
        waited.start();
        EXPECT_FALSE(f.Vd_Geral());
        EXPECT_LT(waited.elapsed(), 3 * 4000) << "the wait is bounded by the Command Timeout (2 s) and its grace";
        ASSERT_EQ(h.siblings.messages().size(), 1);
        EXPECT_TRUE(h.siblings.messages().at(0).contains(QStringLiteral("não respondeu em 2 segundos")))
            << h.siblings.messages().at(0).toStdString();
        EXPECT_EQ(f.lblNrMesa()->text(), QStringLiteral("1")) << "what the operator typed stays";
        locker.rollback();
        locker.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));

    h.siblings.clearCalls();
    EXPECT_TRUE(f.Vd_Geral()) << h.siblings.messages().join(u'\n').toStdString();
    EXPECT_EQ(f.stNrMesa, QStringLiteral("0001"));
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

} // namespace
