// The waiter and table branches of Vd_Geral, judged by the demo's services, and Vd_Informacoes.
#include "dialog/DialogHarness.h"
#include "dialog_validation/ValidationSupport.h"
#include "support/QtPrinters.h"

#include "contracts/Errors.h"
#include "contracts/TBlendedBitBtn.h"
#include "dataset/Table.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

class WaiterTable : public testing::Test {
protected:
    TfrmCriaComanda &open(int field)
    {
        TfrmCriaComanda &f = h.open();
        f.selectField(field);
        // A consumer is held, so that the final rule lets the other fields speak for themselves.
        f.stCdConsumidor = validation::consumer(21);
        h.siblings.clearCalls();
        return f;
    }
    QStringList noticeForm(int n) const
    {
        const auto args = h.siblings.calls("Mensagem").at(n).arguments;
        return {args[1], args[3], args[4]};
    }

    DialogHarness h;
};

TEST_F(WaiterTable, EveryWaiterVerdict)
{
    struct Case { QString typed; QString shown; QString message; };
    const Case cases[] = {
        {"0001", "0001 - João Garçom", ""},
        {"0002", "0002 - Maria Conceição", ""},
        {"0003", "", "Garçom não está associado a filial."},
        {"0004", "", "Garçom não está associado ao caixa."},
        {"0005", "0005 - Raimundo Volante", ""},
        {"0006", "", "Operador não está associado a filial."},
        {"7", "0007 - Sebastião", ""},
        {"0008", "", "Garçom não cadastrado ou operador vinculado não está ativo."},
        {"0009", "", "Garçom não cadastrado ou operador vinculado não está ativo."},
        // The service gives the waiter's name in its 50-character field.
        {"10", "0010 - " + QString("José Carlos de Albuquerque Conceição Magalhães Júnior Neto").left(50), ""},
        {"0011", "", "Garçom não está associado ao caixa."},
        {"0012", "", "Garçom não está associado a filial."},
        {"9999", "", "Garçom não cadastrado ou operador vinculado não está ativo."},
    };
    TfrmCriaComanda &f = open(2);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        h.siblings.clearCalls();
        f.lblCdGarcom()->setText(c.typed);
        const bool accepted = c.message.isEmpty();
        EXPECT_EQ(f.Vd_Geral(), accepted);
        EXPECT_EQ(f.lblCdGarcom()->text(), c.shown);
        EXPECT_EQ(f.stCdVendedor, accepted ? c.shown.left(4) : QString());
        EXPECT_EQ(h.siblings.messages(), accepted ? QStringList() : QStringList{c.message});
        if (!accepted) {
            EXPECT_EQ(noticeForm(0), QStringList({"", "N", "3"}));
        }
        const auto service = h.siblings.calls("MensagemMetodo");
        ASSERT_EQ(service.size(), 1);
        EXPECT_EQ(service[0].arguments[3], "getValidaGarcom");
        const QString code = c.typed.rightJustified(4, QLatin1Char('0'));
        EXPECT_EQ(service[0].arguments[5], code + " - 0001 - 001 - 1");
    }
    EXPECT_EQ(f.inCampoAtual, 2);
}

TEST_F(WaiterTable, OperatorMissingVerdict)
{
    // The demo's waiter query cannot give "O": the service's answer is replaced here.
    TfrmCriaComanda &f = open(2);
    h.siblings.script(contracts::MensagemMetodo, [&f](auto &&...) {
        dataset::Table packet(f.cdsGarcomAux.fields());
        packet.append();
        packet.setValue("CDVENDEDOR", "0001");
        packet.setValue("HABILITADO", "O");
        return packet.toPacket();
    });
    f.lblCdGarcom()->setText("0001");
    EXPECT_FALSE(f.Vd_Geral());
    EXPECT_EQ(h.siblings.messages(), QStringList{"Garçom não possui operador associado."});
    EXPECT_TRUE(f.lblCdGarcom()->text().isEmpty());
}

TEST_F(WaiterTable, AcceptedWaiterAndTableValidateAgainFromTheirLabels)
{
    TfrmCriaComanda &f = open(2);
    f.lblCdGarcom()->setText("7");
    ASSERT_TRUE(f.Vd_Geral());
    h.siblings.clearCalls();
    EXPECT_TRUE(f.Vd_Geral());
    EXPECT_EQ(f.lblCdGarcom()->text(), "0007 - Sebastião");
    EXPECT_EQ(h.siblings.calls("MensagemMetodo").at(0).arguments[5], "0007 - 0001 - 001 - 1");

    f.selectField(3);
    f.lblNrMesa()->setText("12");
    ASSERT_TRUE(f.Vd_Geral());
    h.siblings.clearCalls();
    EXPECT_TRUE(f.Vd_Geral());
    EXPECT_EQ(f.lblNrMesa()->text(), "0012 - Mesa 12 - Terraço");
    EXPECT_EQ(f.stNrMesa, "0012");
    EXPECT_EQ(h.siblings.calls("MensagemMetodo").at(0).arguments[5], "0001-0001-0012");
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

TEST_F(WaiterTable, TableStates)
{
    struct Case { QString typed; bool accepted; QString message; };
    const QString inUse = "Operação bloqueada. A mesa está ocupada no modo de venda mesa. Ela precisa ser fechada para "
                          "poder ser associada a uma comanda.";
    const Case cases[] = {
        {"1", true, ""},     // state '': free
        {"0002", true, ""},  // 'L'
        {"3", false, inUse}, // 'C'
        {"4", false, inUse}, // 'O'
        {"5", true, ""},     // 'R'
        {"6", true, ""},     // NULL
        {"0007", false, "Mesa não cadastrada."}, // only in another store
        {"77", false, "Mesa não cadastrada."},
    };
    TfrmCriaComanda &f = open(3);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        h.siblings.clearCalls();
        f.lblNrMesa()->setText(c.typed);
        EXPECT_EQ(f.Vd_Geral(), c.accepted);
        EXPECT_EQ(h.siblings.messages(), c.accepted ? QStringList() : QStringList{c.message});
        const QString number = c.typed.rightJustified(4, QLatin1Char('0'));
        EXPECT_EQ(f.stNrMesa, c.accepted ? number : QString());
        if (c.accepted)
            EXPECT_TRUE(f.lblNrMesa()->text().startsWith(number + " - ")) << f.lblNrMesa()->text().toStdString();
        else
            EXPECT_TRUE(f.lblNrMesa()->text().isEmpty());
    }
}

TEST_F(WaiterTable, EmptyFieldsEndNormallyAndKeepTheirValues)
{
    TfrmCriaComanda &f = open(2);
    f.stCdVendedor = "0001";
    f.lblCdGarcom()->clear();
    EXPECT_TRUE(f.Vd_Geral());
    EXPECT_EQ(f.stCdVendedor, "0001");
    f.selectField(3);
    f.stNrMesa = "0002";
    f.lblNrMesa()->clear();
    EXPECT_TRUE(f.Vd_Geral());
    EXPECT_EQ(f.stNrMesa, "0002");
    EXPECT_EQ(h.siblings.count("MensagemMetodo"), 0);

    f.stCdConsumidor.clear();
    EXPECT_FALSE(f.Vd_Geral()) << "consumer entry permitted and no consumer held";
    f.spbPesqCons()->setEnabled(false);
    EXPECT_TRUE(f.Vd_Geral());
    f.inCampoAtual = 4;
    EXPECT_TRUE(f.Vd_Geral()) << "no branch: only the final rule";
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

TEST_F(WaiterTable, ValidWaiterWithoutConsumerStillAnswersFalse)
{
    TfrmCriaComanda &f = open(2);
    f.stCdConsumidor.clear();
    f.lblCdGarcom()->setText("0001");
    EXPECT_FALSE(f.Vd_Geral());
    EXPECT_EQ(f.lblCdGarcom()->text(), "0001 - João Garçom") << "the waiter itself is accepted";
    EXPECT_TRUE(h.siblings.messages().isEmpty());
}

TEST_F(WaiterTable, ServiceErrorIsANoticeAndKeepsTheField)
{
    TfrmCriaComanda &f = open(2);
    h.siblings.script(contracts::MensagemMetodo, [](auto &&...) -> QByteArray {
        throw tkt::Error("serviço fora do ar");
    });
    f.lblCdGarcom()->setText("7");
    EXPECT_FALSE(f.Vd_Geral());
    EXPECT_EQ(h.siblings.messages(), QStringList{"serviço fora do ar"});
    EXPECT_EQ(noticeForm(0), QStringList({"", "N", "3"}));
    EXPECT_EQ(f.stCdVendedor, "0007");
    EXPECT_EQ(f.lblCdGarcom()->text(), "7");
}

TEST_F(WaiterTable, RequiredFieldsReportOnlyTheFirstMissing)
{
    TfrmCriaComanda &f = open(1);
    f.stPermiteCons = f.stPermiteGarcom = f.stPermiteMesa = "S";
    f.lblCdcons()->clear();
    f.lblCdGarcom()->clear();
    f.lblNrMesa()->clear();
    EXPECT_FALSE(f.Vd_Informacoes());
    EXPECT_EQ(h.siblings.messages(), QStringList{"Consumidor não informado."});

    f.lblCdcons()->setText("21");
    EXPECT_FALSE(f.Vd_Informacoes());
    f.lblCdGarcom()->setText("0001 - João Garçom");
    EXPECT_FALSE(f.Vd_Informacoes());
    f.lblNrMesa()->setText("0002 - Mesa");
    EXPECT_TRUE(f.Vd_Informacoes());
    EXPECT_EQ(h.siblings.messages(),
              QStringList({"Consumidor não informado.", "Garçom não informado.", "Mesa não informada."}));

    h.siblings.clearCalls();
    f.lblCdcons()->clear();
    f.lblCdGarcom()->clear();
    f.stPermiteCons = "N";
    f.stPermiteGarcom = "s";
    EXPECT_TRUE(f.Vd_Informacoes()) << "fields whose entry is not permitted are ignored";
    f.lblNrMesa()->clear();
    f.stPermiteMesa = "";
    EXPECT_TRUE(f.Vd_Informacoes());
    EXPECT_TRUE(h.siblings.messages().isEmpty());
    EXPECT_EQ(h.siblings.count("MensagemMetodo"), 0) << "nothing is validated";
}

TEST_F(WaiterTable, RequiredFieldsCheckShowsItsFailure)
{
    TfrmCriaComanda &f = open(1);
    f.stPermiteCons = "S";
    f.lblCdcons()->clear();
    h.siblings.script(contracts::Mensagem, [](auto &&...) -> bool { throw tkt::Error("sem mensagens"); });
    EXPECT_FALSE(f.Vd_Informacoes());
    EXPECT_EQ(h.siblings.messages(), QStringList({"Consumidor não informado.", "sem mensagens"}));
}

} // namespace
