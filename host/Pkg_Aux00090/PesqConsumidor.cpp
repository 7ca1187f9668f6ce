// The consumer search: by name (part of it, any letter case), code, badge or CPF, among the
// consumers of the clients the caller's client table lists.
#include "Pkg_Aux00090/StandIn.h"
#include "Database.h"
#include "ListView.h"
#include "TouchDialog.h"

#include "contracts/SharedServices.h"
#include "contracts/TBlendedBitBtn.h"
#include "dataset/Table.h"
#include "dataset/TableModel.h"
#include "db/Query.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace commonui {

namespace {

// The name pattern for LIKE ... ESCAPE '!': what was typed is matched literally.
QString containsPattern(const QString &typed)
{
    QString escaped;
    escaped.reserve(typed.size() + 8);
    for (const QChar c : typed) {
        if (c == u'%' || c == u'_' || c == u'!')
            escaped += u'!';
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The client codes of the client table; empty when it lists none (then every client counts).
QSet<QString> clientCodesOf(const dataset::Table &clients)
{
    QSet<QString> codes;
    const int f = clients.fieldIndex(QStringLiteral("CDCLIENTE"));
    if (f < 0)
        return codes;
    for (const dataset::Row &row : clients.allRows())
        if (f < row.size() && !dataset::isNullValue(row.at(f)))
            codes.insert(row.at(f).toString().trimmed());
    return codes;
}

class ConsumerSearchDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(PesqConsumidor)

public:
    ConsumerSearchDialog(const QString &title, QSet<QString> clients)
        : TouchDialog(QStringLiteral("PesqConsumidor"),
                      title.trimmed().isEmpty() ? tr("Pesquisa de Consumidor") : title),
          m_clients(std::move(clients))
    {
        auto *searchRow = new QHBoxLayout;
        searchRow->setSpacing(10);
        m_search = new QLineEdit(this);
        m_search->setObjectName(QStringLiteral("edtBusca"));
        m_search->setFont(touchFont(20, false));
        m_search->setMinimumHeight(48);
        m_search->setPlaceholderText(tr("Nome, código, crachá ou CPF"));
        searchRow->addWidget(m_search, 1);
        searchRow->addWidget(addButton(QStringLiteral("btnBuscar"), tr("Buscar"), colors::digit,
                                       [this] { search(); }, QSize(130, 48)));
        body()->addLayout(searchRow);

        m_model = new dataset::TableModel(m_results, this);
        m_grid = makeListView(QStringLiteral("grdConsumidores"), this);
        m_grid->setModel(m_model);
        m_grid->setFixedSize(880, 360);
        body()->addWidget(m_grid);

        m_status = addLabel(QStringLiteral("lblMensagem"), tr("Digite o que procura e toque em Buscar."), 16);
        m_status->setMinimumHeight(22);

        auto *answers = new QHBoxLayout;
        answers->setSpacing(20);
        answers->addStretch();
        answers->addWidget(addButton(QStringLiteral("btnCancelar"), tr("Cancelar"), tkt::touch::outline,
                                     [this] { reject(); }));
        answers->addWidget(addButton(QStringLiteral("btnSelecionar"), tr("Selecionar"),
                                     tkt::touch::confirm, [this] { pick(); }));
        body()->addLayout(answers);

        connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { guarded([this] { pick(); }); });
        m_search->setFocus();
    }

    struct Choice {
        QString consumer;
        QString name;
        QString client;
    };
    const Choice &choice() const { return m_choice; }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter searches what was typed; on the list of that search it takes the marked row.
            if (!m_searched || m_search->text().trimmed() != m_lastSearch)
                search();
            else
                pick();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return steerList(m_grid, event->key());
        }
    }

private:
    void search()
    {
        const QString typed = m_search->text().trimmed();
        if (typed.isEmpty()) {
            m_status->setText(tr("Informe o nome, o código, o crachá ou o CPF do consumidor."));
            return;
        }
        if (!m_store)
            m_store = std::make_unique<StoreConnection>();
        db::Connection &connection = m_store->get();
        dataset::Table found = onDatabase(connection, tr("Pesquisa de consumidores"), [&] {
            db::Query query(connection);
            query.setSql(sqlText(QStringLiteral("consumidor_busca")));
            query.setParam(QStringLiteral("P_NOME"), containsPattern(typed));
            query.setParam(QStringLiteral("P_CDCONSUMIDOR"), contracts::Ajusta(typed, 21));
            query.setParam(QStringLiteral("P_TEXTO"), typed);
            query.setParam(QStringLiteral("P_CRACHA"), contracts::Ajusta(typed, 10));
            query.open();
            return query.fetchAll();
        });
        label(found, QStringLiteral("CDCONSUMIDOR"), tr("Código"));
        label(found, QStringLiteral("NMCONSUMIDOR"), tr("Nome"));
        label(found, QStringLiteral("CDIDCONSUMID"), tr("Crachá"));
        label(found, QStringLiteral("NRCPFRESPCON"), tr("CPF"));
        label(found, QStringLiteral("NMFANTCLIE"), tr("Cliente"));
        found.field(QStringLiteral("CDCLIENTE")).visible = false;
        if (!m_clients.isEmpty()) {
            const QSet<QString> clients = m_clients;
            found.setFilter([clients](const dataset::RowView &row) {
                return clients.contains(row.text(QStringLiteral("CDCLIENTE")).trimmed());
            });
            found.setFiltered(true);
        }
        m_results = std::move(found);
        m_model->refresh();
        sizeColumns();
        selectListRow(m_grid, 0);
        m_searched = true;
        m_lastSearch = typed;
        const int count = m_results.recordCount();
        m_status->setText(count == 0 ? tr("Nenhum consumidor encontrado.")
                                     : count == 1 ? tr("1 consumidor encontrado.")
                                                  : tr("%1 consumidores encontrados.").arg(count));
    }

    static void label(dataset::Table &table, const QString &field, const QString &text)
    {
        table.field(field).displayLabel = text;
    }

    void sizeColumns()
    {
        // Code, name, badge and CPF; the client takes the rest of the width.
        const int widths[] = {215, 240, 120, 125};
        for (int column = 0; column < std::min(4, m_model->columnCount()); ++column)
            m_grid->setColumnWidth(column, widths[column]);
    }

    void pick()
    {
        const int row = currentListRow(m_grid);
        if (row < 0 || row >= m_results.recordCount()) {
            m_status->setText(m_searched ? tr("Escolha um consumidor da lista.")
                                         : tr("Busque o consumidor primeiro."));
            return;
        }
        m_results.moveTo(row);
        m_choice = {m_results.text(QStringLiteral("CDCONSUMIDOR")), m_results.text(QStringLiteral("NMCONSUMIDOR")),
                    m_results.text(QStringLiteral("CDCLIENTE"))};
        accept();
    }

    QSet<QString> m_clients;
    std::unique_ptr<StoreConnection> m_store;
    dataset::Table m_results;
    dataset::TableModel *m_model;
    QLineEdit *m_search;
    QTableView *m_grid;
    QLabel *m_status;
    bool m_searched = false;
    QString m_lastSearch;
    Choice m_choice;
};

void put(const contracts::PesqConsumidorTexts &texts, int argument, const QString &value)
{
    if (QString *target = texts.at(contracts::pesqConsumidorIndex(argument)))
        *target = value;
}

} // namespace

bool pesqConsumidor(const QString &title, const QString &, const contracts::PesqConsumidorTexts &texts,
                    dataset::Table &clients, const QString &, const QString &)
{
    return runRoutine([&] {
        ConsumerSearchDialog dialog(title, clientCodesOf(clients));
        if (!dialog.run())
            return false;
        put(texts, 7, dialog.choice().consumer);
        put(texts, 8, dialog.choice().name);
        put(texts, 10, dialog.choice().client);
        return true;
    });
}

} // namespace commonui
