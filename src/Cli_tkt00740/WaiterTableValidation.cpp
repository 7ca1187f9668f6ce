// Vd_Geral's waiter and table branches, judged by the validation services, and Vd_Informacoes, the
// check that every field the host requires is filled before the comanda is confirmed.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "Srv_tkt00740/Services.h"
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"

#include <QLabel>

namespace Cli_tkt00740 {

namespace {

// The message key of each refusing verdict of the waiter service.
QString waiterRefusal(const QString &verdict)
{
    if (verdict == QLatin1String("F"))
        return QStringLiteral("Vend_N_Filial");
    if (verdict == QLatin1String("C"))
        return QStringLiteral("Vend_N_Caixa");
    if (verdict == QLatin1String("O"))
        return QStringLiteral("Gar_N_Assoc");
    if (verdict == QLatin1String("N"))
        return QStringLiteral("Ope_N_Assoc");
    return {};
}

} // namespace

bool TfrmCriaComanda::validateWaiter()
{
    if (lblCdGarcom()->text().isEmpty()) {
        lblCdGarcom()->clear();
        return true;
    }

    // An accepted waiter shows "code - name": the code is read back from the front of the label.
    stCdVendedor = contracts::Ajusta(lblCdGarcom()->text().left(4), 4);
    const QString refusal = judgeWaiter(stCdVendedor, QStringLiteral("Gar_N_Cad"));
    if (!refusal.isEmpty()) {
        notice(message(refusal));
        lblCdGarcom()->clear();
        stCdVendedor.clear();
        return false;
    }
    takeJudgedWaiter();
    return true;
}

QString TfrmCriaComanda::judgeWaiter(const QString &code, const QString &notFoundKey)
{
    const QString mode = QStringLiteral("1");
    loadServiceResult(cdsGarcomAux, Srv_tkt00740::getValidaGarcom(code, stCdFilial, stCdCaixa, mode),
                      QStringLiteral("getValidaGarcom"),
                      QStringList({code, stCdFilial, stCdCaixa, mode}).join(QStringLiteral(" - ")));
    return cdsGarcomAux.isEmpty() ? notFoundKey : waiterRefusal(cdsGarcomAux.text(QStringLiteral("HABILITADO")));
}

void TfrmCriaComanda::takeJudgedWaiter()
{
    stCdVendedor = cdsGarcomAux.text(QStringLiteral("CDVENDEDOR"));
    lblCdGarcom()->setText(stCdVendedor + QStringLiteral(" - ") + cdsGarcomAux.text(QStringLiteral("NMFANVEN")));
}

bool TfrmCriaComanda::validateTable()
{
    if (lblNrMesa()->text().isEmpty()) {
        lblNrMesa()->clear();
        return true;
    }

    stNrMesa = contracts::Ajusta(lblNrMesa()->text().left(4), 4);
    loadServiceResult(cdsMesas, Srv_tkt00740::getValMesa(stCdFilial, stCdLoja, stNrMesa), QStringLiteral("getValMesa"),
                      QStringList({stCdFilial, stCdLoja, stNrMesa}).join(QLatin1Char('-')));

    auto refuse = [this](const QString &key) {
        notice(message(key));
        lblNrMesa()->clear();
        stNrMesa.clear();
        return false;
    };
    const QString number = cdsMesas.isEmpty() ? QString() : cdsMesas.text(QStringLiteral("NRMESA"));
    if (contracts::EmptyString(number))
        return refuse(QStringLiteral("Mesa_Ncad"));
    // Only a table taken in table-sale mode is refused; a table without a state is free.
    const QString state = cdsMesas.text(QStringLiteral("IDSTMESAAUX"));
    if (state.startsWith(QLatin1Char('C')) || state.startsWith(QLatin1Char('O')))
        return refuse(QStringLiteral("Mesa_Uso"));

    stNrMesa = number;
    lblNrMesa()->setText(number + QStringLiteral(" - ") + cdsMesas.text(QStringLiteral("NMMESA")));
    return true;
}

bool TfrmCriaComanda::Vd_Informacoes()
{
    try {
        const QString S = QStringLiteral("S");
        QString missing;
        if (stPermiteCons == S && lblCdcons()->text().isEmpty())
            missing = QStringLiteral("Cons_Ninf");
        else if (stPermiteGarcom == S && lblCdGarcom()->text().isEmpty())
            missing = QStringLiteral("Vendedor_NInf");
        else if (stPermiteMesa == S && lblNrMesa()->text().isEmpty())
            missing = QStringLiteral("Mesa_Ninf");
        if (missing.isEmpty())
            return true;
        notice(message(missing));
        return false;
    } catch (const tkt::Abort &) {
        return false;
    } catch (const std::exception &e) {
        notice(tkt::shownTextOf(e));
        return false;
    }
}

} // namespace Cli_tkt00740
