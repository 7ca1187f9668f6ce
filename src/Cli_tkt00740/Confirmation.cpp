// The Enter step and the conclusion of the comanda dialog. Neither catches anything: a failure of a
// callee ends the key or click event, and the event guard shows it (the silent Abort shows nothing).
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "Cli_tkt00740/Globals.h"
#include "Srv_tkt00740/Services.h"
#include "contracts/CommonUi.h"
#include "contracts/Errors.h"
#include "contracts/MessageForms.h"
#include "contracts/TBlendedBitBtn.h"

#include <QLabel>

namespace Cli_tkt00740 {

namespace {

// The comanda check lists the sales of this comanda whose comanda state is anything but closed.
const QString kClosedState = QStringLiteral("4");
// Not "T": the check is restricted to this one comanda. An empty text, not SQL NULL.
const QString kThisComandaOnly = QStringLiteral("");

} // namespace

void TfrmCriaComanda::enterStep()
{
    if (!Vd_Geral())
        return;

    const QString description = stCdFilial + QLatin1Char('-') + stCdLoja + QLatin1Char('-') + stNrComanda
        + QLatin1Char('-') + kThisComandaOnly + QLatin1Char('-') + kClosedState;
    loadServiceResult(cdsComandas,
                      Srv_tkt00740::getValComanda(stCdFilial, stCdLoja, stNrComanda, kThisComandaOnly, kClosedState),
                      QStringLiteral("getValComanda"), description);
    const bool notOpenYet = cdsComandas.isEmpty();

    // Only a comanda that is not open yet may be opened from the last field; an open one wraps round.
    auto askToOpen = [this] {
        return contracts::question(tr("Confirma a Abertura da Comanda?"), stIdEsquema);
    };

    switch (inCampoAtual) {
    case 1:
        if (spbVendedor()->isEnabled())
            selectField(2);
        else if (spbPesqMesa()->isEnabled())
            selectField(3);
        else if (notOpenYet && askToOpen())
            spdEnterClick();
        break;
    case 2:
        if (spbPesqMesa()->isEnabled()) {
            selectField(3);
        } else if (notOpenYet) {
            if (askToOpen()) {
                selectField(1);
                spdEnterClick();
            }
        } else if (spbPesqCons()->isEnabled()) {
            selectField(1);
        }
        break;
    case 3:
        if (notOpenYet) {
            if (askToOpen())
                spdEnterClick();
        } else if (spbPesqCons()->isEnabled()) {
            selectField(1);
        } else if (spbVendedor()->isEnabled()) {
            selectField(2);
        }
        break;
    default:
        break;
    }
}

void TfrmCriaComanda::spdEnterClick()
{
    if (!Vd_Informacoes())
        return;
    if (!Vd_Geral())
        return;

    const QString waiter = lblCdGarcom()->text();
    if (waiter.isEmpty()) {
        boResult = true;
        close();
        return;
    }

    ovSenhaOper = QVariantList(10, QVariant());
    // A validated waiter is shown as code, " - ", name: the first four characters are the code.
    const QVariantList settings{stIdEsquema, stIdUtlSenhaOper, false, waiter.left(4)};
    if (!contracts::ControleSenhOper(settings, ovSenhaOper))
        throw tkt::Abort{};
    boResult = true;
    close();
}

} // namespace Cli_tkt00740
