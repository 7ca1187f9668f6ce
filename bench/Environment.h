#pragma once
// What every benchmark shares: the generated databases, quiet fakes of the sibling routines that
// open windows, the host folder with the point of sale's parameters, and the raw SQLite statement
// each measurement is set beside.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <sqlite3.h>

namespace bench {

struct Database {
    long long consumers = 0;
    QString file;
    QString connectionString() const;
};

// The databases gen_data wrote into dir as consumers-<N>.db, smallest first.
QList<Database> databases(const QString &dir);

// Replaces the routines that would open a window (messages, keypad, search list, consumer search
// and registration, operator password, fiscal reports) by fakes that answer "no" at once and count
// the calls; the connection string routine answers with the database given to useDatabase. Also
// writes the parameters file of branch 0001, store 0001, till 001 into a host folder of its own.
void installFakes();
void useDatabase(const QString &connectionString);
int windowsOpened(); // fake calls that a person would have seen, since the start

// Widgets and connections kept between benchmarks must go while the application still exists:
// what is registered here runs at teardown(), in reverse order.
void atTeardown(std::function<void()> release);
void teardown();

// A query text from the module's resources (":/cli/sql/..." or ":/srv/sql/...").
QString resourceText(const QString &path);

// The text through the shared services' Ajusta: zero-padded to width, blanks trimmed.
QString adjusted(const QString &code, int width);

// One statement prepared once with sqlite3_prepare_v2 on a connection of its own, bound by
// parameter name and stepped through every row reading every column: the database's own cost of
// a query, which the module's path is measured against.
class RawStatement {
public:
    RawStatement(const QString &file, const QString &sql);
    ~RawStatement();
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;

    // The value of every occurrence of :name, bound at each run as the module binds its values
    // at each call; names the statement lacks are ignored.
    void bind(const char *name, const QString &value);
    // Binds and runs the statement to its end, or to maxRows rows when that is not negative;
    // returns the number of rows, having read every column of each.
    int run(int maxRows = -1);
    QStringList plan(); // EXPLAIN QUERY PLAN of the statement's text, one line per step, indented

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    QByteArray m_sql;
    QList<QPair<int, QByteArray>> m_values;
};

} // namespace bench
