// gen_data: fills a store database with a chain's worth of generated rows for the benchmarks.
//   gen_data --sqlite <file> [--consumers N] [--comandas N] [--seed N]
//   gen_data --pg "<ODBC connection string>" [--consumers N] [--comandas N] [--seed N]
// The SQLite file is built beside its final name and renamed over it once complete; a PostgreSQL
// database has its store tables dropped and created again. The same options give the same rows.

#include "Generator.h"

#include "contracts/Errors.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <sqlite3.h>

namespace {

const char *const kUsage =
    "usage: gen_data (--sqlite <file> | --pg \"<ODBC connection string>\") [--consumers N] [--comandas N] [--seed N]\n"
    "  Fills a store database with N consumers (10000 to 1000000; default 10000) over 1000 clients,\n"
    "  20 branches, 300 waiters and operators, 15 tables a branch and N comandas (default 100000).\n"
    "  --sqlite  the file is replaced once the new one is complete\n"
    "  --pg      the store tables of that database are dropped and created again\n";

struct Options {
    QString sqliteFile;
    QString odbc;
    gendata::Sizes sizes;
    bool help = false;
};

long long number(const QStringList &arguments, qsizetype &i, long long low, long long high)
{
    const QString option = arguments.at(i);
    bool ok = false;
    const long long n = i + 1 < arguments.size() ? arguments.at(i + 1).toLongLong(&ok) : 0;
    if (!ok || n < low || n > high)
        throw tkt::Error(QStringLiteral("%1 needs a whole number from %2 to %3.").arg(option).arg(low).arg(high));
    ++i;
    return n;
}

Options parse(const QStringList &arguments)
{
    Options o;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == u"--sqlite" && i + 1 < arguments.size()) {
            o.sqliteFile = arguments.at(++i);
        } else if (a == u"--pg" && i + 1 < arguments.size()) {
            o.odbc = arguments.at(++i);
        } else if (a == u"--consumers") {
            o.sizes.consumers = int(number(arguments, i, 1, 10000000));
        } else if (a == u"--comandas") {
            o.sizes.comandas = int(number(arguments, i, 0, 10000000));
        } else if (a == u"--seed") {
            o.sizes.seed = std::uint64_t(number(arguments, i, 0, 1LL << 62));
        } else if (a == u"-h" || a == u"--help") {
            o.help = true;
            return o;
        } else {
            throw tkt::Error(QStringLiteral("Unknown or incomplete option %1.").arg(a));
        }
    }
    if (o.sqliteFile.isEmpty() == o.odbc.isEmpty())
        throw tkt::Error(QStringLiteral("Give either --sqlite <file> or --pg \"<ODBC connection string>\"."));
    return o;
}

std::string insertText(const std::string &table, const std::vector<std::string> &columns, int rows,
                       const std::function<std::string(const std::string &)> &marker)
{
    std::string sql = "INSERT INTO " + table + " (";
    for (std::size_t c = 0; c < columns.size(); ++c)
        sql += (c ? "," : "") + columns[c];
    sql += ") VALUES ";
    for (int r = 0; r < rows; ++r) {
        sql += r ? ",(" : "(";
        for (std::size_t c = 0; c < columns.size(); ++c)
            sql += (c ? "," : "") + marker(columns[c]);
        sql += ")";
    }
    return sql;
}

// SQLite: one prepared INSERT per table, straight on the sqlite3 handle, all in one transaction.
class SqliteSink final : public gendata::Sink {
public:
    explicit SqliteSink(sqlite3 *db) : m_db(db) {}
    ~SqliteSink() override { sqlite3_finalize(m_statement); }

    void exec(const char *sql)
    {
        char *message = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const QString text = QString::fromUtf8(message ? message : "?");
            sqlite3_free(message);
            throw tkt::Error(QStringLiteral("SQLite: %1 (%2)").arg(text, QString::fromUtf8(sql)));
        }
    }

    void begin(const std::string &table, const std::vector<std::string> &columns) override
    {
        const std::string sql = insertText(table, columns, 1, [](const std::string &) { return std::string("?"); });
        if (sqlite3_prepare_v2(m_db, sql.c_str(), int(sql.size()), &m_statement, nullptr) != SQLITE_OK)
            fail(sql);
        m_sql = sql;
    }

    void row(const std::vector<gendata::Value> &values) override
    {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const gendata::Value &v = values[i];
            const int at = int(i) + 1;
            if (v.kind == gendata::Value::Text)
                sqlite3_bind_text(m_statement, at, v.text.data(), int(v.text.size()), SQLITE_TRANSIENT);
            else if (v.kind == gendata::Value::Real)
                sqlite3_bind_double(m_statement, at, v.real);
            else
                sqlite3_bind_null(m_statement, at);
        }
        if (sqlite3_step(m_statement) != SQLITE_DONE)
            fail(m_sql);
        sqlite3_reset(m_statement);
    }

    void end() override
    {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }

private:
    [[noreturn]] void fail(const std::string &sql)
    {
        throw tkt::Error(QStringLiteral("SQLite: %1 (%2)").arg(QString::fromUtf8(sqlite3_errmsg(m_db)),
                                                               QString::fromStdString(sql).left(200)));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    std::string m_sql;
};

// PostgreSQL through ODBC: multi-row INSERTs of a few hundred rows each, in one transaction.
class OdbcSink final : public gendata::Sink {
public:
    explicit OdbcSink(QSqlDatabase db) : m_db(db) {}

    void begin(const std::string &table, const std::vector<std::string> &columns) override
    {
        m_table = table;
        m_columns = columns;
        m_batch = std::max(1, 1000 / int(columns.size()));
        m_pending.clear();
    }

    void row(const std::vector<gendata::Value> &values) override
    {
        for (const gendata::Value &v : values) {
            if (v.kind == gendata::Value::Text)
                m_pending.append(QString::fromStdString(v.text));
            else if (v.kind == gendata::Value::Real)
                m_pending.append(v.real);
            else
                m_pending.append(QVariant(QMetaType::fromType<QString>()));
        }
        if (m_pending.size() == qsizetype(m_batch * m_columns.size()))
            flush();
    }

    void end() override { flush(); }

private:
    void flush()
    {
        if (m_pending.isEmpty())
            return;
        const int rows = int(m_pending.size() / qsizetype(m_columns.size()));
        // Dates travel as text; the server is told what they are.
        const std::string sql = insertText(m_table, m_columns, rows, [](const std::string &column) {
            return column.rfind("DT", 0) == 0 ? std::string("CAST(? AS TIMESTAMP)") : std::string("?");
        });
        QSqlQuery q(m_db);
        if (!q.prepare(QString::fromStdString(sql)))
            throw tkt::Error(QStringLiteral("PostgreSQL: %1").arg(q.lastError().text()));
        for (qsizetype i = 0; i < m_pending.size(); ++i)
            q.bindValue(int(i), m_pending.at(i));
        if (!q.exec())
            throw tkt::Error(QStringLiteral("PostgreSQL (%1): %2").arg(QString::fromStdString(m_table), q.lastError().text()));
        m_pending.clear();
    }

    QSqlDatabase m_db;
    std::string m_table;
    std::vector<std::string> m_columns;
    int m_batch = 1;
    QVariantList m_pending;
};

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw tkt::Error(QStringLiteral("The SQLite driver gave no database handle."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

void report(QTextStream &out, const std::string &table, long long rows)
{
    out << "  " << QString::fromStdString(table) << ": " << rows << " rows\n";
    out.flush();
}

void fillSqlite(const Options &o, QTextStream &out)
{
    const QString building = o.sqliteFile + QStringLiteral(".building");
    QFile::remove(building);
    {
        db::Connection connection;
        connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(building));
        connection.open();
        schema::install(connection, false);
        sqlite3 *handle = sqliteHandle(connection.database());
        SqliteSink sink(handle);
        // A throwaway file until the rename: nothing to journal, nothing to sync.
        sink.exec("PRAGMA journal_mode=OFF");
        sink.exec("PRAGMA synchronous=OFF");
        sink.exec("PRAGMA cache_size=-262144");
        sink.exec("BEGIN");
        gendata::generate(o.sizes, sink, [&](const std::string &t, long long n) { report(out, t, n); });
        sink.exec("COMMIT");
        sink.exec("ANALYZE");
        connection.close();
    }
    QFile::remove(o.sqliteFile);
    if (!QFile::rename(building, o.sqliteFile))
        throw tkt::Error(QStringLiteral("Cannot move the new database to %1.").arg(o.sqliteFile));
}

void fillPostgres(const Options &o, QTextStream &out)
{
    db::Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=MSDASQL;") + o.odbc);
    connection.open();
    if (connection.kind() != db::DbKind::PostgreSQL)
        throw tkt::Error(QStringLiteral("The ODBC connection does not reach PostgreSQL."));
    schema::uninstall(connection);
    schema::install(connection, false);
    QSqlDatabase database = connection.database();
    if (!database.transaction())
        throw tkt::Error(QStringLiteral("PostgreSQL: %1").arg(database.lastError().text()));
    OdbcSink sink(database);
    gendata::generate(o.sizes, sink, [&](const std::string &t, long long n) { report(out, t, n); });
    if (!database.commit())
        throw tkt::Error(QStringLiteral("PostgreSQL: %1").arg(database.lastError().text()));
    QSqlQuery analyze(database);
    analyze.exec(QStringLiteral("ANALYZE"));
    connection.close();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    Options options;
    try {
        options = parse(app.arguments());
    } catch (const tkt::Error &e) {
        err << "gen_data: " << e.message() << '\n' << kUsage;
        return 2;
    }
    if (options.help) {
        out << kUsage;
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        if (!options.sqliteFile.isEmpty())
            fillSqlite(options, out);
        else
            fillPostgres(options, out);
    } catch (const std::exception &e) {
        err << "gen_data: " << tkt::messageOf(e) << '\n';
        return 1;
    }
    out << "gen_data: " << options.sizes.consumers << " consumers in " << timer.elapsed() / 1000.0 << " s\n";
    return 0;
}
