#include "db/Query.h"

#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "db/NamedParameters.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <sqlite3.h>
#include <algorithm>
#include <vector>

namespace db {

using dataset::FieldType;

namespace {

struct Declared {
    FieldType type = FieldType::String;
    int width = 0;
    bool known = true;
};

int widthIn(const QByteArray &decl)
{
    const qsizetype open = decl.indexOf('(');
    if (open < 0)
        return 0;
    qsizetype end = open + 1;
    while (end < decl.size() && decl[end] >= '0' && decl[end] <= '9')
        ++end;
    bool ok = false;
    const int width = decl.mid(open + 1, end - open - 1).toInt(&ok);
    return ok && width > 0 && width <= dataset::kMaxFieldWidth ? width : 0;
}

// SQLite keeps the declared type of a column as written; its affinity rules decide what it means.
Declared fromSqliteDeclaration(const char *declaration)
{
    const QByteArray decl = QByteArray(declaration).trimmed().toUpper();
    if (decl.isEmpty())
        return {FieldType::String, 0, false};
    if (decl.contains("INT"))
        return {FieldType::Integer, 0, true};
    if (decl.contains("CHAR") || decl.contains("CLOB") || decl.contains("TEXT"))
        return {FieldType::String, widthIn(decl), true};
    if (decl.contains("BLOB") || decl.contains("BINARY"))
        return {FieldType::Blob, widthIn(decl), true};
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB") || decl.contains("NUMERIC")
        || decl.contains("DECIMAL") || decl.contains("NUMBER") || decl.contains("MONEY"))
        return {FieldType::Float, 0, true};
    if (decl.contains("DATETIME") || decl.contains("TIMESTAMP"))
        return {FieldType::DateTime, 0, true};
    if (decl.contains("DATE"))
        return {FieldType::Date, 0, true};
    if (decl.startsWith("BOOL"))
        return {FieldType::Boolean, 0, true};
    return {FieldType::String, widthIn(decl), true};
}

Declared fromQtField(const QSqlField &field)
{
    const int length = field.length() > 0 && field.length() <= dataset::kMaxFieldWidth ? field.length() : 0;
    switch (field.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char: case QMetaType::SChar:
    case QMetaType::UChar: case QMetaType::Long: case QMetaType::ULong:
        return {FieldType::Integer, 0, true};
    case QMetaType::Double: case QMetaType::Float:
        return {FieldType::Float, 0, true};
    case QMetaType::Bool:
        return {FieldType::Boolean, 0, true};
    case QMetaType::QDate:
        return {FieldType::Date, 0, true};
    case QMetaType::QDateTime:
        return {FieldType::DateTime, 0, true};
    case QMetaType::QByteArray:
        return {FieldType::Blob, length, true};
    case QMetaType::QString:
        return {FieldType::String, length, true};
    case QMetaType::UnknownType:
        return {FieldType::String, 0, false};
    default:
        return {FieldType::String, length, true};
    }
}

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

sqlite3_stmt *sqliteStatement(const QSqlQuery &query)
{
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(handle.constData());
}

QString badValue(const QString &column, FieldType type, const QVariant &raw)
{
    return QStringLiteral("O valor \"%1\" da coluna %2 não é do tipo %3.")
        .arg(raw.toString().left(50), column, dataset::fieldTypeName(type));
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
    m_sql = sql;
    m_positionalSql = std::move(positional.sql);
    m_occurrences = std::move(positional.occurrences);
}

QStringList Query::parameterNames() const
{
    QStringList names;
    for (const QString &name : m_occurrences)
        if (!names.contains(name))
            names.append(name);
    return names;
}

void Query::setParam(const QString &name, const QString &value)
{
    const QString key = name.toUpper();
    if (!m_occurrences.contains(key))
        throw tkt::Error(QStringLiteral("A consulta não tem o parâmetro %1.").arg(name));
    m_values.insert(key, value);
}

QString Query::param(const QString &name) const
{
    const QString key = name.toUpper();
    if (!m_occurrences.contains(key))
        throw tkt::Error(QStringLiteral("A consulta não tem o parâmetro %1.").arg(name));
    return m_values.value(key);
}

void Query::prepare()
{
    m_query.reset();
    m_described = false;
    m_preparedGeneration = -1;
    auto query = std::make_unique<QSqlQuery>(m_connection.database());
    query->setForwardOnly(true);
    query->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!query->prepare(m_positionalSql))
        throw tkt::Error(QStringLiteral("Erro ao preparar a consulta: %1").arg(query->lastError().text()));
    m_query = std::move(query);
    m_preparedGeneration = m_connection.generation();
}

void Query::open()
{
    if (m_active)
        return;
    if (!m_attached || !m_connection.connected())
        throw tkt::Error(QStringLiteral("A conexão com o banco de dados não está aberta."));
    if (m_sql.trimmed().isEmpty())
        throw tkt::Error(QStringLiteral("A consulta não tem texto SQL."));
    if (!m_query || m_preparedGeneration != m_connection.generation())
        prepare();

    for (int i = 0; i < m_occurrences.size(); ++i) {
        const QString value = m_values.value(m_occurrences[i]);
        // ODBC drivers end a text at its first NUL, so the database would see another value.
        if (value.contains(QChar(u'\0')))
            throw tkt::Error(QStringLiteral("O valor do parâmetro %1 contém um caractere nulo, que não pode ser "
                                            "enviado ao banco de dados.").arg(m_occurrences[i]));
        m_query->bindValue(i, value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value));
    }
    if (!m_query->exec()) {
        const QString reason = m_query->lastError().text();
        m_query->finish();
        throw tkt::Error(QStringLiteral("Erro ao executar a consulta: %1").arg(reason));
    }
    if (!m_described)
        describeColumns();
    m_active = true;
    advance();
    m_anyRow = m_onRow;
}

void Query::describeColumns()
{
    const QSqlRecord record = m_query->record();
    sqlite3_stmt *statement = sqliteStatement(*m_query);
    m_columns.clear();
    m_columnIndex.clear();
    m_columns.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        Column column;
        column.name = record.fieldName(i).toUpper();
        const Declared declared = statement ? fromSqliteDeclaration(sqlite3_column_decltype(statement, i))
                                            : fromQtField(record.field(i));
        column.type = declared.type;
        column.width = declared.width;
        column.typeFromValues = !declared.known;
        m_columnIndex.insert(column.name, i);
        m_columns.append(column);
    }
    m_described = true;
}

void Query::advance()
{
    m_onRow = m_query->next();
    if (!m_onRow) {
        const QSqlError error = m_query->lastError();
        if (error.type() != QSqlError::NoError) {
            close();
            throw tkt::Error(QStringLiteral("Erro ao ler as linhas da consulta: %1").arg(error.text()));
        }
    }
}

void Query::close()
{
    if (m_query)
        m_query->finish();
    m_active = false;
    m_onRow = false;
    m_anyRow = false;
}

void Query::release()
{
    m_query.reset();
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
    auto it = m_columnIndex.constFind(column);
    if (it == m_columnIndex.cend())
        it = m_columnIndex.constFind(column.toUpper());
    if (it == m_columnIndex.cend())
        throw tkt::Error(QStringLiteral("A consulta não tem a coluna %1.").arg(column));
    return it.value();
}

QVariant Query::converted(int index, const QVariant &raw) const
{
    const Column &column = m_columns[index];
    if (dataset::isNullValue(raw))
        return {};
    if (column.typeFromValues)
        return raw;
    QVariant result;
    if (!dataset::toFieldValue(column.type, raw, &result))
        throw tkt::Error(badValue(column.name, column.type, raw));
    return result;
}

QVariant Query::value(const QString &column) const
{
    if (!m_onRow)
        throw tkt::Error(QStringLiteral("A consulta não está em uma linha para ler a coluna %1.").arg(column));
    const int index = columnIndex(column);
    return converted(index, m_query->value(index));
}

QString Query::text(const QString &column) const
{
    if (!m_onRow)
        throw tkt::Error(QStringLiteral("A consulta não está em uma linha para ler a coluna %1.").arg(column));
    const int index = columnIndex(column);
    const QVariant v = converted(index, m_query->value(index));
    if (m_columns[index].typeFromValues)
        return v.toString();
    return dataset::valueText(m_columns[index].type, v);
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
            v = m_query->value(i);
        if (column.typeFromValues && m_onRow && !dataset::isNullValue(v))
            field.type = typeOfValues({dataset::Row{v}}, 0);
        if (field.type == FieldType::String)
            field.width = std::max<int>({field.width, 1, int(dataset::isNullValue(v) ? 0 : v.toString().size())});
        m_fieldCache.append(field);
    }
    return m_fieldCache;
}

void Query::fetchRows(dataset::FieldList &fields, QList<dataset::Row> &rows)
{
    if (!m_active)
        throw tkt::Error(QStringLiteral("A consulta não está aberta."));
    const int count = int(m_columns.size());
    std::vector<int> longest(count, 0);
    std::vector<FieldType> types(count);
    std::vector<char> raw(count);
    for (int i = 0; i < count; ++i) {
        types[i] = m_columns[i].type;
        raw[i] = m_columns[i].typeFromValues;
    }

    while (m_onRow) {
        dataset::Row row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) {
            QVariant v = m_query->value(i);
            if (dataset::isNullValue(v)) {
                row.append(QVariant());
                continue;
            }
            const int id = v.typeId();
            switch (raw[i] ? FieldType::Blob : types[i]) {
            case FieldType::String:
                if (id != QMetaType::QString && !dataset::toFieldValue(FieldType::String, v, &v))
                    throw tkt::Error(badValue(m_columns[i].name, types[i], v));
                longest[i] = std::max(longest[i], int(static_cast<const QString *>(v.constData())->size()));
                break;
            case FieldType::Integer:
                if (id != QMetaType::LongLong && !dataset::toFieldValue(FieldType::Integer, v, &v))
                    throw tkt::Error(badValue(m_columns[i].name, types[i], v));
                break;
            case FieldType::Float:
                if (id != QMetaType::Double && !dataset::toFieldValue(FieldType::Float, v, &v))
                    throw tkt::Error(badValue(m_columns[i].name, types[i], v));
                break;
            default:
                if (!raw[i]) {
                    QVariant converted;
                    if (!dataset::toFieldValue(types[i], v, &converted))
                        throw tkt::Error(badValue(m_columns[i].name, types[i], v));
                    v = std::move(converted);
                }
                break;
            }
            row.append(std::move(v));
        }
        rows.append(std::move(row));
        advance();
    }

    for (int i = 0; i < count; ++i) {
        if (!raw[i])
            continue;
        types[i] = typeOfValues(rows, i);
        for (dataset::Row &row : rows) {
            QVariant &v = row[i];
            if (dataset::isNullValue(v))
                continue;
            QVariant converted;
            if (!dataset::toFieldValue(types[i], v, &converted))
                throw tkt::Error(badValue(m_columns[i].name, types[i], v));
            v = std::move(converted);
            if (types[i] == FieldType::String)
                longest[i] = std::max(longest[i], int(v.toString().size()));
        }
    }

    fields.clear();
    fields.reserve(count);
    for (int i = 0; i < count; ++i) {
        dataset::Field field;
        field.name = m_columns[i].name;
        field.type = types[i];
        field.width = m_columns[i].width;
        // SQLite does not hold text to its declared width; the packet must still describe its rows.
        if (field.type == FieldType::String)
            field.width = std::max({field.width, longest[i], 1});
        else if (field.type != FieldType::Blob)
            field.width = 0;
        fields.append(field);
    }
}

dataset::Table Query::fetchAll()
{
    dataset::FieldList fields;
    QList<dataset::Row> rows;
    fetchRows(fields, rows);
    return dataset::Table::fromPacket(dataset::packet::encode(fields, rows));
}

QByteArray packetOf(Query &query)
{
    const bool started = !query.active();
    if (started)
        query.open();
    dataset::FieldList fields;
    QList<dataset::Row> rows;
    try {
        query.fetchRows(fields, rows);
    } catch (...) {
        if (started)
            query.close();
        throw;
    }
    if (started)
        query.close();
    return dataset::packet::encode(fields, rows);
}

} // namespace db
