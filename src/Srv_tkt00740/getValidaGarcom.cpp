// The waiter service: the list of waiters, a waiter looked up by code, or a waiter judged for this
// branch and till, the verdict in HABILITADO.
#include "Srv_tkt00740/ServicePattern.h"
#include "Srv_tkt00740/Services.h"

#include "contracts/SharedServices.h"

namespace Srv_tkt00740 {

namespace {

// The waiter's values, read once as the database holds them: the verdict is judged on them, and
// the verdict row cuts them to cdsGarcom's widths. They are cdsGarcom's fields but the last, in order.
struct Waiter {
    enum { Code, Name, Operator, Branch, Till, Count };
    QString values[Count];
};

Waiter readWaiter(const db::Query &query)
{
    static const QString columns[Waiter::Count] = {QStringLiteral("CDVENDEDOR"), QStringLiteral("NMFANVEN"),
                                                   QStringLiteral("CDOPERADOR"), QStringLiteral("CDFILIAL"),
                                                   QStringLiteral("CDCAIXA")};
    Waiter waiter;
    for (int i = 0; i < Waiter::Count; ++i)
        waiter.values[i] = query.text(columns[i]);
    return waiter;
}

// One verdict row in cdsGarcom: the waiter's values, cut to the table's widths, and the verdict in
// the last field, HABILITADO, in place of whatever cdsGarcom held. Every field of cdsGarcom is a text.
QByteArray emitVerdict(TrdmConfComanda &dm, const Waiter &waiter, const QString &verdict)
{
    dataset::FieldList fields = dm.cdsGarcom.fields();
    Q_ASSERT(fields.size() == Waiter::Count + 1);
    QList<dataset::Row> rows(1);
    dataset::Row &row = rows.first();
    row.reserve(fields.size());
    for (int i = 0; i < Waiter::Count; ++i) {
        const QString &value = waiter.values[i];
        const int width = fields.at(i).width;
        row.emplaceBack(value.size() > width ? value.left(width) : value);
    }
    row.emplaceBack(verdict);
    dm.cdsGarcom = dataset::Table::ofFieldValues(std::move(fields), std::move(rows));
    return dm.cdsGarcom.toPacket();
}

QString judge(TrdmConfComanda &dm, const Waiter &waiter, const QString &branch, const QString &till)
{
    const QString &waiterBranch = waiter.values[Waiter::Branch];
    const QString &waiterTill = waiter.values[Waiter::Till];
    const bool freeOfBranch = contracts::EmptyString(waiterBranch);

    if (waiterBranch != branch && !freeOfBranch)
        return QStringLiteral("F");
    if (waiterTill != till && !contracts::EmptyString(waiterTill))
        return QStringLiteral("C");
    if (!freeOfBranch)
        return QStringLiteral("S");

    // A waiter free of any branch may serve only through its operator's link to this branch.
    db::Query &op = dm.adqExisteOperador;
    op.close();
    op.setParam(QStringLiteral("P_CDOPERADOR"), waiter.values[Waiter::Operator]);
    op.open();
    if (op.isEmpty())
        return QStringLiteral("O");

    db::Query &link = dm.adqOperadorFilial;
    link.close();
    link.setParam(QStringLiteral("P_CDOPERADOR"), contracts::Ajusta(op.text(QStringLiteral("CDOPERADOR")), 12));
    link.setParam(QStringLiteral("P_CDFILIAL"), branch);
    link.open();
    return link.value(QStringLiteral("OPERFILIAL")).toDouble() != 0 ? QStringLiteral("S") : QStringLiteral("N");
}

} // namespace

QVariant getValidaGarcom(const QString &code, const QString &branch, const QString &till, const QString &mode)
{
    return runService("getValidaGarcom", [&] { return QStringList{code, branch, till, mode}; }, [&](TrdmConfComanda &dm) {
        db::Query &waiter = dm.adqValidaGarcom;
        waiter.close();
        waiter.setParam(QStringLiteral("P_CDVENDEDOR"), code);
        waiter.open();

        if (waiter.isEmpty()) {
            dm.recreateCdsGarcom();
            return dm.cdsGarcom.toPacket();
        }

        if (code == QLatin1String("T")) {
            dm.recreateCdsGarcom();
            // The list form: the query's own rows; the verdict column is a one-character blank
            // whatever width the database reports for the literal.
            dataset::Table list = waiter.fetchAll();
            list.field(QStringLiteral("HABILITADO")).width = 1;
            return list.toPacket();
        }

        const Waiter found = readWaiter(waiter);
        if (mode != QLatin1String("1"))
            return emitVerdict(dm, found, QStringLiteral("S"));
        return emitVerdict(dm, found, judge(dm, found, branch, till));
    });
}

} // namespace Srv_tkt00740
