#include "ListView.h"

#include "TouchDialog.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

namespace commonui {

QTableView *makeListView(const QString &objectName, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setFocusPolicy(Qt::NoFocus);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setFont(touchFont(17, false));
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(38);
    view->horizontalHeader()->setFont(touchFont(16, true));
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

int currentListRow(const QTableView *view)
{
    const QModelIndex index = view->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void selectListRow(QTableView *view, int row)
{
    const int count = view->model() ? view->model()->rowCount() : 0;
    if (count == 0 || row < 0) {
        view->selectionModel()->clearSelection();
        view->setCurrentIndex({});
        return;
    }
    const QModelIndex index = view->model()->index(std::min(row, count - 1), 0);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

bool steerList(QTableView *view, int key)
{
    const int row = currentListRow(view);
    const int page = std::max(1, view->viewport()->height() / std::max(1, view->verticalHeader()->defaultSectionSize()));
    switch (key) {
    case Qt::Key_Up:
        selectListRow(view, std::max(0, row - 1));
        return true;
    case Qt::Key_Down:
        selectListRow(view, row + 1);
        return true;
    case Qt::Key_PageUp:
        selectListRow(view, std::max(0, row - page));
        return true;
    case Qt::Key_PageDown:
        selectListRow(view, row + page);
        return true;
    default:
        return false;
    }
}

} // namespace commonui
