// The consumer, waiter and table pickers and the consumer data button. A failure in any of them ends
// the click or key event and the event guard shows it.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "Cli_tkt00740/HostFolder.h"
#include "Srv_tkt00740/Services.h"
#include "contracts/CommonUi.h"
#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"

#include <QFileInfo>
#include <QLabel>
#include <array>

namespace Cli_tkt00740 {

namespace {

// The current row's text of a field, or "" when the table holds no row (a list that came back empty).
QString currentText(const dataset::Table &table, const char *field)
{
    return table.isEmpty() ? QString() : table.text(QLatin1String(field));
}

} // namespace

void TfrmCriaComanda::spbPesqConsClick()
{
    // The host may rewrite the client file while the dialog is open: read it afresh at every search.
    const QString clientFile = hostProgramFolder() + QStringLiteral("/Dados/Cadastros/Cad_Cliente.cds");
    if (QFileInfo::exists(clientFile)) {
        cdsCliente.loadFromFile(clientFile);
        cdsCliente.first();
    }

    QString scratch03, scratch06, name, scratch09;
    std::array<QString, 13> scratch11to23;
    contracts::PesqConsumidorTexts texts{};
    const auto put = [&texts](int argument, QString *text) { texts[contracts::pesqConsumidorIndex(argument)] = text; };
    put(3, &scratch03);
    put(4, &stPesqCons04);
    put(5, &stPesqCons05);
    put(6, &scratch06);
    put(7, &stCdConsumidor);
    put(8, &name);
    put(9, &scratch09);
    put(10, &stCdCliente);
    for (int argument = 11; argument <= 23; ++argument)
        put(argument, &scratch11to23[argument - 11]);
    QString *const tail[] = {&stPesqCons24, &stPesqCons25, &stPesqCons26, &stPesqCons27,
                             &stPesqCons28, &stPesqCons29, &stPesqCons30};
    for (int argument = 24; argument <= 30; ++argument)
        put(argument, tail[argument - 24]);

    if (contracts::PesqConsumidor(msg(QStringLiteral("Consum_Coman")), QString(), texts, cdsCliente,
                                  QStringLiteral("A"), QStringLiteral("1"))) {
        // The search only offers consumers it accepts, so the general validation does not run again.
        lblCdcons()->setText(stCdConsumidor);
        lblNmCons()->setText(name);
        spbCredPes()->setEnabled(true);
        if (spbVendedor()->isEnabled())
            selectField(2);
        boConsConfirmado = true;
    } else {
        lblCdcons()->clear();
        lblNmCons()->clear();
        spbCredPes()->setEnabled(false);
    }
}

void TfrmCriaComanda::spbCredPesClick()
{
    QString name = lblNmCons()->text();
    stCdConsumidor = lblCdcons()->text();
    contracts::CriaCadConsumidor(stCdConsumidor, name, stCdCliente, QStringLiteral("C"));
    // The registration leaves its texts untouched when cancelled, so the labels are right either way.
    lblNmCons()->setText(name);
    lblCdcons()->setText(stCdConsumidor);
}

void TfrmCriaComanda::spbVendedorClick()
{
    const QString separator = QStringLiteral(" - ");
    loadServiceResult(cdsGarcomAux,
                      Srv_tkt00740::getValidaGarcom(QStringLiteral("T"), stCdFilial, stCdCaixa, QStringLiteral("2")),
                      QStringLiteral("getValidaGarcom"),
                      QStringList({contracts::Ajusta(stCdVendedor, 4), stCdFilial, stCdCaixa, QStringLiteral("2")}).join(separator));
    cdsGarcomAux.setFilter({});
    cdsGarcomAux.setFiltered(false);

    if (!contracts::Pesquisa(cdsGarcomAux, QString(), QStringLiteral("N"), 0, 0, 0, 0, 0)) {
        lblCdGarcom()->clear();
        return;
    }

    // The picked code is judged before it is taken: a waiter the screen refuses never reaches the host.
    const QString picked = contracts::Ajusta(currentText(cdsGarcomAux, "CDVENDEDOR"), 4);
    const QString refusal = judgeWaiter(picked, QStringLiteral("Gar_N_Cad"));
    if (!refusal.isEmpty()) {
        notice(message(refusal));
        return;
    }
    takeJudgedWaiter();
    if (spbPesqMesa()->isEnabled())
        selectField(3);
}

void TfrmCriaComanda::spbPesqMesaClick()
{
    loadServiceResult(cdsMesas, Srv_tkt00740::getValMesa(stCdFilial, stCdLoja, QStringLiteral("T")),
                      QStringLiteral("getValMesa"),
                      QStringList({stCdFilial, stCdLoja, contracts::Ajusta(stNrMesa, 4)}).join(QLatin1Char('-')));

    if (!contracts::Pesquisa(cdsMesas, QString(), QStringLiteral("N"), 0, 0, 0, 0, 0)) {
        lblNrMesa()->clear();
        return;
    }

    const QString number = currentText(cdsMesas, "NRMESA");
    if (contracts::EmptyString(number)) {
        notice(message(QStringLiteral("Mesa_Ncad")));
        return;
    }
    // "C" and "O" mean the table is open in table-sale mode and must be closed first; a table with
    // no status at all has never been opened, so it is free.
    const QString status = cdsMesas.text(QStringLiteral("IDSTMESAAUX"));
    if (status.startsWith(QLatin1Char('C')) || status.startsWith(QLatin1Char('O'))) {
        notice(message(QStringLiteral("Mesa_Uso")));
        return;
    }
    stNrMesa = number;
    lblNrMesa()->setText(number + QStringLiteral(" - ") + cdsMesas.text(QStringLiteral("NMMESA")));
    if (spbPesqCons()->isEnabled())
        selectField(1);
}

} // namespace Cli_tkt00740
