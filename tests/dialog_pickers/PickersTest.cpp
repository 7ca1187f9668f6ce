// Picking the consumer, the waiter and the table from lists, and the consumer data button.
#include "dialog_pickers/PickerHelpers.h"
#include "support/QtPrinters.h"

#include "contracts/TBlendedBitBtn.h"

#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

const QString kConsumer22 = QStringLiteral("000000000000000000022");
const QString kClient1 = QStringLiteral("000000000000000000001");

struct Opened {
    DialogHarness h;
    TfrmCriaComanda *f = nullptr;
    explicit Opened(const DialogPresets &p = {})
    {
        f = &h.open(p);
        h.siblings.clearCalls();
    }
};

DialogPresets withWaiterAndTable()
{
    DialogPresets p;
    p.vendedor = "0001";
    p.mesa = "0002";
    return p;
}

// --- Consumer search

TEST(ConsumerSearch, ChosenConsumerIsShownAndMovesOnToTheWaiter)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.selectField(3);
    o.h.siblings.chooseConsumidor(kConsumer22, "Maria das Graças Antônia", kClient1);
    f.spbPesqConsClick();
    EXPECT_EQ(f.lblCdcons()->text(), kConsumer22);
    EXPECT_EQ(f.lblNmCons()->text(), "Maria das Graças Antônia");
    EXPECT_EQ(f.stCdConsumidor, kConsumer22);
    EXPECT_EQ(f.stCdCliente, kClient1);
    EXPECT_TRUE(f.spbCredPes()->isEnabled());
    EXPECT_TRUE(f.boConsConfirmado);
    EXPECT_EQ(f.inCampoAtual, 2);
    EXPECT_EQ(f.stCampoAtual, "2");
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

TEST(ConsumerSearch, SelectionStaysWhenWaiterEntryIsNotAllowed)
{
    DialogPresets p;
    p.permiteGarcom = "N";
    Opened o(p);
    TfrmCriaComanda &f = *o.f;
    f.selectField(3);
    o.h.siblings.chooseConsumidor(kConsumer22, "Maria das Graças Antônia", kClient1);
    f.spbPesqConsClick();
    EXPECT_EQ(f.lblCdcons()->text(), kConsumer22);
    EXPECT_EQ(f.inCampoAtual, 3);
}

TEST(ConsumerSearch, CancelledEmptiesTheLabelsAndDisablesTheDataButton)
{
    DialogPresets p;
    p.consumidor = kConsumer22;
    p.cliente = kClient1;
    Opened o(p);
    TfrmCriaComanda &f = *o.f;
    ASSERT_TRUE(f.spbCredPes()->isEnabled());
    f.spbPesqConsClick(); // the fake cancels by default
    EXPECT_TRUE(f.lblCdcons()->text().isEmpty());
    EXPECT_TRUE(f.lblNmCons()->text().isEmpty());
    EXPECT_FALSE(f.spbCredPes()->isEnabled());
    EXPECT_EQ(f.stCdConsumidor, kConsumer22) << "the codes are not cleared";
    EXPECT_EQ(f.inCampoAtual, 1);
    EXPECT_FALSE(f.boConsConfirmado);
}

TEST(ConsumerSearch, ArgumentsReachTheSearchAsItExpects)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.stPesqCons04 = "quatro";
    f.stPesqCons27 = "vinte e sete";
    f.stCdConsumidor = "velho";
    const contracts::PesqConsumidorTexts *seen = nullptr;
    contracts::PesqConsumidorTexts texts{};
    dataset::Table *clients = nullptr;
    o.h.siblings.script(contracts::PesqConsumidor, [&](const QString &, const QString &,
                                                       const contracts::PesqConsumidorTexts &t, dataset::Table &c,
                                                       auto &&...) {
        texts = t;
        seen = &t;
        clients = &c;
        return false;
    });
    f.spbPesqConsClick();
    ASSERT_NE(seen, nullptr);

    const QStringList args = o.h.siblings.calls("PesqConsumidor").value(0).arguments;
    ASSERT_EQ(args.size(), 33);
    EXPECT_EQ(args[0], "Informa consumidor na comanda.");
    EXPECT_EQ(args[1], "");
    EXPECT_EQ(args[3], "quatro");
    EXPECT_EQ(args[6], "velho");
    EXPECT_EQ(args[26], "vinte e sete");
    EXPECT_EQ(args[31], "A");
    EXPECT_EQ(args[32], "1");
    EXPECT_EQ(clients, &f.cdsCliente);

    const auto at = [&texts](int argument) { return texts[contracts::pesqConsumidorIndex(argument)]; };
    EXPECT_EQ(at(4), &f.stPesqCons04);
    EXPECT_EQ(at(5), &f.stPesqCons05);
    EXPECT_EQ(at(7), &f.stCdConsumidor);
    EXPECT_EQ(at(10), &f.stCdCliente);
    QString *const tail[] = {&f.stPesqCons24, &f.stPesqCons25, &f.stPesqCons26, &f.stPesqCons27,
                             &f.stPesqCons28, &f.stPesqCons29, &f.stPesqCons30};
    for (int argument = 24; argument <= 30; ++argument)
        EXPECT_EQ(at(argument), tail[argument - 24]) << argument;
    // Scratch texts are the caller's own and distinct: the search may write them freely.
    QSet<QString *> distinct;
    for (QString *text : texts) {
        ASSERT_NE(text, nullptr);
        distinct.insert(text);
    }
    EXPECT_EQ(distinct.size(), 28);
    for (QString *dialogField : {&f.stNmConsumidor, &f.stCdVendedor, &f.stNrMesa, &f.stCdFilial, &f.stNrComanda})
        EXPECT_FALSE(distinct.contains(dialogField));
}

TEST(ConsumerSearch, ClientFileIsReadAfreshAtEverySearch)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    const QString path = schema::clientFilePath(o.h.folder());
    QList<int> rowsSeen;
    const auto recordRows = [&rowsSeen](const QString &, const QString &, const contracts::PesqConsumidorTexts &,
                                        dataset::Table &clients, auto &&...) {
        rowsSeen << clients.recordCount();
        return false;
    };
    o.h.siblings.always(contracts::PesqConsumidor, recordRows);

    f.spbPesqConsClick();
    dataset::Table clients;
    clients.loadFromFile(path);
    ASSERT_GT(clients.recordCount(), 1);
    dataset::Table rewritten(clients.fields());
    rewritten.append();
    rewritten.setValue("CDCLIENTE", "000000000000000000077");
    rewritten.post();
    rewritten.saveToFile(path);
    f.spbPesqConsClick();
    ASSERT_TRUE(QFile::remove(path));
    f.spbPesqConsClick();

    ASSERT_EQ(rowsSeen.size(), 3);
    EXPECT_EQ(rowsSeen[0], clients.recordCount());
    EXPECT_EQ(rowsSeen[1], 1) << "the rewritten file replaced what the table held";
    EXPECT_EQ(rowsSeen[2], 1) << "without a file the table keeps what it held";
    f.cdsCliente.first();
    EXPECT_EQ(f.cdsCliente.text("CDCLIENTE"), "000000000000000000077");
    EXPECT_TRUE(o.h.errorBoxes.isEmpty());
}

// --- Consumer data button

TEST(ConsumerData, SavedValuesAreShown)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.lblCdcons()->setText(kConsumer22);
    f.lblNmCons()->setText("Maria das Graças Antônia");
    f.stCdConsumidor = "outro";
    f.stCdCliente = kClient1;
    o.h.siblings.saveCadConsumidor(kConsumer22, "Maria G. Antônia", "000000000000000000002");
    f.spbCredPesClick();
    EXPECT_EQ(o.h.siblings.calls("CriaCadConsumidor").value(0).arguments,
              QStringList({kConsumer22, "Maria das Graças Antônia", kClient1, "C"}))
        << "the code is taken from the label, not from what the field held";
    EXPECT_EQ(f.lblNmCons()->text(), "Maria G. Antônia");
    EXPECT_EQ(f.lblCdcons()->text(), kConsumer22);
    EXPECT_EQ(f.stCdCliente, "000000000000000000002");
}

TEST(ConsumerData, CancelledEditStillShowsWhatThePackageLeft)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.lblCdcons()->setText(kConsumer22);
    f.lblNmCons()->setText("Maria das Graças Antônia");
    o.h.siblings.script(contracts::CriaCadConsumidor, [](QString &code, QString &name, QString &, const QString &) {
        code = "000000000000000000099";
        name = "Rascunho";
        return false;
    });
    f.spbCredPesClick();
    EXPECT_EQ(f.lblCdcons()->text(), "000000000000000000099");
    EXPECT_EQ(f.lblNmCons()->text(), "Rascunho");
    EXPECT_EQ(f.stCdConsumidor, "000000000000000000099");
    EXPECT_EQ(f.inCampoAtual, 1);
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

// --- Waiter search

TEST(WaiterSearch, PickedWaiterIsTakenAndMovesOnToTheTable)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    f.selectField(2);
    f.cdsGarcomAux.setFilter([](const dataset::RowView &) { return false; });
    f.cdsGarcomAux.setFiltered(true);
    int listed = -1, all = -2;
    o.h.siblings.script(contracts::Pesquisa, [&](dataset::Table &table, auto &&...) {
        listed = table.recordCount();
        all = static_cast<int>(table.allRows().size());
        return table.locate("CDVENDEDOR", "0007");
    });
    f.spbVendedorClick();
    EXPECT_GT(listed, 1);
    EXPECT_EQ(listed, all) << "every waiter of the list shows";
    EXPECT_EQ(o.h.siblings.calls("Pesquisa").value(0).arguments.mid(1),
              QStringList({"", "N", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(descriptions(o.h.siblings), QStringList({"getValidaGarcom: 0001 - 0001 - 001 - 2",
                                                       "getValidaGarcom: 0007 - 0001 - 001 - 1"}));
    EXPECT_EQ(f.stCdVendedor, "0007");
    EXPECT_EQ(f.lblCdGarcom()->text(), "0007 - Sebastião");
    EXPECT_EQ(f.inCampoAtual, 3);
    EXPECT_EQ(f.cdsGarcomAux.recordCount(), 1) << "the list is replaced by the check of the picked waiter";
}

TEST(WaiterSearch, SelectionStaysWhenTableEntryIsNotAllowed)
{
    DialogPresets p;
    p.permiteMesa = "N";
    Opened o(p);
    TfrmCriaComanda &f = *o.f;
    f.selectField(2);
    pickWhere(o.h.siblings, "CDVENDEDOR", "0001");
    f.spbVendedorClick();
    EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
    EXPECT_EQ(f.inCampoAtual, 2);
}

TEST(WaiterSearch, RefusedPickIsToldAndNeverReplacesTheWaiter)
{
    struct Case { const char *picked; QString message; };
    const Case cases[] = {
        {"0004", "Garçom não está associado ao caixa."},
        {"0003", "Garçom não está associado a filial."},
        {"0006", "Operador não está associado a filial."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picked);
        Opened o(withWaiterAndTable());
        TfrmCriaComanda &f = *o.f;
        f.selectField(2);
        pickWhere(o.h.siblings, "CDVENDEDOR", c.picked);
        f.spbVendedorClick();
        EXPECT_EQ(o.h.siblings.messages(), QStringList({c.message}));
        EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
        EXPECT_EQ(f.stCdVendedor, "0001") << "a refused waiter must not reach the host";
        EXPECT_EQ(f.inCampoAtual, 2);
        EXPECT_TRUE(o.h.errorBoxes.isEmpty());
    }
}

TEST(WaiterSearch, PickThatTheCheckNoLongerFindsOrFindsWithoutOperator)
{
    struct Case { QString verdict; QString message; };
    const Case cases[] = {{QString(), "Garçom não cadastrado ou operador vinculado não está ativo."},
                          {"O", "Garçom não possui operador associado."}};
    for (const Case &c : cases) {
        Opened o(withWaiterAndTable());
        TfrmCriaComanda &f = *o.f;
        realThenPacket(o.h.siblings, waiterPacket("0007", "Sebastião", c.verdict));
        pickWhere(o.h.siblings, "CDVENDEDOR", "0007");
        f.spbVendedorClick();
        EXPECT_EQ(o.h.siblings.messages(), QStringList({c.message}));
        EXPECT_EQ(f.stCdVendedor, "0001");
        EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
    }
}

TEST(WaiterSearch, CancelledEmptiesTheLabelAndKeepsTheCode)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    o.h.siblings.cancelPesquisa();
    f.spbVendedorClick();
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
    EXPECT_EQ(f.stCdVendedor, "0001");
    EXPECT_EQ(o.h.siblings.count("MensagemMetodo"), 1) << "no check follows a cancelled list";
}

TEST(WaiterSearch, FailureIsNotCaughtHere)
{
    Opened o(withWaiterAndTable());
    o.h.siblings.script(contracts::MensagemMetodo, [](auto &&...) -> QByteArray { throw tkt::Error("sem serviço"); });
    EXPECT_THROW(o.f->spbVendedorClick(), tkt::Error);
    EXPECT_EQ(o.f->lblCdGarcom()->text(), "0001 - João Garçom");
}

// --- Table search

TEST(TableSearch, FreeTablesAreTakenAndMoveOnToTheConsumer)
{
    struct Case { const char *number; QString label; };
    const Case cases[] = {{"0002", "0002 - Mesa 2 - Salão"},
                          {"0005", "0005 - Mesa 5 - Jardim"},
                          {"0001", "0001 - Mesa 1 - Salão"},   // empty status: never opened, free
                          {"0006", "0006 - Mesa 6 - Jardim"}}; // no status at all
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        DialogPresets p;
        p.mesa = "12";
        Opened o(p);
        TfrmCriaComanda &f = *o.f;
        f.selectField(3);
        pickWhere(o.h.siblings, "NRMESA", c.number);
        f.spbPesqMesaClick();
        EXPECT_EQ(descriptions(o.h.siblings), QStringList({"getValMesa: 0001-0001-0012"}));
        EXPECT_EQ(o.h.siblings.calls("Pesquisa").value(0).arguments.mid(1),
                  QStringList({"", "N", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(f.stNrMesa, c.number);
        EXPECT_EQ(f.lblNrMesa()->text(), c.label);
        EXPECT_EQ(f.inCampoAtual, 1);
        EXPECT_TRUE(o.h.siblings.messages().isEmpty());
    }
}

TEST(TableSearch, SelectionStaysWhenConsumerEntryIsNotAllowed)
{
    DialogPresets p;
    p.permiteCons = "N";
    Opened o(p);
    TfrmCriaComanda &f = *o.f;
    f.selectField(3);
    pickWhere(o.h.siblings, "NRMESA", "0002");
    f.spbPesqMesaClick();
    EXPECT_EQ(f.stNrMesa, "0002");
    EXPECT_EQ(f.inCampoAtual, 3);
}

TEST(TableSearch, TablesOpenInTableSaleAreRefused)
{
    for (const char *number : {"0003", "0004"}) {
        SCOPED_TRACE(number);
        Opened o(withWaiterAndTable());
        TfrmCriaComanda &f = *o.f;
        f.selectField(3);
        pickWhere(o.h.siblings, "NRMESA", number);
        f.spbPesqMesaClick();
        EXPECT_EQ(o.h.siblings.messages(), QStringList({"Operação bloqueada. A mesa está ocupada no modo de venda "
                                                        "mesa. Ela precisa ser fechada para poder ser associada a "
                                                        "uma comanda."}));
        EXPECT_EQ(f.stNrMesa, "0002");
        EXPECT_EQ(f.lblNrMesa()->text(), "0002 - Mesa 2 - Salão");
        EXPECT_EQ(f.inCampoAtual, 3);
    }
}

TEST(TableSearch, CancelledEmptiesTheLabelAndKeepsTheNumber)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    o.h.siblings.cancelPesquisa();
    f.spbPesqMesaClick();
    EXPECT_TRUE(f.lblNrMesa()->text().isEmpty());
    EXPECT_EQ(f.stNrMesa, "0002");
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

} // namespace
