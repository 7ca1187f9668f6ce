// On-screen keypad entry: the operator types the selected field's code on the common UI package's
// numeric keypad instead of the keyboard.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "Srv_tkt00740/Services.h"
#include "contracts/CommonUi.h"
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"

#include <QLabel>

namespace Cli_tkt00740 {

namespace {

// The limits are the most characters keyboard entry lets each field hold.
constexpr int kConsumerLimit = 21;
constexpr int kWaiterLimit = 4;
constexpr int kTableLimit = 4;

} // namespace

void TfrmCriaComanda::spbTecladoConsClick()
{
    // A failure inside one path is told to the operator and leaves the dialog as it stood; the silent
    // Abort still ends the event quietly.
    const auto guarded = [this](const std::function<void()> &path) {
        try {
            path();
        } catch (const tkt::Abort &) {
            throw;
        } catch (const std::exception &e) {
            notice(tkt::shownTextOf(e));
        }
    };
    const auto keypad = [this](QString &typed, const char *title, const char *prompt, const char *missing, int limit) {
        typed.clear();
        return contracts::TecladoNumerico(typed, msg(QLatin1String(title)), msg(QLatin1String(prompt)),
                                          msg(QLatin1String(missing)), limit, 0, 0, 0, 0, 0);
    };

    if (stCampoAtual == QLatin1String("1")) {
        guarded([&] {
            QString typed;
            if (!keypad(typed, "Inf_Cons", "Cod_Cons", "Cons_Ninf", kConsumerLimit))
                return;
            // Vd_Geral validates the field inCampoAtual names; the keypad always means the consumer here.
            inCampoAtual = 1;
            lblCdcons()->setText(typed);
            if (Vd_Geral())
                boConsConfirmado = true;
        });
    } else if (stCampoAtual == QLatin1String("2")) {
        guarded([&] {
            QString typed;
            if (!keypad(typed, "Inf_garcon", "Cod_Vend", "Vendedor_NInf", kWaiterLimit)) {
                // The label empties so that the waiter counts as not given; the code stays for the host.
                lblCdGarcom()->clear();
                return;
            }
            const QString refusal = judgeWaiter(contracts::Ajusta(typed, 4), QStringLiteral("Vendedor_NCad"));
            if (refusal.isEmpty())
                takeJudgedWaiter();
            else
                notice(message(refusal));
        });
    } else {
        guarded([&] {
            QString typed;
            if (!keypad(typed, "Inf_Mesa", "Cod_Mesa", "Mesa_NInf", kTableLimit)) {
                lblNrMesa()->clear();
                return;
            }
            const QString number = contracts::Ajusta(typed, 4);
            loadServiceResult(cdsMesas, Srv_tkt00740::getValMesa(stCdFilial, stCdLoja, number),
                              QStringLiteral("getValMesa"),
                              QStringList({stCdFilial, stCdLoja, number}).join(QLatin1Char('-')));
            // A table in use is still shown here: it is refused when the table field is validated.
            const QString found = cdsMesas.isEmpty() ? QString() : cdsMesas.text(QStringLiteral("NRMESA"));
            if (contracts::EmptyString(found)) {
                notice(message(QStringLiteral("Mesa_NCad")));
                return;
            }
            stNrMesa = found;
            lblNrMesa()->setText(found + QStringLiteral(" - ") + cdsMesas.text(QStringLiteral("NMMESA")));
        });
    }
}

} // namespace Cli_tkt00740
