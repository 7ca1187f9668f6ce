// Creating, showing and leaving the comanda dialog, and the entry around it.
#include "dialog/DialogHarness.h"
#include "support/QtPrinters.h"

#include "Cli_tkt00740/Entry.h"
#include "Cli_tkt00740/EventGuard.h"
#include "Cli_tkt00740/Globals.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/TBlendedBitBtn.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

const QString kConsumer21 = QStringLiteral("000000000000000000021");
const QString kClient1 = QStringLiteral("000000000000000000001");

TEST(DialogShow, PresetsFoundAreShownAndNormalised)
{
    DialogHarness h;
    DialogPresets p;
    p.consumidor = kConsumer21;
    p.cliente = kClient1;
    p.vendedor = "7";
    p.mesa = "12";
    TfrmCriaComanda &f = h.open(p);

    EXPECT_EQ(f.lblCdcons()->text(), kConsumer21);
    EXPECT_EQ(f.lblNmCons()->text(), "João da Conceição");
    EXPECT_TRUE(f.spbCredPes()->isEnabled());
    EXPECT_EQ(f.stCdCliente, kClient1);
    EXPECT_EQ(f.stCdVendedor, "0007") << "a short preset waiter takes the code the service returns";
    EXPECT_EQ(f.lblCdGarcom()->text(), "0007 - Sebastião");
    EXPECT_EQ(f.stNrMesa, "0012");
    EXPECT_EQ(f.lblNrMesa()->text(), "0012 - Mesa 12 - Terraço");
    EXPECT_EQ(f.inCampoAtual, 1);
    EXPECT_EQ(f.stCampoAtual, "1");

    const auto waiterCalls = h.siblings.calls("MensagemMetodo");
    ASSERT_GE(waiterCalls.size(), 3);
    EXPECT_EQ(waiterCalls[0].arguments[3], "getValidaCons");
    EXPECT_EQ(waiterCalls[0].arguments[5], kConsumer21 + "-" + kClient1);
    EXPECT_EQ(waiterCalls[1].arguments[5], "0007 - 0001 - 001 - 2");
    EXPECT_EQ(waiterCalls[2].arguments[5], "0001-0001-0012");
    EXPECT_EQ(waiterCalls[1].arguments[4], "Cli_Tkt00740");
    EXPECT_TRUE(h.errorBoxes.isEmpty()) << h.errorBoxes.join("; ").toStdString();
}

TEST(DialogShow, RendersForPeopleToLookAt)
{
    DialogHarness h;
    DialogPresets p;
    p.consumidor = kConsumer21;
    p.cliente = kClient1;
    p.vendedor = "7";
    p.mesa = "12";
    p.mode = "A";
    TfrmCriaComanda &f = h.open(p);
    const QImage image = f.grab().toImage();
    EXPECT_EQ(image.size(), QSize(461, 411));
    // The outline colour frames the window and the confirm button is green: the design is applied.
    auto near = [&](QPoint at, QColor want) {
        const QColor got = image.pixelColor(at);
        return std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) + std::abs(got.blue() - want.blue()) < 40;
    };
    EXPECT_TRUE(near({1, 200}, QColor(204, 91, 44)) || near({0, 200}, QColor(204, 91, 44)));
    EXPECT_TRUE(near({20, 390}, QColor(34, 221, 100)));
    QDir().mkpath(TKT_ARTIFACT_DIR);
    EXPECT_TRUE(image.save(TKT_ARTIFACT_DIR "/TfrmCriaComanda_shown.png"));
}

TEST(DialogShow, PresetsNotFoundLeaveLabelsEmptyAndValuesHeld)
{
    DialogHarness h;
    DialogPresets p;
    p.consumidor = "999";
    p.cliente = kClient1;
    p.vendedor = "0009"; // inactive operator: no row
    p.mesa = "77";
    TfrmCriaComanda &f = h.open(p);

    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_FALSE(f.spbCredPes()->isEnabled());
    EXPECT_EQ(f.stCdConsumidor, "999") << "the preset code stays while its label is empty";
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
    EXPECT_EQ(f.stCdVendedor, "0009");
    EXPECT_TRUE(f.lblNrMesa()->text().isEmpty());
    EXPECT_EQ(f.stNrMesa, "77");
    EXPECT_TRUE(h.siblings.messages().isEmpty()) << "nothing is judged when the dialog is shown";
}

TEST(DialogShow, PermissionsEnableExactlyTheirButtons)
{
    struct Case { const char *cons, *mesa, *garcom; bool pesqCons, mesaOn, garcomOn; };
    const Case cases[] = {
        {"S", "N", "N", true, false, false},
        {"s", "S", "", false, true, false},
        {"", "", "S", false, false, true},
        {"N", "S", "S", false, true, true},
    };
    for (const Case &c : cases) {
        DialogHarness h;
        DialogPresets p;
        p.permiteCons = c.cons;
        p.permiteMesa = c.mesa;
        p.permiteGarcom = c.garcom;
        TfrmCriaComanda &f = h.open(p);
        SCOPED_TRACE(std::string(c.cons) + "/" + c.mesa + "/" + c.garcom);
        EXPECT_EQ(f.spbPesqCons()->isEnabled(), c.pesqCons);
        EXPECT_EQ(f.spbTecladoCons()->isEnabled(), c.pesqCons);
        EXPECT_EQ(f.spbPesqMesa()->isEnabled(), c.mesaOn);
        EXPECT_EQ(f.spbVendedor()->isEnabled(), c.garcomOn);
    }
}

TEST(DialogShow, TheStoreCanBeWrittenWhileTheDialogIsOpen)
{
    // The show handler's lookups leave their queries open; the consumer registration writes through
    // a connection of its own meanwhile and must not find the database locked.
    DialogHarness h;
    DialogPresets p;
    p.vendedor = "0001";
    p.mesa = "0001";
    h.open(p);
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "registration-writer");
        writer.setDatabaseName(h.folder() + "/demo.db");
        writer.setConnectOptions("QSQLITE_BUSY_TIMEOUT=100");
        ASSERT_TRUE(writer.open());
        QSqlQuery insert(writer);
        EXPECT_TRUE(insert.exec("INSERT INTO CONSUMIDOR (CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDSITCONSUMI) "
                                "VALUES ('000000000000000000001', '000000000000000000777', 'Novo', '1')"))
            << insert.lastError().text().toStdString();
        writer.close();
    }
    QSqlDatabase::removeDatabase("registration-writer");
}

TEST(DialogCreate, MissingParametersFileStillOpens)
{
    DialogHarness h(false);
    TfrmCriaComanda &f = h.open();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.stCdFilial.isEmpty());
    EXPECT_TRUE(f.stIdEsquema.isEmpty());
    EXPECT_FALSE(f.boUtilizaImpFis);
    EXPECT_EQ(f.lblCodTela()->text(), "Tkt00740") << "the screen code is built without a fiscal printer";
    EXPECT_TRUE(h.errorBoxes.isEmpty());
}

TEST(DialogCreate, ParametersFileFillsTheFields)
{
    schema::DemoParameters params;
    params.cdFilial = "0002";
    params.utilizaImpFis = true;
    DialogHarness h(true, params);
    TfrmCriaComanda &f = h.open();
    EXPECT_EQ(f.stCdFilial, "0002");
    EXPECT_EQ(f.stCdLoja, "0001");
    EXPECT_EQ(f.stCdCaixa, "001");
    EXPECT_EQ(f.stIdEsquema, "001");
    EXPECT_EQ(f.stIdUtlSenhaOper, "S");
    EXPECT_TRUE(f.boUtilizaImpFis);
    EXPECT_EQ(f.lblCodTela()->text(), "Tkt00740 - IF");
}

TEST(DialogCreate, UnreachableDatabaseStillShowsTheDialog)
{
    DialogHarness h(true, {}, "Provider=SQLite;Data Source=/nonexistent-folder/x/store.db");
    TfrmCriaComanda &f = h.open();
    ASSERT_EQ(h.errorBoxes.size(), 1) << "the creation failure goes to the plain error box";
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.stCdFilial.isEmpty()) << "the rest of the creation handler is skipped";
    EXPECT_EQ(f.lblCodTela()->text(), "Tkt00740");
    ASSERT_FALSE(h.siblings.messages().isEmpty()) << "the show handler's service error is a notice";
    EXPECT_TRUE(f.lblCdcons()->text() == "000000000000000000021" || f.lblCdcons()->text().isEmpty());
}

TEST(DialogShow, ServiceErrorInTheShowHandlerIsANoticeAndStopsTheRest)
{
    DialogHarness h;
    h.siblings.script(contracts::MensagemMetodo, [](const QVariant &, bool, int, const QString &service, const QString &,
                                                     const QString &, const QString &) -> QByteArray {
        throw tkt::Error("falha em " + service);
    });
    DialogPresets p;
    p.vendedor = "0001";
    TfrmCriaComanda &f = h.open(p);
    EXPECT_EQ(h.siblings.messages(), QStringList({"falha em getValidaCons"}));
    EXPECT_EQ(h.siblings.count("MensagemMetodo"), 1) << "the waiter and table steps are skipped";
    EXPECT_TRUE(f.isVisible());
    const auto notice = h.siblings.calls("Mensagem").first().arguments;
    EXPECT_EQ(notice.mid(1, 7), QStringList({"", "N", "N", "3", "", "001", "0"}));
}

TEST(DialogExit, ExitButtonSetsFalseAndCloses)
{
    DialogHarness h;
    TfrmCriaComanda &f = h.open();
    boResult = true;
    f.lblSair()->click();
    EXPECT_FALSE(boResult);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(boIdCriado) << "the close handler clears the flag";
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

// The entry, modal loop included: each test acts inside the loop from a timer.
class EntryTest : public ::testing::Test {
protected:
    DialogHarness h;
    QString consumidor, cliente, vendedor = "7", mesa = "3";

    bool call(const QString &comanda, const QString &mode, std::function<void(TfrmCriaComanda &)> inside)
    {
        QTimer::singleShot(0, [inside] {
            if (auto *f = qobject_cast<TfrmCriaComanda *>(QApplication::activeModalWidget()))
                inside(*f);
        });
        return CriaConfComanda(comanda, mode, "S", "S", "S", consumidor, cliente, vendedor, mesa);
    }
};

TEST_F(EntryTest, TitleFollowsTheMode)
{
    QString title;
    auto grab = [&](TfrmCriaComanda &f) {
        title = f.lblComanda()->text();
        f.lblSairClick();
    };
    call("15", "A", grab);
    EXPECT_EQ(title, "Informaçoes da Comanda 15");
    for (const char *mode : {"a", "", "X"}) {
        call("15", mode, grab);
        EXPECT_EQ(title, "Abertura de Comanda 15") << mode;
    }
    call("", "", grab);
    EXPECT_EQ(title, "Abertura de Comanda ") << "an empty number leaves a single blank";
}

TEST_F(EntryTest, ExitReturnsFalseAndHandsBackTheDialogsValues)
{
    const bool result = call("15", "", [](TfrmCriaComanda &f) { f.lblSair()->click(); });
    EXPECT_FALSE(result);
    EXPECT_EQ(vendedor, "0007") << "the show handler's normalised waiter goes back to the host";
    EXPECT_EQ(mesa, "0003");
    EXPECT_EQ(frmCriaComanda, nullptr);
    EXPECT_EQ(Srv_tkt00740::rdmConfComanda, nullptr);
    EXPECT_FALSE(boIdCriado);
}

TEST_F(EntryTest, TwoCallsBuildFreshDialogsAndDataModules)
{
    QList<const void *> dialogs, modules;
    auto note = [&](TfrmCriaComanda &f) {
        dialogs << &f;
        modules << Srv_tkt00740::rdmConfComanda;
        f.lblSairClick();
    };
    call("15", "", note);
    call("16", "", note);
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_NE(modules[0], nullptr);
    EXPECT_NE(modules[1], nullptr);
    EXPECT_EQ(h.siblings.count("_GetStringConexQor") >= 2, true) << "every call connects again";
    EXPECT_EQ(Srv_tkt00740::rdmConfComanda, nullptr);
}

TEST_F(EntryTest, AFailureEscapingTheDialogAnswersFalseAndKeepsTheTexts)
{
    QTimer::singleShot(0, [] { throw tkt::Error("falha inesperada"); });
    const bool result = CriaConfComanda("15", "", "S", "S", "S", consumidor, cliente, vendedor, mesa);
    EXPECT_FALSE(result);
    EXPECT_EQ(vendedor, "7") << "the in/out texts keep what they had";
    EXPECT_EQ(mesa, "3");
    ASSERT_EQ(h.siblings.messages(), QStringList({"falha inesperada"}));
    EXPECT_EQ(h.siblings.calls("Mensagem").first().arguments[6], "002") << "the entry's own scheme";
    EXPECT_EQ(frmCriaComanda, nullptr);
    EXPECT_EQ(Srv_tkt00740::rdmConfComanda, nullptr);
}

} // namespace
