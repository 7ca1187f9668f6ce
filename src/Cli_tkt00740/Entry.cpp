#include "Cli_tkt00740/Entry.h"

#include "Cli_tkt00740/Globals.h"
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "Srv_tkt00740/TrdmConfComanda.h"
#include "contracts/Errors.h"
#include "contracts/MessageForms.h"

#include <QEventLoop>
#include <QLabel>

namespace Cli_tkt00740 {

namespace {

// Nothing of the dialog or the data module outlives a call, whichever way it ends.
struct CallCleanup {
    ~CallCleanup()
    {
        delete std::exchange(frmCriaComanda, nullptr);
        Srv_tkt00740::freeDataModule();
        boIdCriado = false;
    }
};

// Shows the dialog modally in a loop of our own rather than QDialog::exec(): should anything ever
// escape the loop, the dialog is left in a state it can be destroyed from.
void showModal(QDialog &form)
{
    form.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(&form, &QDialog::finished, &loop, &QEventLoop::quit);
    form.show();
    if (form.isVisible())
        loop.exec(QEventLoop::DialogExec);
}

} // namespace

bool CriaConfComanda(const QString &nrComanda, const QString &mode, const QString &permiteCons,
                     const QString &permiteMesa, const QString &permiteGarcom, QString &cdConsumidor,
                     QString &cdCliente, QString &cdVendedor, QString &nrMesa, bool *handedBack)
{
    bool result = false;
    if (handedBack)
        *handedBack = false;
    CallCleanup cleanup;
    try {
        if (!boIdCriado) {
            frmCriaComanda = new TfrmCriaComanda(nullptr);
            boIdCriado = true;
        }
        TfrmCriaComanda &form = *frmCriaComanda;
        form.stCdVendedor = cdVendedor;
        form.stNrMesa = nrMesa;
        form.stCdConsumidor = cdConsumidor;
        form.stCdCliente = cdCliente;
        form.stPermiteCons = permiteCons;
        form.stPermiteMesa = permiteMesa;
        form.stPermiteGarcom = permiteGarcom;
        form.stNrComanda = nrComanda;

        const QString title = mode == QLatin1String("A") ? form.msg(QStringLiteral("inf_comanda"))
                                                         : form.msg(QStringLiteral("inc_comanda"));
        form.lblComanda()->setText(title + QLatin1Char(' ') + nrComanda);

        showModal(form);

        cdVendedor = form.stCdVendedor;
        cdConsumidor = form.stCdConsumidor;
        nrMesa = form.stNrMesa;
        cdCliente = form.stCdCliente;
        if (handedBack)
            *handedBack = true;
        result = boResult;
    } catch (const std::exception &e) {
        try {
            contracts::notice(tkt::shownTextOf(e).shown, QStringLiteral("002"));
        } catch (...) {
        }
        result = false;
    }
    return result;
}

} // namespace Cli_tkt00740
