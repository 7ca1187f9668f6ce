// The table, consumer and comanda services: each sets its query's parameters and answers with the
// rows it finds; judging them is the caller's business.
#include "Srv_tkt00740/ServicePattern.h"
#include "Srv_tkt00740/Services.h"

namespace Srv_tkt00740 {

QVariant getValMesa(const QString &branch, const QString &store, const QString &table)
{
    return runService("getValMesa", [&] { return QStringList{branch, store, table}; }, [&](TrdmConfComanda &dm) {
        dm.adqValMesa.setParam(QStringLiteral("P_CDFILIAL"), branch);
        dm.adqValMesa.setParam(QStringLiteral("P_CDLOJA"), store);
        dm.adqValMesa.setParam(QStringLiteral("P_NRMESA"), table);
        return dm.dspValMesa.packet();
    });
}

QVariant getValidaCons(const QString &consumer, const QString &client)
{
    return runService("getValidaCons", [&] { return QStringList{consumer, client}; }, [&](TrdmConfComanda &dm) {
        dm.adqConsumidor.setParam(QStringLiteral("P_CDCONSUMID"), consumer);
        dm.adqConsumidor.setParam(QStringLiteral("P_CDCLIENTE"), client);
        dm.adqConsumidor.setParam(QStringLiteral("P_IDSITCONSUMI"), QStringLiteral("1"));
        return dm.dspConsumidor.packet();
    });
}

QVariant getConsComan(const QString &branch)
{
    return runService("getConsComan", [&] { return QStringList{branch}; }, [&](TrdmConfComanda &dm) {
        dm.adqConsComan.setParam(QStringLiteral("P_CDFILIAL"), branch);
        return dm.dspConsComan.packet();
    });
}

QVariant getValComanda(const QString &branch, const QString &store, const QString &comanda, const QString &all,
                       const QString &excludedState)
{
    return runService("getValComanda", [&] { return QStringList{branch, store, comanda, all, excludedState}; }, [&](TrdmConfComanda &dm) {
        db::Query &q = dm.adqComandas;
        q.close();
        q.setParam(QStringLiteral("P_CDFILIAL"), branch);
        q.setParam(QStringLiteral("P_CDLOJA"), store);
        q.setParam(QStringLiteral("P_DSCOMANDA"), comanda);
        q.setParam(QStringLiteral("P_TODOS"), all);
        q.setParam(QStringLiteral("P_IDSTCOMANDA"), excludedState);
        q.setParam(QStringLiteral("P_DSINIRES"), QStringLiteral("RES_"));
        q.setParam(QStringLiteral("P_DSINIPKR"), QStringLiteral("PKR_"));
        q.setParam(QStringLiteral("P_DSINIDLV"), QStringLiteral("DLV_"));
        q.open();
        return dm.dspComandas.packet();
    });
}

} // namespace Srv_tkt00740
