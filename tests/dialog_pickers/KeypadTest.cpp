// Typing the selected field's code on the on-screen keypad.
#include "dialog_pickers/PickerHelpers.h"
#include "support/QtPrinters.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

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

TEST(Keypad, EachFieldAsksWithItsOwnTextsAndLimit)
{
    struct Case { QString campo; QString title, prompt, missing; int limit; };
    const Case cases[] = {
        {"1", "Informação do Consumidor", "Digite o código do consumidor.", "Consumidor não informado.", 21},
        {"2", "Informação do Garçom.", "Digite o código do garçom.", "Garçom não informado.", 4},
        {"3", "Informação da Mesa", "Digite o código da mesa.", "Mesa não informada.", 4},
        {"9", "Informação da Mesa", "Digite o código da mesa.", "Mesa não informada.", 4},
        {"", "Informação da Mesa", "Digite o código da mesa.", "Mesa não informada.", 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.campo.toStdString());
        Opened o;
        o.f->stCampoAtual = c.campo;
        o.h.siblings.cancelTeclado();
        o.f->spbTecladoConsClick();
        const auto calls = o.h.siblings.calls("TecladoNumerico");
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].arguments,
                  QStringList({"", c.title, c.prompt, c.missing, QString::number(c.limit), "0", "0", "0", "0", "0"}));
    }
}

TEST(Keypad, CancelledEmptiesWaiterAndTableLabelsButKeepsCodesAndConsumerLabel)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    f.lblCdcons()->setText("123");
    for (const char *campo : {"1", "2", "3"}) {
        f.stCampoAtual = campo;
        o.h.siblings.cancelTeclado();
        f.spbTecladoConsClick();
    }
    EXPECT_EQ(f.lblCdcons()->text(), "123");
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
    EXPECT_EQ(f.stCdVendedor, "0001");
    EXPECT_TRUE(f.lblNrMesa()->text().isEmpty());
    EXPECT_EQ(f.stNrMesa, "0002");
    EXPECT_FALSE(f.boConsConfirmado);
    EXPECT_EQ(o.h.siblings.count("MensagemMetodo"), 0) << "nothing is looked up after a cancel";
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

TEST(KeypadWaiter, ShortCodeIsAdjustedAndShownWithTheName)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.selectField(2);
    o.h.siblings.confirmTeclado("7");
    f.spbTecladoConsClick();
    EXPECT_EQ(descriptions(o.h.siblings), QStringList({"getValidaGarcom: 0007 - 0001 - 001 - 1"}));
    EXPECT_EQ(f.stCdVendedor, "0007");
    EXPECT_EQ(f.lblCdGarcom()->text(), "0007 - Sebastião");
    EXPECT_EQ(f.inCampoAtual, 2) << "the selection does not move";
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

TEST(KeypadWaiter, RefusedOrUnknownWaiterIsToldAndChangesNothing)
{
    struct Case { const char *typed; QString message; };
    const Case cases[] = {
        {"3", "Garçom não está associado a filial."},
        {"4", "Garçom não está associado ao caixa."},
        {"6", "Operador não está associado a filial."},
        {"8", "Garçom não cadastrado."},
        {"99", "Garçom não cadastrado."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        Opened o(withWaiterAndTable());
        TfrmCriaComanda &f = *o.f;
        f.selectField(2);
        o.h.siblings.confirmTeclado(c.typed);
        f.spbTecladoConsClick();
        EXPECT_EQ(o.h.siblings.messages(), QStringList({c.message}));
        EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
        EXPECT_EQ(f.stCdVendedor, "0001");
    }
}

TEST(KeypadWaiter, VerdictWithoutOperatorIsTold)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    f.selectField(2);
    o.h.siblings.confirmTeclado("1");
    o.h.siblings.script(contracts::MensagemMetodo,
                        [](auto &&...) { return waiterPacket("0001", "João Garçom", "O"); });
    f.spbTecladoConsClick();
    EXPECT_EQ(o.h.siblings.messages(), QStringList({"Garçom não possui operador associado."}));
    EXPECT_EQ(f.stCdVendedor, "0001");
}

TEST(KeypadTable, FoundTablesAreTakenEvenWhenInUse)
{
    for (const char *campo : {"3", "x"}) {
        SCOPED_TRACE(campo);
        Opened o;
        TfrmCriaComanda &f = *o.f;
        f.stCampoAtual = campo;
        o.h.siblings.confirmTeclado("4");
        f.spbTecladoConsClick();
        EXPECT_EQ(descriptions(o.h.siblings), QStringList({"getValMesa: 0001-0001-0004"}));
        EXPECT_EQ(f.stNrMesa, "0004");
        EXPECT_EQ(f.lblNrMesa()->text(), "0004 - Mesa 4 - Varanda") << "a table in use is refused later, not here";
        EXPECT_TRUE(o.h.siblings.messages().isEmpty());
    }
}

TEST(KeypadTable, UnknownTableIsToldAndChangesNothing)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    f.selectField(3);
    o.h.siblings.confirmTeclado("77");
    f.spbTecladoConsClick();
    EXPECT_EQ(o.h.siblings.messages(), QStringList({"Mesa não cadastrada."}));
    EXPECT_EQ(f.stNrMesa, "0002");
    EXPECT_EQ(f.lblNrMesa()->text(), "0002 - Mesa 2 - Salão");
}

TEST(KeypadGuard, FailuresBecomeNoticesAndLeaveTheFieldAsItWas)
{
    Opened o(withWaiterAndTable());
    TfrmCriaComanda &f = *o.f;
    f.selectField(2);
    o.h.siblings.confirmTeclado("7");
    o.h.siblings.script(contracts::MensagemMetodo, [](auto &&...) -> QByteArray { throw tkt::Error("serviço fora"); });
    f.spbTecladoConsClick();

    f.selectField(3);
    o.h.siblings.script(contracts::TecladoNumerico, [](auto &&...) -> bool { throw tkt::Error("teclado quebrado"); });
    f.spbTecladoConsClick();

    EXPECT_EQ(o.h.siblings.messages(), QStringList({"serviço fora", "teclado quebrado"}));
    EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom");
    EXPECT_EQ(f.stCdVendedor, "0001");
    EXPECT_EQ(f.lblNrMesa()->text(), "0002 - Mesa 2 - Salão");
    EXPECT_TRUE(o.h.errorBoxes.isEmpty());
}

TEST(KeypadGuard, AbortStaysSilent)
{
    Opened o;
    o.f->selectField(3);
    o.h.siblings.script(contracts::TecladoNumerico, [](auto &&...) -> bool { throw tkt::Abort(); });
    EXPECT_THROW(o.f->spbTecladoConsClick(), tkt::Abort);
    EXPECT_TRUE(o.h.siblings.messages().isEmpty());
}

TEST(KeypadConsumer, TypedTextGoesToTheLabelAndIsValidated)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.stCampoAtual = "1";
    f.inCampoAtual = 3; // the keypad means the consumer whatever field number was left behind
    o.h.siblings.confirmTeclado("12345678901");
    f.spbTecladoConsClick();
    EXPECT_EQ(f.inCampoAtual, 1);
    EXPECT_EQ(f.stCampoAtual, "1");
    EXPECT_EQ(f.lblNmCons()->text(), "João da Conceição");
    EXPECT_EQ(f.stCdConsumidor, "000000000000000000021");
    EXPECT_TRUE(f.boConsConfirmado);
    EXPECT_TRUE(o.h.errorBoxes.isEmpty()) << o.h.errorBoxes.join("; ").toStdString();
}

TEST(KeypadConsumer, ValidatedEvenWhenConsumerEntryIsNotAllowed)
{
    DialogPresets p;
    p.permiteCons = "N";
    Opened o(p);
    TfrmCriaComanda &f = *o.f;
    f.selectField(1);
    o.h.siblings.confirmTeclado("98765432100");
    f.spbTecladoConsClick();
    EXPECT_EQ(f.lblNmCons()->text(), "Maria das Graças Antônia");
    EXPECT_TRUE(f.boConsConfirmado);
}

TEST(KeypadConsumer, UnresolvedConsumerIsNotConfirmed)
{
    Opened o;
    TfrmCriaComanda &f = *o.f;
    f.selectField(1);
    o.h.siblings.setMensagemAnswer(false); // no registration of a new consumer
    o.h.siblings.confirmTeclado("555");
    f.spbTecladoConsClick();
    EXPECT_FALSE(f.boConsConfirmado);
    EXPECT_FALSE(o.h.siblings.messages().isEmpty()) << "the validation told the operator something";
}

} // namespace
