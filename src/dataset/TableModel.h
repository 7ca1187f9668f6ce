#pragma once
// A read-only Qt item model over a Table's visible fields and visible rows, for list views.

#include "dataset/Table.h"

#include <QAbstractTableModel>

namespace dataset {

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(Table &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Call after the table's rows, fields or filter changed.
    void refresh();
    // Makes the table's current row the one shown at `row` of this model.
    void moveTableTo(int row);
    Table &table() { return m_table; }

private:
    Table &m_table;
    QList<int> m_columns; // indexes of the visible fields
    int m_rowCount = 0;   // as last announced to views; changes only through refresh()
};

} // namespace dataset
