#include "dataset/TableModel.h"

namespace dataset {

TableModel::TableModel(Table &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    refresh();
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    // Views call this from the event loop: a table changed behind the model's back must not throw.
    if (!index.isValid() || index.row() >= m_table.recordCount() || index.column() >= m_columns.size())
        return {};
    const int f = m_columns.at(index.column());
    if (f >= m_table.fields().size())
        return {};
    const Field &field = m_table.fields().at(f);
    const Row &row = m_table.visibleRow(index.row());
    const QVariant value = f < row.size() ? row.at(f) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return valueText(field.type, value);
    case Qt::EditRole:
        return value;
    case Qt::TextAlignmentRole:
        if (field.type == FieldType::Integer || field.type == FieldType::Float)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        if (section < 0 || section >= m_columns.size() || m_columns.at(section) >= m_table.fields().size())
            return {};
        return m_table.fields().at(m_columns.at(section)).label();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void TableModel::refresh()
{
    beginResetModel();
    m_columns.clear();
    const FieldList &fields = m_table.fields();
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).visible)
            m_columns.append(i);
    m_rowCount = m_table.recordCount();
    endResetModel();
}

void TableModel::moveTableTo(int row)
{
    m_table.moveTo(row);
}

} // namespace dataset
