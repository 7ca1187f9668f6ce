#pragma once
// The list of the search dialogs: a read-only, row-selecting grid in the touch fonts that never
// takes the focus, so the dialog's text line keeps the keyboard and steers the grid.

#include <QTableView>

namespace commonui {

QTableView *makeListView(const QString &objectName, QWidget *parent);

// Up, Down, Page Up and Page Down move the grid's current row; true when the key was one of them.
bool steerList(QTableView *view, int key);

// The grid's current row; -1 when none.
int currentListRow(const QTableView *view);
void selectListRow(QTableView *view, int row);

} // namespace commonui
