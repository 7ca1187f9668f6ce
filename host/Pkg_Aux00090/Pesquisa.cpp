// The generic search list over an in-memory table. The filter line narrows the rows through the
// table's own predicate (never through a filter text built from what was typed); the table's
// filter and current row are put back whatever happens, and a pick leaves the table on that row.
#include "Pkg_Aux00090/StandIn.h"
#include "ListView.h"
#include "TouchDialog.h"

#include "contracts/TBlendedBitBtn.h"
#include "dataset/Table.h"
#include "dataset/TableModel.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace commonui {

namespace {

// Rows are told apart by where the table keeps them: two rows may hold the same values, and the
// positions change with every filter.
using RowAddress = const dataset::Row *;

RowAddress currentRowOf(const dataset::Table &table)
{
    const int pos = table.recNo();
    return pos >= 0 && !table.eof() ? &table.visibleRow(pos) : nullptr;
}

int positionOf(const dataset::Table &table, RowAddress row)
{
    if (!row)
        return -1;
    for (int pos = 0; pos < table.recordCount(); ++pos)
        if (&table.visibleRow(pos) == row)
            return pos;
    return -1;
}

// The filter and current row the table came with, put back when the search ends.
class SavedFilterState {
public:
    explicit SavedFilterState(dataset::Table &table)
        : m_table(table), m_predicate(table.filter()), m_filtered(table.filtered()), m_current(currentRowOf(table))
    {
    }
    ~SavedFilterState()
    {
        try {
            restore(m_current);
        } catch (...) {
            // Already restored by the routine, or the caller's predicate fails: nothing left to do.
        }
    }

    const dataset::Table::Predicate &predicate() const { return m_predicate; }
    bool filtered() const { return m_filtered; }

    // Puts the filter back and stands on row (the row the table stood on when it is null).
    void restore(RowAddress row)
    {
        if (m_restored)
            return;
        m_restored = true;
        m_table.setFiltered(false);
        m_table.setFilter(m_predicate);
        m_table.setFiltered(m_filtered);
        const int pos = positionOf(m_table, row ? row : m_current);
        if (pos >= 0)
            m_table.moveTo(pos);
    }

private:
    dataset::Table &m_table;
    dataset::Table::Predicate m_predicate;
    bool m_filtered;
    RowAddress m_current;
    bool m_restored = false;
};

class SearchDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(Pesquisa)

public:
    SearchDialog(dataset::Table &table, const SavedFilterState &saved)
        : TouchDialog(QStringLiteral("Pesquisa"), tr("Pesquisa")), m_table(table), m_saved(saved)
    {
        auto *filterRow = new QHBoxLayout;
        filterRow->setSpacing(10);
        auto *caption = new QLabel(tr("Filtrar:"), this);
        caption->setFont(touchFont(18, true));
        filterRow->addWidget(caption);
        m_filter = new QLineEdit(this);
        m_filter->setObjectName(QStringLiteral("edtFiltro"));
        m_filter->setFont(touchFont(20, false));
        m_filter->setMinimumHeight(44);
        m_filter->setPlaceholderText(tr("Digite parte de qualquer coluna"));
        filterRow->addWidget(m_filter, 1);
        body()->addLayout(filterRow);

        m_model = new dataset::TableModel(m_table, this);
        m_grid = makeListView(QStringLiteral("grdPesquisa"), this);
        m_grid->setModel(m_model);
        m_grid->setFixedSize(680, 380);
        sizeColumns();
        body()->addWidget(m_grid);

        m_status = addLabel(QStringLiteral("lblMensagem"), QString(), 16);
        m_status->setMinimumHeight(22);

        auto *answers = new QHBoxLayout;
        answers->setSpacing(20);
        answers->addStretch();
        answers->addWidget(addButton(QStringLiteral("btnCancelar"), tr("Cancelar"), tkt::touch::outline,
                                     [this] { reject(); }));
        answers->addWidget(addButton(QStringLiteral("btnSelecionar"), tr("Selecionar"),
                                     tkt::touch::confirm, [this] { pick(); }));
        body()->addLayout(answers);

        selectListRow(m_grid, std::max(0, positionOf(m_table, currentRowOf(m_table))));
        showCount();
        connect(m_filter, &QLineEdit::textChanged, this, [this] { guarded([this] { applyFilter(); }); });
        connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { guarded([this] { pick(); }); });
        m_filter->setFocus();
    }

    RowAddress picked() const { return m_picked; }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
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
    void sizeColumns()
    {
        const QFontMetrics metrics(m_grid->font());
        int column = 0;
        for (const dataset::Field &field : m_table.fields()) {
            if (!field.visible)
                continue;
            const int chars = std::max<int>(field.label().size(), std::min(field.width > 0 ? field.width : 12, 40));
            m_grid->setColumnWidth(column++, std::clamp(metrics.averageCharWidth() * chars + 24, 70, 420));
        }
    }

    void applyFilter()
    {
        const RowAddress selected = rowAtGrid();
        const QString needle = m_filter->text().trimmed();
        QList<int> shown;
        for (int i = 0; i < m_table.fields().size(); ++i)
            if (m_table.fields().at(i).visible)
                shown.append(i);
        const dataset::FieldList fields = m_table.fields();
        const auto previous = m_saved.predicate();
        const bool wasFiltered = m_saved.filtered();
        m_table.setFilter([previous, wasFiltered, needle, shown, fields](const dataset::RowView &row) {
            if (wasFiltered && previous && !previous(row))
                return false;
            if (needle.isEmpty())
                return true;
            for (int f : shown) {
                const QVariant value = f < row.row().size() ? row.row().at(f) : QVariant();
                if (dataset::valueText(fields.at(f).type, value).contains(needle, Qt::CaseInsensitive))
                    return true;
            }
            return false;
        });
        m_table.setFiltered(true);
        m_model->refresh();
        selectListRow(m_grid, std::max(0, positionOf(m_table, selected)));
        showCount();
    }

    RowAddress rowAtGrid() const
    {
        const int row = currentListRow(m_grid);
        return row >= 0 && row < m_table.recordCount() ? &m_table.visibleRow(row) : nullptr;
    }

    void showCount()
    {
        const int count = m_table.recordCount();
        m_status->setText(count == 0 ? tr("Nenhum registro encontrado.")
                                     : count == 1 ? tr("1 registro")
                                                  : tr("%1 registros").arg(count));
    }

    void pick()
    {
        m_picked = rowAtGrid();
        if (!m_picked) {
            m_status->setText(tr("Escolha um registro da lista."));
            return;
        }
        accept();
    }

    dataset::Table &m_table;
    const SavedFilterState &m_saved;
    QLineEdit *m_filter;
    QTableView *m_grid;
    QLabel *m_status;
    dataset::TableModel *m_model;
    RowAddress m_picked = nullptr;
};

} // namespace

bool pesquisa(dataset::Table &table, const QString &, const QString &, int, int, int, int, int)
{
    return runRoutine([&] {
        SavedFilterState saved(table);
        RowAddress picked = nullptr;
        {
            SearchDialog dialog(table, saved);
            if (dialog.run())
                picked = dialog.picked();
        }
        saved.restore(picked);
        if (!picked)
            return false;
        if (currentRowOf(table) != picked)
            throw tkt::Error(tkt::shownText("Pesquisa", "O registro escolhido não pôde ser posicionado."));
        return true;
    });
}

} // namespace commonui
