#include "Cli_tkt00740/ConsumerFields.h"

#include "contracts/Errors.h"

#include <array>

namespace Cli_tkt00740 {

namespace {

// The consumer fields in the order the dialog keeps them, whatever order a dialect's SELECT list
// has; the five with a caption are the only ones the search list shows.
struct ConsumerColumn {
    const char *name;
    const char *caption;
};
constexpr std::array<ConsumerColumn, 52> kConsumerColumns{{
    {"CDCLIENTE", "Cliente"},
    {"CDCONSUMIDOR", "Cód. Consumidor"},
    {"NMCONSUMIDOR", "Nome Consumidor"},
    {"VRLIMDEBCONS", nullptr},
    {"IDSITCONSUMI", nullptr},
    {"CDTIPOCONS", nullptr},
    {"CDCCUSCLIE", "Centro de Custo"},
    {"CDIDCONSUMID", "Crachá"},
    {"VRAVIDEBCONS", nullptr},
    {"CDEXCONSUMID", nullptr},
    {"IDVERSALDCON", nullptr},
    {"IDCONSUMIDOR", nullptr},
    {"CDVENDEDOR", nullptr},
    {"VRMAXDEBCONS", nullptr},
    {"VRLIMCREDCONS", nullptr},
    {"VRMAXCREDCONS", nullptr},
    {"VRAVICREDCONS", nullptr},
    {"IDUTSUBTCCLI", nullptr},
    {"VRPESUBTCCLI", nullptr},
    {"NRRGCONSUMID", nullptr},
    {"NRCPFRESPCON", nullptr},
    {"NRTELECONS", nullptr},
    {"NRTELE2CONS", nullptr},
    {"IDTPVENDACONS", nullptr},
    {"NMFANTCLIE", nullptr},
    {"CDFILIAL", nullptr},
    {"NMFILIAL", nullptr},
    {"IDCLIENPRIN", nullptr},
    {"IDIMPCPFCUPOM", nullptr},
    {"IDCADCONFLIBCON", nullptr},
    {"DSENDECONS", nullptr},
    {"CDRESERVAPH", nullptr},
    {"DTCHECKINPH", nullptr},
    {"DTCHECKOUTPH", nullptr},
    {"DSOBSHOSPEDEPH", nullptr},
    {"VRSUBSBASICO", nullptr},
    {"DTNASCCONS", nullptr},
    {"DSCOMPLENDECONS", nullptr},
    {"NRCELULARCONS", nullptr},
    {"DSEMAILCONS", nullptr},
    {"CDPAIS", nullptr},
    {"SGESTADO", nullptr},
    {"NRCEPCONS", nullptr},
    {"CDMUNICIPIO", nullptr},
    {"NMMUNICIPIO", nullptr},
    {"CDBAIRRO", nullptr},
    {"NMBAIRRO", nullptr},
    {"QTHORAENTREGA", nullptr},
    {"VRTXENTREGA", nullptr},
    {"NMPAIS", nullptr},
    {"NMESTADO", nullptr},
    {"DSREFERENDECONS", nullptr},
}};

} // namespace

dataset::Table ConsumerFields::arrange(dataset::FieldList fetched, QList<dataset::Row> rows)
{
    if (fetched != m_fetched) {
        dataset::FieldList fields;
        QList<int> source;
        bool inOrder = fetched.size() == qsizetype(kConsumerColumns.size());
        for (qsizetype i = 0; i < qsizetype(kConsumerColumns.size()); ++i) {
            const QString name = QLatin1String(kConsumerColumns[i].name);
            auto named = [&](qsizetype f) { return fetched.at(f).name.compare(name, Qt::CaseInsensitive) == 0; };
            qsizetype index = i < fetched.size() && named(i) ? i : -1;
            for (qsizetype f = 0; f < fetched.size() && index < 0; ++f)
                if (named(f))
                    index = f;
            if (index < 0)
                throw tkt::Error(tkt::shownText("Cli_tkt00740", "A consulta de consumidores não trouxe a coluna %1.").arg(name));
            inOrder = inOrder && index == i;
            dataset::Field field = fetched.at(index);
            field.name = name;
            const char *caption = kConsumerColumns[i].caption;
            field.displayLabel = caption ? QString::fromUtf8(caption) : QString();
            field.visible = caption != nullptr;
            fields.append(std::move(field));
            source.append(int(index));
        }
        m_fields = std::move(fields);
        m_source = inOrder ? QList<int>() : std::move(source);
        m_fetched = std::move(fetched);
    }

    if (m_source.isEmpty())
        return dataset::Table::ofFieldValues(m_fields, std::move(rows));
    QList<dataset::Row> arranged;
    arranged.reserve(rows.size());
    for (const dataset::Row &row : std::as_const(rows)) {
        dataset::Row values;
        values.reserve(m_source.size());
        for (int index : std::as_const(m_source))
            values.append(row.at(index));
        arranged.append(std::move(values));
    }
    return dataset::Table::ofFieldValues(m_fields, std::move(arranged));
}

} // namespace Cli_tkt00740
