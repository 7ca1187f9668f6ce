#include "db/OdbcCursor.h"

#include "contracts/Log.h"
#include "db/ServerLink.h"
#include "db/WaitBound.h"

#include <QDateTime>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace db {

using dataset::FieldType;
using Column = Query::Column;

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "texts cross the ODBC API as UTF-16");

// The diagnostics of a failed call, as the driver words them, and whether they say that the
// connection itself failed (SQLSTATE class 08).
struct Diagnostics {
    QString text;
    bool linkFailed = false;
    bool timedOut = false; // the driver's own bound ran out (HYT00, HYT01) or the server's (57014)
};

Diagnostics diagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle)
{
    Diagnostics d;
    QStringList messages;
    for (SQLSMALLINT record = 1; record <= 10; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message,
                                            SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        const QString sqlState = QString::fromUtf16(reinterpret_cast<const char16_t *>(state), 5);
        if (sqlState.startsWith(QLatin1String("08")))
            d.linkFailed = true;
        if (sqlState == QLatin1String("HYT00") || sqlState == QLatin1String("HYT01") || sqlState == QLatin1String("57014"))
            d.timedOut = true;
        const qsizetype size = std::min<qsizetype>(length, qsizetype(std::size(message)) - 1);
        const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(message), size).trimmed();
        if (!text.isEmpty() && !messages.contains(text))
            messages << text;
    }
    d.text = messages.isEmpty() ? QStringLiteral("o driver não informou o motivo.") : messages.join(QLatin1Char(' '));
    return d;
}

// Whether every character of the text is one that the Western code pages of SQL Server's Latin
// collations (1252, and ISO 8859-1 itself) hold alike: ASCII and the Latin-1 letters and signs.
bool fitsWesternCodePage(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 0xFF || (u >= 0x80 && u < 0xA0))
            return false;
    }
    return true;
}

bool linkDead(SQLHDBC hdbc)
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(hdbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE;
}

constexpr int kWidestDeclaredText = 8000;

// The column as Qt's ODBC driver would type it, so that a packet's field list is the same
// whichever reads it: numeric kinds are Float, times stay texts, anything unknown is bytes.
Column columnOf(const QString &name, SQLSMALLINT sqlType, SQLULEN size)
{
    const int width = size > 0 && size <= SQLULEN(dataset::kMaxFieldWidth) ? int(size) : 0;
    switch (sqlType) {
    case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIT: case SQL_TINYINT: case SQL_BIGINT:
        return Column{name, FieldType::Integer, 0, false};
    case SQL_DECIMAL: case SQL_NUMERIC: case SQL_FLOAT: case SQL_DOUBLE: case SQL_REAL:
        return Column{name, FieldType::Float, 0, false};
    case SQL_DATE: case SQL_TYPE_DATE:
        return Column{name, FieldType::Date, 0, false};
    case SQL_TIMESTAMP: case SQL_TYPE_TIMESTAMP:
        return Column{name, FieldType::DateTime, 0, false};
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR:
        // A long text type is also how psqlODBC reports a declared VARCHAR(400). An unbounded
        // text (TEXT, VARCHAR(MAX), a parameter echoed back) declares no width, only the driver's
        // own limit (psqlODBC says 8190, past the 8000 of the widest declared text a server
        // keeps): the rows give its width, as on SQLite.
        return Column{name, FieldType::String, width <= kWidestDeclaredText ? width : 0, false};
    case SQL_CHAR: case SQL_VARCHAR: case SQL_WCHAR: case SQL_WVARCHAR: case SQL_GUID: case SQL_TIME:
    case SQL_TYPE_TIME:
        return Column{name, FieldType::String, width, false};
    default:
        return Column{name, FieldType::Blob, width, false};
    }
}

// How a column's values are fetched.
enum class Fetch { Text, Integer, Double, Date, DateTime, Time, Bytes };

Fetch fetchOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIT: case SQL_TINYINT: case SQL_BIGINT:
        return Fetch::Integer;
    case SQL_DECIMAL: case SQL_NUMERIC: case SQL_FLOAT: case SQL_DOUBLE: case SQL_REAL:
        return Fetch::Double;
    case SQL_DATE: case SQL_TYPE_DATE:
        return Fetch::Date;
    case SQL_TIMESTAMP: case SQL_TYPE_TIMESTAMP:
        return Fetch::DateTime;
    case SQL_TIME: case SQL_TYPE_TIME:
        return Fetch::Time;
    case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR: case SQL_WCHAR: case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: case SQL_GUID:
        return Fetch::Text;
    default:
        return Fetch::Bytes;
    }
}

class OdbcCursor final : public Query::Cursor {
public:
    OdbcCursor(ServerLink &link, SQLHDBC hdbc, const QString &sql)
        : m_link(link), m_hdbc(hdbc), m_sql(sql), m_direct(link.runsStatementsDirectly()),
          m_narrowCodePage(link.kind() == DbKind::SqlServer)
    {
        m_stmt = static_cast<SQLHSTMT>(link.takeStatement(sql));
        if (m_stmt)
            return;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_hdbc, &m_stmt)))
            fail(SQL_HANDLE_DBC, m_hdbc, QStringLiteral("Erro ao preparar a consulta: %1"));
        // The driver's own bound: FreeTDS cancels the statement, psqlODBC has the server cancel
        // it (statement_timeout, set once per connection). Either leaves the connection usable.
        if (link.commandTimeout() > 0)
            SQLSetStmtAttr(m_stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(link.commandTimeout())), 0);
        if (m_direct)
            return;
        const SQLRETURN rc = SQLPrepareW(m_stmt, sqlText(), SQLINTEGER(m_sql.size()));
        if (!SQL_SUCCEEDED(rc)) {
            const Diagnostics d = diagnosticsOf(SQL_HANDLE_STMT, m_stmt);
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
            m_stmt = nullptr;
            throwFor(d, QStringLiteral("Erro ao preparar a consulta: %1"));
        }
    }

    ~OdbcCursor() override
    {
        if (!m_stmt)
            return;
        // Kept prepared on its link: the next query with this text, in this dialog or a later one,
        // runs it without preparing it again.
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        SQLFreeStmt(m_stmt, SQL_RESET_PARAMS);
        m_link.keepStatement(m_sql, m_stmt);
    }

    void exec(const QList<QString> &values) override
    {
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        m_described = false;
        m_values = values;
        m_indicators.assign(size_t(values.size()), 0);
        for (qsizetype i = 0; i < m_values.size(); ++i) {
            const QString &value = m_values.at(i);
            SQLLEN &indicator = m_indicators[size_t(i)];
            indicator = value.isNull() ? SQL_NULL_DATA : SQLLEN(value.size() * sizeof(SQLWCHAR));
            // Bound as the character type of the columns compared with it, not as a national one:
            // a server compares an NVARCHAR parameter with a VARCHAR index by converting every key,
            // a scan instead of a seek. One declared size for every value, so that a driver that
            // prepares per declaration prepares once. FreeTDS converts a VARCHAR value to the
            // server's code page and fails the call over a character it cannot hold, which also
            // leaves the connection waiting on a cancel: such a text goes as a national one (it
            // can match nothing that a VARCHAR column holds anyway).
            const qsizetype bytes = value.size() * 3;
            const bool national = m_narrowCodePage && !fitsWesternCodePage(value);
            const SQLSMALLINT sqlType = national ? (bytes <= kDeclaredSize ? SQL_WVARCHAR : SQL_WLONGVARCHAR)
                                                 : (bytes <= kDeclaredSize ? SQL_VARCHAR : SQL_LONGVARCHAR);
            const SQLULEN declared = bytes <= kDeclaredSize ? SQLULEN(kDeclaredSize) : SQLULEN(bytes);
            const SQLRETURN rc = SQLBindParameter(
                m_stmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, sqlType, declared, 0,
                const_cast<void *>(static_cast<const void *>(value.isNull() ? u"" : reinterpret_cast<const char16_t *>(value.utf16()))),
                SQLLEN(value.size() * sizeof(SQLWCHAR)),
                &indicator);
            if (!SQL_SUCCEEDED(rc))
                fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao executar a consulta: %1"));
        }
        const int seconds = m_link.commandTimeout();
        WaitBound bound(m_link.sockets(), seconds > 0 ? seconds * 1000 + kWaitGraceMilliseconds : 0);
        m_bound = &bound;
        struct Unset {
            WaitBound *&bound;
            ~Unset() { bound = nullptr; }
        } unset{m_bound};
        const SQLRETURN rc = m_direct ? SQLExecDirectW(m_stmt, sqlText(), SQLINTEGER(m_sql.size())) : SQLExecute(m_stmt);
        if (rc == SQL_NO_DATA) {
            m_columnCount = 0;
            m_rows.clear();
            m_nextRow = 0;
            return;
        }
        if (!SQL_SUCCEEDED(rc))
            fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao executar a consulta: %1"));
        SQLSMALLINT count = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(m_stmt, &count)))
            fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao executar a consulta: %1"));
        m_columnCount = count;
        readWholeResult();
    }

    bool next() override
    {
        if (m_nextRow >= m_rows.size())
            return false;
        m_row = std::move(m_rows[m_nextRow++]);
        return true;
    }

    QVariant value(int column) const override { return m_row.at(column); }

    bool fieldValue(int column, FieldType type, QVariant *value) const override
    {
        const QVariant &v = m_row.at(column);
        const bool fits = !v.isValid() || (type == FieldType::String && v.typeId() == QMetaType::QString)
                          || (type == FieldType::Integer && v.typeId() == QMetaType::LongLong)
                          || (type == FieldType::Float && v.typeId() == QMetaType::Double);
        if (fits)
            *value = v;
        return fits;
    }

    bool text(int column, QString *text) const override
    {
        const QVariant &v = m_row.at(column);
        if (v.isValid() && v.typeId() != QMetaType::QString)
            return false;
        *text = v.isValid() ? *static_cast<const QString *>(v.constData()) : QString();
        return true;
    }

    QList<Column> describe() const override
    {
        const_cast<OdbcCursor *>(this)->describeIfNeeded();
        return m_columns;
    }

    void finish() override
    {
        m_rows.clear();
        m_nextRow = 0;
    }

private:
    static constexpr qsizetype kDeclaredSize = 4000;

    SQLWCHAR *sqlText() const { return const_cast<SQLWCHAR *>(reinterpret_cast<const SQLWCHAR *>(m_sql.utf16())); }

    // The rows are read to the end and the statement is closed before the caller sees the first:
    // a TDS connection (SQL Server) carries one pending result at a time, so a statement still open
    // there would fail the next one run beside it ("Invalid cursor state"). The caller keeps what it
    // still needs of the rows; psqlODBC holds a whole result in memory anyway.
    void readWholeResult()
    {
        m_rows.clear();
        m_nextRow = 0;
        if (m_columnCount > 0) {
            describeIfNeeded();
            for (;;) {
                const SQLRETURN rc = SQLFetch(m_stmt);
                if (rc == SQL_NO_DATA)
                    break;
                if (!SQL_SUCCEEDED(rc))
                    fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as linhas da consulta: %1"));
                // Every column is read in order at once: drivers need not hand columns out of order.
                QList<QVariant> row(m_columnCount);
                for (int i = 0; i < m_columnCount; ++i)
                    row[i] = read(i);
                m_rows.push_back(std::move(row));
            }
        }
        // Whatever follows the rows (the end of the batch, the counts of a statement that returns
        // none) is read too, so that nothing is left pending on the connection.
        SQLRETURN more = SQLMoreResults(m_stmt);
        while (SQL_SUCCEEDED(more))
            more = SQLMoreResults(m_stmt);
        if (more != SQL_NO_DATA)
            fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as linhas da consulta: %1"));
        SQLFreeStmt(m_stmt, SQL_CLOSE);
    }

    [[noreturn]] void fail(SQLSMALLINT handleType, SQLHANDLE handle, const QString &pattern)
    {
        const Diagnostics d = diagnosticsOf(handleType, handle);
        // A call that failed half-way may have left the connection waiting for the server to
        // acknowledge a cancel (FreeTDS does after a value it cannot convert): the next statement
        // would meet "Invalid cursor state". Cancelling reads that answer; on an idle statement
        // it only closes it.
        SQLCancel(m_stmt);
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        throwFor(d, pattern);
    }

    [[noreturn]] void throwFor(const Diagnostics &d, const QString &pattern) const
    {
        const QString message = pattern.arg(d.text);
        if (d.timedOut || (m_bound && m_bound->expired())) {
            // The operator reads that the server did not answer; the driver's words go to the log.
            qCWarning(lcDb).noquote() << "a statement ran out of its" << m_link.commandTimeout() << "seconds:" << message;
            m_link.markTimedOut();
            throw serverDidNotAnswer(m_link.commandTimeout());
        }
        if (d.linkFailed || linkDead(m_hdbc))
            throw ConnectionLost(message);
        throw tkt::Error(message);
    }

    void describeIfNeeded()
    {
        if (m_described)
            return;
        m_columns.clear();
        m_fetch.clear();
        for (SQLSMALLINT i = 1; i <= m_columnCount; ++i) {
            // Name and size only: psqlODBC answers a request for the type or the nullability here
            // by reading the catalog of every table behind the result, a round trip each.
            SQLWCHAR name[256] = {};
            SQLSMALLINT nameLength = 0;
            SQLULEN size = 0;
            if (!SQL_SUCCEEDED(SQLDescribeColW(m_stmt, SQLUSMALLINT(i), name, SQLSMALLINT(std::size(name)), &nameLength,
                                               nullptr, &size, nullptr, nullptr)))
                fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as colunas da consulta: %1"));
            SQLLEN type = 0;
            if (!SQL_SUCCEEDED(SQLColAttributeW(m_stmt, SQLUSMALLINT(i), SQL_DESC_TYPE, nullptr, 0, nullptr, &type)))
                fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as colunas da consulta: %1"));
            const SQLSMALLINT sqlType = conciseType(SQLSMALLINT(type), size);
            const qsizetype length = std::min<qsizetype>(nameLength, qsizetype(std::size(name)) - 1);
            const QString columnName = QString::fromUtf16(reinterpret_cast<const char16_t *>(name), length).toUpper();
            m_columns.append(columnOf(columnName, sqlType, size));
            m_fetch.push_back(fetchOf(sqlType));
        }
        m_described = true;
    }

    // The verbose type names every date and time kind SQL_DATETIME; their column sizes, which
    // ODBC fixes (a date 10, a time 8 and its fraction, a timestamp 16 or more), tell them apart
    // without asking the driver for the concise type, which psqlODBC would answer from its catalog.
    static SQLSMALLINT conciseType(SQLSMALLINT verbose, SQLULEN size)
    {
        if (verbose != SQL_DATETIME)
            return verbose;
        if (size == 10)
            return SQL_TYPE_DATE;
        return size < 16 ? SQL_TYPE_TIME : SQL_TYPE_TIMESTAMP;
    }

    QVariant read(int column)
    {
        const SQLUSMALLINT number = SQLUSMALLINT(column + 1);
        SQLLEN indicator = 0;
        auto fixed = [&](SQLSMALLINT cType, void *target, SQLLEN size) {
            if (!SQL_SUCCEEDED(SQLGetData(m_stmt, number, cType, target, size, &indicator)))
                fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as linhas da consulta: %1"));
            return indicator != SQL_NULL_DATA;
        };
        switch (m_fetch[size_t(column)]) {
        case Fetch::Integer: {
            SQLBIGINT v = 0;
            return fixed(SQL_C_SBIGINT, &v, sizeof v) ? QVariant(qlonglong(v)) : QVariant();
        }
        case Fetch::Double: {
            SQLDOUBLE v = 0;
            return fixed(SQL_C_DOUBLE, &v, sizeof v) ? QVariant(double(v)) : QVariant();
        }
        case Fetch::Date: {
            SQL_DATE_STRUCT v{};
            return fixed(SQL_C_TYPE_DATE, &v, sizeof v) ? QVariant(QDate(v.year, v.month, v.day)) : QVariant();
        }
        case Fetch::DateTime: {
            SQL_TIMESTAMP_STRUCT v{};
            if (!fixed(SQL_C_TYPE_TIMESTAMP, &v, sizeof v))
                return {};
            return QVariant(QDateTime(QDate(v.year, v.month, v.day),
                                      QTime(v.hour, v.minute, v.second, int(v.fraction / 1000000))));
        }
        case Fetch::Time: {
            SQL_TIME_STRUCT v{};
            return fixed(SQL_C_TYPE_TIME, &v, sizeof v) ? QVariant(QTime(v.hour, v.minute, v.second)) : QVariant();
        }
        case Fetch::Text:
            return readLong(number, SQL_C_WCHAR);
        case Fetch::Bytes:
            return readLong(number, SQL_C_BINARY);
        }
        return {};
    }

    // A text or byte value of any length, in as many parts as the driver hands it.
    QVariant readLong(SQLUSMALLINT number, SQLSMALLINT cType)
    {
        const bool text = cType == SQL_C_WCHAR;
        // A text part ends in a NUL the driver adds; bytes have none.
        const SQLLEN usable = text ? SQLLEN(sizeof m_buffer - sizeof(SQLWCHAR)) : SQLLEN(sizeof m_buffer);
        QByteArray bytes;
        for (int part = 0;; ++part) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(m_stmt, number, cType, m_buffer, sizeof m_buffer, &indicator);
            if (rc == SQL_NO_DATA && part > 0)
                break;
            if (!SQL_SUCCEEDED(rc))
                fail(SQL_HANDLE_STMT, m_stmt, QStringLiteral("Erro ao ler as linhas da consulta: %1"));
            if (indicator == SQL_NULL_DATA)
                return QVariant();
            const bool truncated = rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator > usable);
            bytes.append(reinterpret_cast<const char *>(m_buffer), truncated ? usable : indicator);
            if (!truncated)
                break;
        }
        if (!text)
            return QVariant(bytes);
        if (bytes.isEmpty())
            return QVariant(QStringLiteral("")); // an empty text, which is not a null
        return QVariant(QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                           bytes.size() / qsizetype(sizeof(char16_t))));
    }

    ServerLink &m_link;
    SQLHDBC m_hdbc;
    WaitBound *m_bound = nullptr; // the bound of the run under way
    QString m_sql;
    bool m_direct; // sent with its parameters on every run instead of prepared once (ServerLink.h)
    bool m_narrowCodePage; // VARCHAR texts reach the server in a one-byte code page (SQL Server)
    SQLHSTMT m_stmt = nullptr;
    QList<QString> m_values;          // the bound texts live here until the next run
    std::vector<SQLLEN> m_indicators;
    int m_columnCount = 0;
    bool m_described = false;
    QList<Column> m_columns;
    std::vector<Fetch> m_fetch;
    QList<QVariant> m_row;
    std::vector<QList<QVariant>> m_rows; // the whole result of the last run, handed out row by row
    size_t m_nextRow = 0;
    alignas(8) unsigned char m_buffer[4096];
};

} // namespace

std::unique_ptr<Query::Cursor> prepareOdbcCursor(ServerLink &link, const QString &sql)
{
    void *hdbc = link.odbcHandle();
    if (!hdbc)
        throw tkt::Error(QStringLiteral("Erro ao preparar a consulta: a conexão ODBC não está aberta."));
    return std::make_unique<OdbcCursor>(link, static_cast<SQLHDBC>(hdbc), sql);
}

} // namespace db
