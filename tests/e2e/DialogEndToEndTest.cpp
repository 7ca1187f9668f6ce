// The real POS host, the real module and the real stand-ins, driven by operator scripts.
#include "e2e/PosHost.h"
#include "support/QtPrinters.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

TEST(EndToEnd, ShortPresetWaiterIsNormalisedAndExitAnswersFalse)
{
    PosHost host;
    const HostRun r = host.run({"--vendedor", "7", "--mesa", "3"}, "wait:200 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "False");
    EXPECT_EQ(r.value("vendedor"), "0007") << "the show handler's normalised code goes back";
    EXPECT_EQ(r.value("mesa"), "0003");
    EXPECT_EQ(r.value("consumidor"), "");
}

TEST(EndToEnd, PresetConsumerIsFoundAndHandedBackWithItsClient)
{
    PosHost host;
    const HostRun r = host.run({"--consumidor", "000000000000000000021", "--cliente", "000000000000000000001"},
                               "wait:200 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "False");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000021");
    EXPECT_EQ(r.value("cliente"), "000000000000000000001");
}

TEST(EndToEnd, ConfirmingWithTheWaitersPasswordAnswersTrue)
{
    PosHost host;
    const QStringList presets = {"--consumidor", "000000000000000000022", "--cliente", "000000000000000000001",
                                 "--vendedor", "7", "--mesa", "1"};
    const HostRun r = host.run(presets, "wait:200 click:spdEnter wait:300 type:1234 Enter wait:300");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "True");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000022");
    EXPECT_EQ(r.value("cliente"), "000000000000000000001");
    EXPECT_EQ(r.value("vendedor"), "0007");
    EXPECT_EQ(r.value("mesa"), "0001");
}

TEST(EndToEnd, ThreeWrongPasswordsConfirmNothingAndTheDialogStaysForTheExit)
{
    PosHost host;
    const QStringList presets = {"--consumidor", "000000000000000000022", "--cliente", "000000000000000000001",
                                 "--vendedor", "7", "--mesa", "1"};
    const HostRun r = host.run(presets, "wait:200 click:spdEnter wait:300 type:1111 Enter wait:300 type:2222 Enter "
                                        "wait:300 type:3333 Enter wait:300 click:btnOK wait:300 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();
    EXPECT_EQ(r.value("result"), "False");
}

TEST(EndToEnd, OpeningByTypingBadgeWaiterAndTableWithEnterBetween)
{
    PosHost host;
    const HostRun r = host.run({}, "type:0000054321 Enter wait:200 type:7 Enter wait:200 type:1 Enter wait:300 "
                                   "click:btnSim wait:300 type:1234 Enter wait:300");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "True");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000022") << "the badge resolved to its consumer";
    EXPECT_EQ(r.value("cliente"), "000000000000000000001");
    EXPECT_EQ(r.value("vendedor"), "0007");
    EXPECT_EQ(r.value("mesa"), "0001");
}

TEST(EndToEnd, OpeningThroughTheKeypad)
{
    PosHost host;
    const HostRun r = host.run({}, "Alt+T wait:200 type:0000054321 Enter wait:200 Enter wait:200 "
                                   "Alt+T wait:200 type:7 Enter wait:200 Enter wait:200 "
                                   "Alt+T wait:200 type:1 Enter wait:200 Enter wait:300 "
                                   "click:btnSim wait:300 type:1234 Enter wait:300");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "True");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000022");
    EXPECT_EQ(r.value("vendedor"), "0007");
    EXPECT_EQ(r.value("mesa"), "0001");
}

TEST(EndToEnd, AnInUseTableIsRefusedFromTheList)
{
    PosHost host;
    const HostRun r = host.run({"--mesa", "1"}, "Alt+M wait:300 type:0003 Enter wait:300 click:btnOK wait:200 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "False");
    EXPECT_EQ(r.value("mesa"), "0001") << "the refused table is not taken";
}

TEST(EndToEnd, RegisteringANewConsumerThroughTheOfferAndConfirmingWithIt)
{
    PosHost host;
    const HostRun r = host.run({}, "type:777 Enter wait:300 click:btnSim wait:300 click:cmbCliente wait:200 Down Enter "
                                   "wait:100 click:edtNome type:Novo wait:100 click:btnSalvar wait:300 "
                                   "type:7 Enter wait:200 type:1 Enter wait:300 click:btnSim wait:300 type:1234 Enter wait:300");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "True");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000777");

    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "e2e-check");
    db.setDatabaseName(host.folder() + "/demo.db");
    ASSERT_TRUE(db.open());
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        ASSERT_TRUE(q.exec("SELECT NMCONSUMIDOR, CDCLIENTE FROM CONSUMIDOR WHERE CDCONSUMIDOR = '000000000000000000777'"));
        ASSERT_TRUE(q.next()) << "the registered consumer is in the database";
        EXPECT_EQ(q.value(0).toString(), "Novo");
        EXPECT_EQ(q.value(1).toString(), r.value("cliente"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("e2e-check");
}

} // namespace
