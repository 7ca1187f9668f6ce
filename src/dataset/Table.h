#pragma once
// The in-memory table: a field list and rows in order, with a current row, an optional filter
// predicate, locate, append/post, and load/save as a data packet or a .cds file (the same bytes).

#include "dataset/Field.h"

#include <QByteArray>
#include <QList>
#include <QVariant>
#include <functional>

namespace dataset {

using Row = QList<QVariant>; // one value per field, in field order; a null QVariant is a null value

class Table;

// Read access to one row, handed to filter predicates.
class RowView {
public:
    RowView(const Table &table, const Row &row) : m_table(table), m_row(row) {}
    QVariant value(const QString &fieldName) const; // throws tkt::Error for an unknown field
    QString text(const QString &fieldName) const;   // the value as text; a null value is ""
    const Row &row() const { return m_row; }

private:
    const Table &m_table;
    const Row &m_row;
};

class Table {
public:
    using Predicate = std::function<bool(const RowView &)>;

    Table() = default;
    explicit Table(FieldList fields);
    // A table holding these rows, standing on the first, without a trip through a packet. Every
    // row must have one value per field; each value is kept in its field's type (see toFieldValue).
    // Throws tkt::Error for a field list no packet could carry, a row of another width or a value
    // that does not fit its field, naming the row and field.
    Table(FieldList fields, QList<Row> rows);
    // The same for rows whose every value is already QVariant() or in its field's representation,
    // as a Query hands them out: the values are not looked at again (only a debug build checks).
    static Table ofFieldValues(FieldList fields, QList<Row> rows);

    // Structure. Changing the fields empties the table.
    void setFields(FieldList fields);
    const FieldList &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const;   // case-insensitive; -1 when absent
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    Field &field(const QString &name);           // throws tkt::Error when absent
    const Field &field(const QString &name) const;

    // Rows as the filter shows them (all rows when no filter is active).
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // eof() is true for an empty table and after next() on the last row; the last row stays current.
    void first();
    void next();
    bool eof() const;
    int recNo() const; // 0-based position among visible rows; -1 when there is none
    void moveTo(int position); // to the visible row at position; throws tkt::Error when out of range
    const Row &visibleRow(int position) const; // throws tkt::Error when out of range

    // Values of the current row; throw tkt::Error when there is no current row or no such field.
    QVariant value(const QString &fieldName) const;
    QString text(const QString &fieldName) const; // the value as text; a null value is ""
    // Edits the current row; the value is kept in the field's type (see toFieldValue) and one that
    // does not fit throws tkt::Error, so that every table can be written as a packet.
    void setValue(const QString &fieldName, const QVariant &value);

    // Appends an empty row and makes it current; post() keeps it (it is kept even without post, as
    // nothing validates rows; post exists so that callers read like the platform they mirror).
    void append();
    void post(); // applies the filter again: a row edited out of it leaves the visible rows

    // Moves to the first visible row whose field equals value exactly (texts case-sensitively; the
    // value is first brought to the field's type); false (no move) when none. Null finds null.
    bool locate(const QString &fieldName, const QVariant &value);

    // Filter: the predicate decides which rows are visible while filtering is on.
    void setFilter(Predicate predicate);
    const Predicate &filter() const { return m_predicate; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    void emptyTable();                   // removes all rows, keeps the fields
    const QList<Row> &allRows() const { return m_rows; } // every row, ignoring the filter
    Row currentRow() const; // throws tkt::Error when there is no current row

    // Data packets and .cds files (the same bytes). Loading replaces fields and rows and moves to
    // the first row; a malformed packet throws tkt::Error and leaves the table unchanged.
    static Table fromPacket(const QByteArray &packet);
    void loadPacket(const QByteArray &packet);
    QByteArray toPacket() const; // every row, ignoring the filter
    void loadFromFile(const QString &path);
    void saveToFile(const QString &path) const;

private:
    void adopt(FieldList fields, QList<Row> rows, bool convert);
    QList<int> computeVisible() const; // may throw from the predicate; changes nothing
    void showRows(QList<int> visible, int keepRowIndex); // keepRowIndex: row to stay on, or -1 (first)
    int currentIndex() const; // index into m_rows, or -1
    int requireCurrent() const;
    int requireField(const QString &name) const;

    FieldList m_fields;
    QList<Row> m_rows;
    QList<int> m_visible; // indexes into m_rows of the rows the filter shows
    int m_cursor = 0;     // position in m_visible
    Predicate m_predicate;
    bool m_filtered = false;
    bool m_eof = true;
};

} // namespace dataset
