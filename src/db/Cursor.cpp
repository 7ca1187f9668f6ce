#include "db/Cursor.h"

#include "contracts/Errors.h"
#include "contracts/Log.h"
#include "db/OdbcCursor.h"
#include "db/ServerLink.h"
#include "db/WaitBound.h"

#include <QSqlDriver>
#include <sqlite3.h>
#include <vector>

namespace db {

using dataset::FieldType;
using Column = Query::Column;

namespace {

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

// SQLite keeps the declared type of a column as written; its affinity rules say what it means.
Column fromSqliteDeclaration(const QString &name, const char *declaration)
{
    const QByteArray decl = QByteArray(declaration).trimmed().toUpper();
    auto column = [&](FieldType type, int width = 0) { return Column{name, type, width, false}; };
    if (decl.isEmpty())
        return Column{name, FieldType::String, 0, true};
    if (decl.contains("INT"))
        return column(FieldType::Integer);
    if (decl.contains("CHAR") || decl.contains("CLOB") || decl.contains("TEXT"))
        return column(FieldType::String, widthIn(decl));
    if (decl.contains("BLOB") || decl.contains("BINARY"))
        return column(FieldType::Blob, widthIn(decl));
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB") || decl.contains("NUMERIC")
        || decl.contains("DECIMAL") || decl.contains("NUMBER") || decl.contains("MONEY"))
        return column(FieldType::Float);
    if (decl.contains("DATETIME") || decl.contains("TIMESTAMP"))
        return column(FieldType::DateTime);
    if (decl.contains("DATE"))
        return column(FieldType::Date);
    if (decl.startsWith("BOOL"))
        return column(FieldType::Boolean);
    return column(FieldType::String, widthIn(decl));
}

QString prepareFailed(const QString &reason)
{
    return QStringLiteral("Erro ao preparar a consulta: %1").arg(reason);
}

QString execFailed(const QString &reason)
{
    return QStringLiteral("Erro ao executar a consulta: %1").arg(reason);
}

class SqliteCursor final : public Query::Cursor {
public:
    SqliteCursor(sqlite3 *db, const QString &sql) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v3(m_db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                          &m_statement, nullptr);
        if (rc != SQLITE_OK || !m_statement) {
            const QString reason = rc != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                                   : QStringLiteral("o texto não tem comando SQL");
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
            if ((rc & 0xff) == SQLITE_BUSY)
                throwLocked(reason);
            throw tkt::Error(prepareFailed(reason));
        }
        const int markers = sqlite3_bind_parameter_count(m_statement);
        m_bound.resize(markers);
        m_boundText.resize(markers);
        m_boundOnce.resize(markers, false);
    }
    ~SqliteCursor() override { sqlite3_finalize(m_statement); }

    // Another program holds the file locked past the connection's wait (its Command Timeout).
    [[noreturn]] void throwLocked(const QString &reason) const
    {
        qCWarning(lcDb).noquote() << "the database file stayed locked:" << reason;
        throw serverDidNotAnswer((lockWaitMilliseconds() + 999) / 1000);
    }

    int lockWaitMilliseconds() const
    {
        sqlite3_stmt *pragma = nullptr;
        int ms = 0;
        if (sqlite3_prepare_v2(m_db, "PRAGMA busy_timeout", -1, &pragma, nullptr) == SQLITE_OK
            && sqlite3_step(pragma) == SQLITE_ROW)
            ms = sqlite3_column_int(pragma, 0);
        sqlite3_finalize(pragma);
        return ms;
    }

    void exec(const QList<QString> &values) override
    {
        sqlite3_reset(m_statement);
        if (values.size() != qsizetype(m_bound.size()))
            throw tkt::Error(execFailed(QStringLiteral("a consulta tem %1 marcadores de parâmetro e recebeu %2 valores.")
                                            .arg(m_bound.size())
                                            .arg(values.size())));
        for (int i = 0; i < values.size(); ++i) {
            // A binding outlives the reset: a marker whose value did not change since the last run
            // keeps it (a null and an empty text are different values).
            if (m_boundOnce[i] && values[i].isNull() == m_boundText[i].isNull() && values[i] == m_boundText[i])
                continue;
            m_boundOnce[i] = false;
            int rc;
            if (values[i].isNull()) {
                rc = sqlite3_bind_null(m_statement, i + 1);
            } else {
                m_bound[i] = values[i].toUtf8();
                rc = sqlite3_bind_text(m_statement, i + 1, m_bound[i].constData(), int(m_bound[i].size()), SQLITE_STATIC);
            }
            if (rc != SQLITE_OK)
                throw tkt::Error(execFailed(QString::fromUtf8(sqlite3_errmsg(m_db))));
            m_boundText[i] = values[i];
            m_boundOnce[i] = true;
        }
    }

    bool next() override
    {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(m_statement);
        if ((rc & 0xff) == SQLITE_BUSY)
            throwLocked(reason);
        throw tkt::Error(execFailed(reason));
    }

    QVariant value(int column) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_statement, column));
        case SQLITE_TEXT:
            return QVariant(textAt(column));
        case SQLITE_BLOB: {
            const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
            return QVariant(QByteArray(bytes, sqlite3_column_bytes(m_statement, column)));
        }
        default:
            return QVariant();
        }
    }

    bool fieldValue(int column, dataset::FieldType type, QVariant *value) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_NULL:
            *value = QVariant();
            return true;
        case SQLITE_TEXT:
            if (type != dataset::FieldType::String)
                return false;
            *value = QVariant(textAt(column));
            return true;
        case SQLITE_INTEGER:
            // A whole number in a Float column is what SQLite keeps for 0 or 12.0.
            if (type == dataset::FieldType::Integer)
                *value = QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
            else if (type == dataset::FieldType::Float)
                *value = QVariant(double(sqlite3_column_int64(m_statement, column)));
            else
                return false;
            return true;
        case SQLITE_FLOAT:
            if (type != dataset::FieldType::Float)
                return false;
            *value = QVariant(sqlite3_column_double(m_statement, column));
            return true;
        default:
            return false;
        }
    }

    bool text(int column, QString *text) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_NULL:
            *text = QString();
            return true;
        case SQLITE_TEXT:
            *text = textAt(column);
            return true;
        default:
            return false;
        }
    }

    bool asciiText(int column, QByteArrayView *text) const override
    {
        if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
            return false;
        const auto *bytes = sqlite3_column_text(m_statement, column);
        const int size = sqlite3_column_bytes(m_statement, column);
        for (int i = 0; i < size; ++i)
            if (bytes[i] >= 0x80)
                return false;
        *text = QByteArrayView(reinterpret_cast<const char *>(bytes), size);
        return true;
    }

    QList<Column> describe() const override
    {
        QList<Column> columns;
        const int count = sqlite3_column_count(m_statement);
        columns.reserve(count);
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(sqlite3_column_name(m_statement, i)).toUpper();
            columns.append(fromSqliteDeclaration(name, sqlite3_column_decltype(m_statement, i)));
        }
        return columns;
    }

    void finish() override { sqlite3_reset(m_statement); }

private:
    // The column's text; the column must hold a text.
    QString textAt(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                                 sqlite3_column_bytes(m_statement, column));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    std::vector<QByteArray> m_bound; // the texts bound without a copy live here until the next run
    std::vector<QString> m_boundText; // the value each marker is bound to
    std::vector<char> m_boundOnce;   // whether it is bound at all
};

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    if (!db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

std::unique_ptr<Query::Cursor> Query::Cursor::prepare(Connection &connection, const QString &sql)
{
    const QSqlDatabase db = connection.database();
    if (sqlite3 *handle = sqliteHandle(db))
        return std::make_unique<SqliteCursor>(handle, sql);
    if (connection.link() && connection.link()->odbcHandle())
        return prepareOdbcCursor(*connection.link(), sql);
    // Connection strings map onto these two drivers only.
    throw tkt::Error(prepareFailed(QStringLiteral("o driver %1 não é atendido.").arg(db.driverName())));
}

} // namespace db
