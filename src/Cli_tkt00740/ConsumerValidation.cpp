// Vd_Geral's frame and its consumer branch: whatever the operator typed into the consumer field (a
// badge, a consumer code, an external code, an identity number or a CPF) is resolved to one consumer
// of one client, with a single query on the dialog's own connection.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "contracts/CommonUi.h"
#include "contracts/Errors.h"
#include "contracts/Log.h"
#include "contracts/MessageForms.h"
#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"

#include <QLabel>

namespace Cli_tkt00740 {

namespace {

const QString CDCLIENTE = QStringLiteral("CDCLIENTE");
const QString CDCONSUMIDOR = QStringLiteral("CDCONSUMIDOR");
const QString NMCONSUMIDOR = QStringLiteral("NMCONSUMIDOR");
const QString IDSITCONSUMI = QStringLiteral("IDSITCONSUMI");
const QString CDIDCONSUMID = QStringLiteral("CDIDCONSUMID");
const QString CDEXCONSUMID = QStringLiteral("CDEXCONSUMID");
const QString NRRGCONSUMID = QStringLiteral("NRRGCONSUMID");
const QString NRCPFRESPCON = QStringLiteral("NRCPFRESPCON");

// The texts the matched column may hold for what was typed.
struct Match {
    QString column;
    QStringList values;
};

bool anyRowHas(const dataset::Table &table, const Match &match)
{
    const int f = table.fieldIndex(match.column);
    if (f < 0)
        return false;
    const dataset::FieldType type = table.fields().at(f).type;
    for (const dataset::Row &row : table.allRows())
        if (match.values.contains(dataset::valueText(type, row.at(f))))
            return true;
    return false;
}

// The narrowing lasts for one validation: it is taken off however the branch ends, so that the
// next validation, and anyone reading the rows meanwhile, sees them all.
class Narrowing {
public:
    Narrowing(dataset::Table &table, const Match &match) : m_table(table)
    {
        const QString column = match.column;
        const QStringList values = match.values;
        m_table.setFilter([column, values](const dataset::RowView &row) { return values.contains(row.text(column)); });
        m_table.setFiltered(true);
    }
    ~Narrowing()
    {
        try {
            m_table.setFiltered(false);
            m_table.setFilter({});
        } catch (...) {
            // Taking a filter off evaluates no predicate; nothing can fail here.
        }
    }
    Narrowing(const Narrowing &) = delete;
    Narrowing &operator=(const Narrowing &) = delete;

private:
    dataset::Table &m_table;
};

// A badge is stored with ten characters: a shorter one typed without its leading zeros still names it.
QString paddedBadge(const QString &text)
{
    if (text.size() > 10)
        return {};
    return QString(10 - text.size(), QLatin1Char('0')) + text;
}

} // namespace

bool TfrmCriaComanda::Vd_Geral()
{
    const bool logging = lcDialog().isDebugEnabled();
    QElapsedTimer timer;
    QString typed;
    if (logging) {
        timer.start();
        QLabel *field = inCampoAtual == 1 ? lblCdcons() : inCampoAtual == 2 ? lblCdGarcom() : lblNrMesa();
        typed = field->text();
    }
    const bool accepted = validateField();
    if (logging) {
        static const char *const names[] = {"none", "consumer", "waiter", "table"};
        qCDebug(lcDialog).noquote() << "comanda" << stNrComanda << "validation of the"
                                    << names[inCampoAtual >= 1 && inCampoAtual <= 3 ? inCampoAtual : 0] << "field, typed"
                                    << (QLatin1Char('"') + typed + QLatin1Char('"')) << (accepted ? "accepted" : "not accepted") << "(consumer"
                                    << stCdConsumidor << "waiter" << stCdVendedor << "table" << stNrMesa << ") in"
                                    << tkt::elapsedText(timer);
    }
    return accepted;
}

bool TfrmCriaComanda::validateField()
{
    try {
        bool endedNormally = true;
        switch (inCampoAtual) {
        case 1:
            endedNormally = validateConsumer();
            break;
        case 2:
            endedNormally = validateWaiter();
            break;
        case 3:
            endedNormally = validateTable();
            break;
        default:
            break;
        }
        if (!endedNormally)
            return false;
        return !stCdConsumidor.isEmpty() || !spbPesqCons()->isEnabled();
    } catch (const tkt::Abort &) {
        // A sibling that gives up quietly has already told the operator what it had to.
        return false;
    } catch (const std::exception &e) {
        notice(tkt::shownTextOf(e));
        return false;
    }
}

void TfrmCriaComanda::runConsumerQuery(db::Query &query, const QString &text)
{
    if (!adcInfComanda.connected())
        adcInfComanda.open();
    const QString S = QStringLiteral("S");
    const QString situation = stIdExConsAtFil == S && stIdExConsAtGer == S ? QStringLiteral("1") : QStringLiteral("T");
    query.close();
    query.setParam(QStringLiteral("P_CDFILIAL"), stCdFilial);
    query.setParam(QStringLiteral("P_IDSITCONSUMI"), situation);
    query.setParam(QStringLiteral("P_CDCONSUMIDOR"), text);
    // Texts that also look a consumer code up in its stored form are given that form.
    const QString adjusted = QStringLiteral("P_CDCONSUMIDORAJUSTA");
    if (query.hasParameter(adjusted))
        query.setParam(adjusted, contracts::Ajusta(text, 21));
    query.open();
    dataset::FieldList fields;
    QList<dataset::Row> rows;
    query.fetchRows(fields, rows);
    // Every row is in memory now; ending the run lets go of the database's read locks, so that the
    // registration dialog can write while this dialog waits for it.
    query.close();
    m_consumerSearchSet = m_consumerFields.arrange(std::move(fields), std::move(rows));
}

bool TfrmCriaComanda::validateConsumer()
{
    if (lblCdcons()->text().isEmpty()) {
        lblCdcons()->clear();
        lblNmCons()->clear();
        return true;
    }

    QString typed = lblCdcons()->text();
    stCdConsumidor = typed;
    runConsumerQuery(adqConsumidor, typed);

    const QString adjusted = contracts::Ajusta(typed, 21);
    QStringList badgeForms{typed};
    if (const QString padded = paddedBadge(typed); !padded.isEmpty() && padded != typed)
        badgeForms.append(padded);

    // The probes decide by which column the text was meant; the first that finds a row wins.
    const Match probes[] = {
        {CDIDCONSUMID, badgeForms},
        {CDCONSUMIDOR, {adjusted}},
        {CDCONSUMIDOR, {typed}},
        {CDEXCONSUMID, {typed}},
        {NRRGCONSUMID, {typed}},
        {NRCPFRESPCON, {typed}},
    };
    Match matched;
    for (const Match &probe : probes) {
        if (anyRowHas(m_consumerSearchSet, probe)) {
            matched = probe;
            break;
        }
    }

    if (!matched.column.isEmpty()) {
        spbCredPes()->setEnabled(true);
    } else {
        auto refuse = [this] {
            lblCdcons()->clear();
            lblNmCons()->clear();
            stCdConsumidor.clear();
            return false;
        };
        if (!contracts::question(msg(QStringLiteral("ConsNCad")), stIdEsquema))
            return refuse();
        if (!contracts::CriaCadConsumidor(stCdConsumidor, stNmConsumidor, stCdCliente, QStringLiteral("C")))
            return refuse();
        lblCdcons()->setText(stCdConsumidor);
        lblNmCons()->setText(stNmConsumidor);
        typed = stCdConsumidor;
        // The first result predates the new consumer: ask again for the registered code.
        runConsumerQuery(adqPesqConsumidor, typed);
        matched.column = CDCONSUMIDOR;
    }

    if (matched.column == CDCONSUMIDOR) {
        matched.values = QStringList{contracts::Ajusta(typed, 21)};
        if (!matched.values.contains(typed))
            matched.values.append(typed);
    }

    dataset::Table &rows = m_consumerSearchSet;
    const Narrowing narrowing(rows, matched);
    const int count = rows.recordCount();
    if (count <= 1) {
        lblCdcons()->setText(typed);
        const bool found = count == 1;
        if (found)
            rows.first();
        stCdConsumidor = found ? rows.text(CDCONSUMIDOR) : QString();
        lblNmCons()->setText(found ? rows.text(NMCONSUMIDOR) : QString());
        stCdCliente = found ? rows.text(CDCLIENTE) : QString();
    } else if (lblNmCons()->text().isEmpty()) {
        rows.first();
        if (contracts::Pesquisa(rows, QString(), QStringLiteral("N"), 0, 0, 0, 0, 0)) {
            stCdConsumidor = rows.text(CDCONSUMIDOR);
            lblCdcons()->setText(stCdConsumidor);
            lblNmCons()->setText(rows.text(NMCONSUMIDOR));
            stCdCliente = rows.text(CDCLIENTE);
        } else {
            // What the operator browsed before closing the list chooses nothing.
            rows.first();
        }
    } else {
        rows.first();
    }

    if (boConsConfirmado || rows.isEmpty())
        return true;
    const QString S = QStringLiteral("S");
    if (rows.text(IDSITCONSUMI) == QLatin1String("2") && stIdConsCampFidel == QLatin1String("N")) {
        if (stIdPerVenConInat == S && contracts::badgeQuestion(msg(QStringLiteral("CRACHA_BLOQ"))))
            return true;
        notice(message(QStringLiteral("Escopo_KLNB")));
        return false;
    }
    return true;
}

} // namespace Cli_tkt00740
