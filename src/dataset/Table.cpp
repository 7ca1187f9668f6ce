#include "dataset/Table.h"

#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Texts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dataset {

namespace {

bool sameValue(FieldType type, const QVariant &a, const QVariant &b)
{
    const bool aNull = isNullValue(a), bNull = isNullValue(b);
    if (aNull || bNull)
        return aNull && bNull;
    switch (type) {
    case FieldType::String: return a.toString() == b.toString();
    case FieldType::Integer: return a.toLongLong() == b.toLongLong();
    case FieldType::Float: return a.toDouble() == b.toDouble();
    case FieldType::Boolean: return a.toBool() == b.toBool();
    case FieldType::DateTime: return a.toDateTime() == b.toDateTime();
    case FieldType::Date: return a.toDate() == b.toDate();
    case FieldType::Blob: return a.toByteArray() == b.toByteArray();
    }
    return false;
}

} // namespace

QVariant RowView::value(const QString &fieldName) const
{
    const int i = m_table.fieldIndex(fieldName);
    if (i < 0)
        throw tkt::Error(texts::noSuchField(fieldName));
    return i < m_row.size() ? m_row.at(i) : QVariant();
}

QString RowView::text(const QString &fieldName) const
{
    const QVariant v = value(fieldName);
    return valueText(m_table.fields().at(m_table.fieldIndex(fieldName)).type, v);
}

Table::Table(FieldList fields)
{
    setFields(std::move(fields));
}

Table::Table(FieldList fields, QList<Row> rows)
{
    adopt(std::move(fields), std::move(rows), true);
}

Table Table::ofFieldValues(FieldList fields, QList<Row> rows)
{
    Table table;
    table.adopt(std::move(fields), std::move(rows), false);
    return table;
}

void Table::adopt(FieldList fields, QList<Row> rows, bool convert)
{
    checkFields(fields);
    const qsizetype width = fields.size();
    for (qsizetype r = 0; r < rows.size(); ++r) {
        Row &row = rows[r];
        if (row.size() != width)
            throw tkt::Error(texts::rowValueCount(r + 1, row.size(), width));
        if (!convert) {
            for (qsizetype c = 0; c < width; ++c)
                Q_ASSERT(!row.at(c).isValid() || inFieldRepresentation(fields.at(c).type, row.at(c)));
            continue;
        }
        for (qsizetype c = 0; c < width; ++c) {
            QVariant &v = row[c];
            const FieldType type = fields.at(c).type;
            if (isNullValue(v)) {
                if (v.isValid())
                    v = QVariant();
                continue;
            }
            if (inFieldRepresentation(type, v))
                continue;
            QVariant stored;
            if (!toFieldValue(type, v, &stored))
                throw tkt::Error(texts::rowValueDoesNotFit(r + 1, v.toString(), fields.at(c).name, fieldTypeName(type)));
            v = std::move(stored);
        }
    }
    m_fields = std::move(fields);
    m_rows = std::move(rows);
    m_visible = computeVisible();
    first();
}

void Table::setFields(FieldList fields)
{
    checkFields(fields);
    m_fields = std::move(fields);
    emptyTable();
}

int Table::fieldIndex(const QString &name) const
{
    // Callers nearly always spell the name as the field does; that comparison is a memcmp.
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).name == name)
            return i;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Table::requireField(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw tkt::Error(texts::noSuchField(name));
    return i;
}

Field &Table::field(const QString &name)
{
    return m_fields[requireField(name)];
}

const Field &Table::field(const QString &name) const
{
    return m_fields.at(requireField(name));
}

int Table::recordCount() const
{
    return int(m_visible.size());
}

void Table::first()
{
    m_cursor = 0;
    m_eof = m_visible.isEmpty();
}

void Table::next()
{
    if (m_cursor + 1 < m_visible.size())
        ++m_cursor;
    else
        m_eof = true;
}

bool Table::eof() const
{
    return m_eof || m_visible.isEmpty();
}

int Table::recNo() const
{
    return m_visible.isEmpty() ? -1 : m_cursor;
}

void Table::moveTo(int position)
{
    if (position < 0 || position >= m_visible.size())
        throw tkt::Error(texts::rowOutOfRange(position, m_visible.size()));
    m_cursor = position;
    m_eof = false;
}

const Row &Table::visibleRow(int position) const
{
    if (position < 0 || position >= m_visible.size())
        throw tkt::Error(texts::rowOutOfRange(position, m_visible.size()));
    return m_rows.at(m_visible.at(position));
}

int Table::currentIndex() const
{
    return m_visible.isEmpty() ? -1 : m_visible.at(m_cursor);
}

int Table::requireCurrent() const
{
    const int i = currentIndex();
    if (i < 0)
        throw tkt::Error(texts::noCurrentRow());
    return i;
}

QVariant Table::value(const QString &fieldName) const
{
    const int f = requireField(fieldName);
    return m_rows.at(requireCurrent()).at(f);
}

QString Table::text(const QString &fieldName) const
{
    const int f = requireField(fieldName);
    return valueText(m_fields.at(f).type, m_rows.at(requireCurrent()).at(f));
}

void Table::setValue(const QString &fieldName, const QVariant &value)
{
    const int f = requireField(fieldName);
    const int row = requireCurrent();
    QVariant stored;
    if (!toFieldValue(m_fields.at(f).type, value, &stored))
        throw tkt::Error(texts::valueDoesNotFit(value.toString(), m_fields.at(f).name, fieldTypeName(m_fields.at(f).type)));
    m_rows[row][f] = stored;
}

void Table::append()
{
    m_rows.append(Row(m_fields.size()));
    // The new row shows until post(), whatever the filter says, so that it can be filled in.
    m_visible.append(int(m_rows.size()) - 1);
    m_cursor = int(m_visible.size()) - 1;
    m_eof = false;
}

void Table::post()
{
    if (m_filtered && m_predicate)
        showRows(computeVisible(), currentIndex());
}

bool Table::locate(const QString &fieldName, const QVariant &value)
{
    const int f = requireField(fieldName);
    const FieldType type = m_fields.at(f).type;
    QVariant target;
    if (!toFieldValue(type, value, &target))
        return false;
    for (int pos = 0; pos < m_visible.size(); ++pos) {
        if (sameValue(type, m_rows.at(m_visible.at(pos)).at(f), target)) {
            m_cursor = pos;
            m_eof = false;
            return true;
        }
    }
    return false;
}

void Table::setFilter(Predicate predicate)
{
    if (!m_filtered) {
        m_predicate = std::move(predicate);
        return;
    }
    QList<int> visible;
    std::swap(predicate, m_predicate);
    try {
        visible = computeVisible();
    } catch (...) {
        std::swap(predicate, m_predicate);
        throw;
    }
    showRows(std::move(visible), -1);
}

void Table::setFiltered(bool on)
{
    m_filtered = on;
    try {
        showRows(computeVisible(), -1);
    } catch (...) {
        m_filtered = !on;
        throw;
    }
}

QList<int> Table::computeVisible() const
{
    QList<int> visible;
    const bool filtering = m_filtered && m_predicate;
    visible.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        if (!filtering || m_predicate(RowView(*this, m_rows.at(i))))
            visible.append(i);
    return visible;
}

void Table::showRows(QList<int> visible, int keepRowIndex)
{
    const int oldCursor = m_cursor;
    m_visible = std::move(visible);
    if (keepRowIndex >= 0) {
        const qsizetype pos = m_visible.indexOf(keepRowIndex);
        if (pos >= 0) {
            m_cursor = int(pos);
            m_eof = false;
            return;
        }
        // The row left the visible ones: the row that followed it takes its place.
        m_cursor = std::max(0, std::min(oldCursor, int(m_visible.size()) - 1));
        m_eof = m_visible.isEmpty();
        return;
    }
    first();
}

void Table::emptyTable()
{
    m_rows.clear();
    m_visible.clear();
    first();
}

Row Table::currentRow() const
{
    return m_rows.at(requireCurrent());
}

Table Table::fromPacket(const QByteArray &packet)
{
    Table table;
    table.loadPacket(packet);
    return table;
}

void Table::loadPacket(const QByteArray &packet)
{
    packet::Contents contents = packet::decode(packet);
    Table loaded;
    loaded.m_fields = std::move(contents.fields);
    loaded.m_rows = std::move(contents.rows);
    loaded.m_predicate = m_predicate;
    loaded.m_filtered = m_filtered;
    loaded.m_visible = loaded.computeVisible();
    loaded.first();
    *this = std::move(loaded);
}

QByteArray Table::toPacket() const
{
    return packet::encode(m_fields, m_rows);
}

void Table::loadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(texts::cannotOpenTableFile(
            path, QFileInfo::exists(path) ? file.errorString() : texts::fileDoesNotExist()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw tkt::Error(texts::cannotReadTableFile(path, file.errorString()));
    try {
        loadPacket(bytes);
    } catch (const tkt::Error &e) {
        throw tkt::Error(texts::damagedTableFile(path, e.message()));
    }
}

void Table::saveToFile(const QString &path) const
{
    const QByteArray bytes = toPacket();
    // Written beside the old file and renamed over it, so a failed save never leaves half a table.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw tkt::Error(texts::cannotWriteTableFile(path, file.errorString()));
}

} // namespace dataset
