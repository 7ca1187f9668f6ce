#include "db/Query.h"

#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "db/Cursor.h"
#include "db/NamedParameters.h"

#include <QDate>
#include <algorithm>
#include <vector>

namespace db {

using dataset::FieldType;

namespace {

// The type an undeclared column takes from the values it produced.
FieldType typeOfValues(const QList<dataset::Row> &rows, int column)
{
    bool sawInteger = false;
    bool sawFloat = false;
    for (const dataset::Row &row : rows) {
        const QVariant &v = row[column];
        if (dataset::isNullValue(v))
            continue;
        switch (v.typeId()) {
        case QMetaType::LongLong: case QMetaType::Int:
            sawInteger = true;
            break;
        case QMetaType::Double:
            sawFloat = true;
            break;
        case QMetaType::QByteArray:
            return FieldType::Blob;
        default:
            return FieldType::String;
        }
    }
    if (sawFloat)
        return FieldType::Float;
    return sawInteger ? FieldType::Integer : FieldType::String;
}

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

// "yyyy-MM-dd", the form SQLite keeps dates in, read without building a date-time first.
QDate plainDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 1 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

// A non-null value in the representation of a field of this type; one that does not fit is an
// error naming the column.
QVariant toColumnType(const QString &column, FieldType type, const QVariant &raw)
{
    QVariant result;
    if (!dataset::toFieldValue(type, raw, &result))
        throw tkt::Error(QStringLiteral("O valor \"%1\" da coluna %2 não é do tipo %3.")
                             .arg(raw.toString().left(50), column, dataset::fieldTypeName(type)));
    return result;
}

} // namespace

Query::Query(Connection &connection) : m_connection(connection)
{
    m_connection.attach(this);
}

Query::~Query()
{
    release();
    if (m_attached)
        m_connection.detach(this);
}

void Query::setSql(const QString &sql)
{
    release();
    PositionalSql positional = toPositional(sql);
    // Values are kept by name: a new text with a parameter of the same name runs with its value.
    for (qsizetype i = 0; i < m_names.size(); ++i)
        m_values.insert(m_names.at(i), m_slotValues.at(i));
    m_sql = sql;
    m_positionalSql = std::move(positional.sql);
    m_names.clear();
    m_slotValues.clear();
    m_slotOf.clear();
    for (const QString &name : std::as_const(positional.occurrences)) {
        qsizetype slot = m_names.indexOf(name);
        if (slot < 0) {
            slot = m_names.size();
            m_names.append(name);
            m_slotValues.append(m_values.value(name));
        }
        m_slotOf.push_back(int(slot));
    }
}

int Query::slotOf(const QString &name) const
{
    // Callers nearly always spell the name as the text does, in upper case.
    qsizetype slot = m_names.indexOf(name);
    if (slot < 0)
        slot = m_names.indexOf(name.toUpper());
    return int(slot);
}

bool Query::hasParameter(const QString &name) const
{
    return slotOf(name) >= 0;
}

QStringList Query::parameterNames() const
{
    return m_names;
}

void Query::setParam(const QString &name, const QString &value)
{
    const int slot = slotOf(name);
    if (slot < 0)
        throw tkt::Error(QStringLiteral("A consulta não tem o parâmetro %1.").arg(name));
    m_slotValues[slot] = value;
}

void Query::setColumnType(const QString &column, FieldType type)
{
    m_columnTypes.insert(column.toUpper(), type);
    // The columns are described again on the next run, with this type.
    close();
    m_described = false;
}

QString Query::param(const QString &name) const
{
    const int slot = slotOf(name);
    if (slot < 0)
        throw tkt::Error(QStringLiteral("A consulta não tem o parâmetro %1.").arg(name));
    return m_slotValues.at(slot);
}

void Query::prepare()
{
    m_cursor.reset();
    m_described = false;
    m_preparedGeneration = -1;
    m_cursor = Cursor::prepare(m_connection, m_positionalSql);
    m_preparedGeneration = m_connection.generation();
}

void Query::open()
{
    if (m_active)
        return;
    if (!m_attached)
        throw tkt::Error(QStringLiteral("A conexão com o banco de dados não está aberta."));
    if (!m_connection.connected()) {
        // A connection whose link died and could not be replaced then tries again now: the
        // server may be back. One that never opened says why it did not.
        if (!m_connection.lostLink()) {
            if (!m_connection.lastFailure().isEmpty())
                throw tkt::Error(m_connection.lastFailure());
            throw tkt::Error(QStringLiteral("A conexão com o banco de dados não está aberta."));
        }
        m_connection.reopenAfterLoss();
    }
    // The text is long and the check runs on every open: look for a non-blank without copying it.
    if (std::all_of(m_sql.cbegin(), m_sql.cend(), [](QChar c) { return c.isSpace(); }))
        throw tkt::Error(QStringLiteral("A consulta não tem texto SQL."));

    for (qsizetype i = 0; i < m_slotValues.size(); ++i) {
        // ODBC drivers end a text at its first NUL, so the database would see another value.
        if (m_slotValues.at(i).contains(QChar(u'\0')))
            throw tkt::Error(QStringLiteral("O valor do parâmetro %1 contém um caractere nulo, que não pode ser "
                                            "enviado ao banco de dados.").arg(m_names.at(i)));
    }
    try {
        run();
    } catch (const tkt::Timeout &) {
        // Not run again: the operator waited once already. The link is let go; the next query
        // connects anew.
        m_connection.dropTimedOutLink();
        throw;
    } catch (const ConnectionLost &lost) {
        // Nothing was read yet: the same read runs once more on a fresh link, which the operator
        // never notices. When no fresh link can be had, the read fails with the database's text.
        try {
            m_connection.reopenAfterLoss();
        } catch (const std::exception &) {
            throw lost;
        }
        run();
    }
}

void Query::run()
{
    // The list is kept from run to run: filling it again takes no allocation.
    m_runValues.resize(qsizetype(m_slotOf.size()));
    for (size_t i = 0; i < m_slotOf.size(); ++i)
        m_runValues[qsizetype(i)] = m_slotValues.at(m_slotOf[i]);

    if (!m_cursor || m_preparedGeneration != m_connection.generation())
        prepare();
    m_cursor->exec(m_runValues);
    if (!m_described) {
        m_columns = m_cursor->describe();
        for (Column &column : m_columns) {
            if (!column.typeFromValues)
                continue;
            const auto set = m_columnTypes.constFind(column.name);
            if (set == m_columnTypes.cend())
                continue;
            column.type = *set;
            column.typeFromValues = false;
        }
        // The last fetch's list names the columns as they were described; the new ones may differ.
        m_lastFields.clear();
        m_columnIndex.clear();
        for (int i = 0; i < m_columns.size(); ++i)
            m_columnIndex.insert(m_columns[i].name, i);
        m_namesUnique = m_columnIndex.size() == m_columns.size();
        m_described = true;
    }
    m_active = true;
    advance();
    m_anyRow = m_onRow;
}

void Query::advance()
{
    m_nextColumn = 0;
    try {
        m_onRow = m_cursor->next();
    } catch (...) {
        close();
        throw;
    }
}

void Query::close()
{
    if (m_cursor)
        m_cursor->finish();
    m_active = false;
    m_onRow = false;
    m_anyRow = false;
}

void Query::release()
{
    m_cursor.reset();
    m_preparedGeneration = -1;
    m_described = false;
    m_active = false;
    m_onRow = false;
    m_anyRow = false;
}

bool Query::eof() const
{
    return !m_onRow;
}

void Query::next()
{
    if (m_onRow)
        advance();
}

bool Query::isEmpty()
{
    return !m_anyRow;
}

int Query::columnIndex(const QString &column) const
{
    // Readers mostly take a row's columns in the order the SELECT lists them: the column after the
    // last one found on this row (the first on a new row) is tried before the name is hashed. A name
    // the SELECT lists twice is always its last column, as the hash has it, so the guess is left
    // out then. (Views are compared: Qt 6.4's == on two QStrings runs its general ordering
    // comparison, views only test for equal characters.)
    if (m_namesUnique && m_nextColumn < m_columns.size()
        && QStringView(m_columns.at(m_nextColumn).name) == QStringView(column))
        return m_nextColumn++;
    auto it = m_columnIndex.constFind(column);
    if (it == m_columnIndex.cend())
        it = m_columnIndex.constFind(column.toUpper());
    if (it == m_columnIndex.cend())
        throw tkt::Error(QStringLiteral("A consulta não tem a coluna %1.").arg(column));
    m_nextColumn = it.value() + 1;
    return it.value();
}

QVariant Query::converted(int index, const QVariant &raw) const
{
    const Column &column = m_columns[index];
    if (dataset::isNullValue(raw))
        return {};
    if (column.typeFromValues || dataset::inFieldRepresentation(column.type, raw))
        return raw;
    return toColumnType(column.name, column.type, raw);
}

QVariant Query::value(const QString &column) const
{
    if (!m_onRow)
        throw tkt::Error(QStringLiteral("A consulta não está em uma linha para ler a coluna %1.").arg(column));
    return readValue(columnIndex(column));
}

QString Query::text(const QString &column) const
{
    if (!m_onRow)
        throw tkt::Error(QStringLiteral("A consulta não está em uma linha para ler a coluna %1.").arg(column));
    const int index = columnIndex(column);
    // A text column holding a text or a null needs no value in between: the text is read as it is.
    const Column &described = m_columns[index];
    QString direct;
    if ((described.typeFromValues || described.type == FieldType::String) && m_cursor->text(index, &direct))
        return direct;
    const QVariant v = readValue(index);
    if (described.typeFromValues)
        return v.toString();
    return dataset::valueText(described.type, v);
}

dataset::FieldList Query::fieldList() const
{
    if (!m_described)
        throw tkt::Error(QStringLiteral("A consulta não foi aberta: não há lista de campos."));
    m_fieldCache.clear();
    m_fieldCache.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column &column = m_columns[i];
        dataset::Field field;
        field.name = column.name;
        field.type = column.type;
        field.width = column.width;
        QVariant v;
        if (m_onRow)
            v = m_cursor->value(i);
        if (column.typeFromValues && m_onRow && !dataset::isNullValue(v))
            field.type = typeOfValues({dataset::Row{v}}, 0);
        if (field.type == FieldType::String)
            field.width = std::max<int>({field.width, 1, int(dataset::isNullValue(v) ? 0 : v.toString().size())});
        m_fieldCache.append(field);
    }
    return m_fieldCache;
}

QVariant Query::readValue(int i) const
{
    const Column &column = m_columns[i];
    QVariant v;
    if (column.typeFromValues || !m_cursor->fieldValue(i, column.type, &v)) {
        v = m_cursor->value(i);
        // A plain ISO date needs no general parse.
        if (!column.typeFromValues && column.type == FieldType::Date && v.typeId() == QMetaType::QString) {
            const QDate date = plainDate(*static_cast<const QString *>(v.constData()));
            if (date.isValid())
                v = date;
        }
        v = converted(i, v);
    }
    return v;
}

QVariant Query::readValue(int i, std::vector<int> &longest) const
{
    QVariant v = readValue(i);
    const Column &column = m_columns[i];
    if (!column.typeFromValues && column.type == FieldType::String && v.isValid())
        longest[i] = std::max(longest[i], int(static_cast<const QString *>(v.constData())->size()));
    return v;
}

dataset::FieldList Query::fetchedFields(const std::vector<FieldType> &types, const std::vector<int> &longest)
{
    // The field list is made again only when a type or a width differs from the last run's: a
    // shared list is also checked once by the tables and packets made from it, not on every run.
    const int count = int(m_columns.size());
    auto widthOf = [&](int i) {
        // SQLite does not hold text to its declared width; the packet must still describe its rows.
        if (types[i] == FieldType::String)
            return std::max({m_columns[i].width, longest[i], 1});
        return types[i] == FieldType::Blob ? m_columns[i].width : 0;
    };
    bool same = m_lastFields.size() == count;
    for (int i = 0; same && i < count; ++i)
        same = m_lastFields.at(i).type == types[i] && m_lastFields.at(i).width == widthOf(i);
    if (!same) {
        dataset::FieldList made;
        made.reserve(count);
        for (int i = 0; i < count; ++i) {
            dataset::Field field;
            field.name = m_columns[i].name;
            field.type = types[i];
            field.width = widthOf(i);
            made.append(field);
        }
        m_lastFields = std::move(made);
    }
    return m_lastFields;
}

void Query::fetchRows(dataset::FieldList &fields, QList<dataset::Row> &rows)
{
    if (!m_active)
        throw tkt::Error(QStringLiteral("A consulta não está aberta."));
    const int count = int(m_columns.size());
    std::vector<int> longest(count, 0);
    while (m_onRow) {
        dataset::Row row(count);
        QVariant *values = row.data();
        for (int i = 0; i < count; ++i)
            values[i] = readValue(i, longest);
        rows.append(std::move(row));
        advance();
    }

    std::vector<FieldType> types(count);
    for (int i = 0; i < count; ++i) {
        types[i] = m_columns[i].type;
        if (!m_columns[i].typeFromValues)
            continue;
        types[i] = typeOfValues(rows, i);
        for (dataset::Row &row : rows) {
            QVariant &v = row[i];
            if (dataset::isNullValue(v))
                continue;
            v = toColumnType(m_columns[i].name, types[i], v);
            if (types[i] == FieldType::String)
                longest[i] = std::max(longest[i], int(v.toString().size()));
        }
    }
    fields = fetchedFields(types, longest);
}

QByteArray Query::fetchPacket()
{
    if (!m_active)
        throw tkt::Error(QStringLiteral("A consulta não está aberta."));
    const int count = int(m_columns.size());
    const bool typedByValues = std::any_of(m_columns.cbegin(), m_columns.cend(),
                                           [](const Column &c) { return c.typeFromValues; });
    if (typedByValues) {
        // The type of such a column is known only after the last row, and a packet names it first.
        dataset::FieldList fields;
        QList<dataset::Row> rows;
        fetchRows(fields, rows);
        return dataset::packet::encode(fields, rows);
    }

    // Each row goes into the packet as it is read: no table of every row is kept meanwhile.
    std::vector<FieldType> types(count);
    for (int i = 0; i < count; ++i)
        types[i] = m_columns[i].type;
    std::vector<int> longest(count, 0);
    // Values are written by their field's type; the widths are settled after the last row.
    dataset::FieldList typed = m_lastFields;
    bool sameTypes = typed.size() == count;
    for (int i = 0; sameTypes && i < count; ++i)
        sameTypes = typed.at(i).type == types[i];
    if (!sameTypes)
        typed = fetchedFields(types, longest);
    dataset::packet::RowWriter writer(64 + qsizetype(count) * 16);
    QByteArrayView ascii;
    while (m_onRow) {
        writer.startRow(count);
        for (int i = 0; i < count; ++i) {
            // Most texts are codes and names in ASCII: one character per byte, copied as they are.
            if (types[i] == FieldType::String && m_cursor->asciiText(i, &ascii)) {
                longest[i] = std::max(longest[i], int(ascii.size()));
                writer.asciiText(ascii);
            } else {
                writer.value(typed.at(i), readValue(i, longest));
            }
        }
        advance();
    }
    return writer.finish(fetchedFields(types, longest));
}

dataset::Table Query::fetchAll()
{
    dataset::FieldList fields;
    QList<dataset::Row> rows;
    fetchRows(fields, rows);
    return dataset::Table::ofFieldValues(std::move(fields), std::move(rows));
}

QByteArray packetOf(Query &query)
{
    const bool started = !query.active();
    if (started)
        query.open();
    QByteArray packet;
    try {
        packet = query.fetchPacket();
    } catch (...) {
        if (started)
            query.close();
        throw;
    }
    if (started)
        query.close();
    return packet;
}

} // namespace db
