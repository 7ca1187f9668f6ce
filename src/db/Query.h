#pragma once
// A read-only query with named parameters (":P_NAME" in the text). Every parameter is bound as text
// and set by name; a name that occurs several times takes the same value at each occurrence. The
// text is rewritten to positional markers once, prepared once per connection, and re-bound per run.

#include "dataset/Table.h"
#include "db/Connection.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace db {

class Query {
public:
    explicit Query(Connection &connection);
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void setSql(const QString &sql);   // closes the query; parameters keep values of the same name
    QString sql() const { return m_sql; }
    QStringList parameterNames() const; // distinct names in order of first occurrence
    bool hasParameter(const QString &name) const; // whatever the letter case

    // Sets a parameter by name (case-insensitive); unknown names throw tkt::Error. A null QString binds
    // as SQL NULL, "" as an empty text.
    void setParam(const QString &name, const QString &value);
    QString param(const QString &name) const;

    // Runs the query forward-only and stands on its first row; throws tkt::Error with the driver's
    // text on failure. Opening an open query does nothing: close it first to run it with new values.
    // When the run fails because the connection's link died, before any row was read, the
    // connection takes a fresh link and the run is made once more.
    void open();
    void close();
    bool active() const { return m_active; }

    // Reading the open query, row by row.
    bool eof() const;
    void next();
    bool isEmpty(); // no rows at all (reads the first row if not read yet)
    QVariant value(const QString &column) const; // current row, by column name (case-insensitive)
    QString text(const QString &column) const;   // value as text; null is ""

    // All remaining rows into an in-memory table whose field list is the SELECT list: names upper
    // case, database types mapped to packet types (numeric columns as Float), widths from the driver
    // (on SQLite from the declared type).
    dataset::Table fetchAll();
    // The same rows and field list, left for the caller to build its own table from.
    void fetchRows(dataset::FieldList &fields, QList<dataset::Row> &rows);

    // Field list of the open query (names upper case, types and widths as fetchAll gives them).
    dataset::FieldList fieldList() const;

    // The type of a column the database leaves undeclared (an SQLite expression such as "1.0 AS
    // POSICAO"), which would otherwise take its type from the values of each run, and from no values
    // at all when there is no row. A column the database declares keeps its own type. Closes the query.
    void setColumnType(const QString &column, dataset::FieldType type);

    Connection &connection() { return m_connection; }

    // One column of the SELECT list as the driver describes it, learnt once per prepared statement.
    struct Column {
        QString name;                  // upper case
        dataset::FieldType type = dataset::FieldType::String;
        int width = 0;                 // declared width; 0 when the database gives none
        bool typeFromValues = false;   // SQLite expression without a declared type
    };
    class Cursor; // the prepared statement on one kind of driver (Cursor.h)

private:
    friend class Connection;
    friend QByteArray packetOf(Query &query);

    void prepare();
    void run(); // binds, executes, describes and reads the first row
    void release(); // lets go of the statement: the connection is about to close
    void advance();
    int columnIndex(const QString &column) const;
    int slotOf(const QString &name) const; // index into m_names, -1 when the text has no such parameter
    QVariant converted(int index, const QVariant &raw) const;
    // The value of column i on the current row in its field's representation; longest keeps the
    // longest text of each column, for the widths.
    QVariant readValue(int i, std::vector<int> &longest) const;
    QVariant readValue(int i) const;
    // The field list for these types and longest texts, the last one's when nothing changed.
    dataset::FieldList fetchedFields(const std::vector<dataset::FieldType> &types, const std::vector<int> &longest);
    // The remaining rows as a data packet.
    QByteArray fetchPacket();

    Connection &m_connection;
    QString m_sql;
    QString m_positionalSql;
    QStringList m_names;             // the text's parameters, upper case, in order of first occurrence
    QList<QString> m_slotValues;     // the value of each of m_names
    std::vector<int> m_slotOf;       // the index into m_names of each positional marker
    QList<QString> m_runValues;      // the value of each positional marker in the last run
    QHash<QString, QString> m_values; // values of the parameters of earlier texts, by name
    std::unique_ptr<Cursor> m_cursor;
    int m_preparedGeneration = -1;
    bool m_active = false;
    bool m_onRow = false;
    mutable dataset::FieldList m_fieldCache;
    dataset::FieldList m_lastFields; // the field list of the last fetch since the columns were described
    bool m_anyRow = false;
    bool m_attached = true; // false once the connection is gone
    bool m_described = false;
    QList<Column> m_columns;
    QHash<QString, int> m_columnIndex; // upper-case name -> column
    mutable int m_nextColumn = 0;      // the column after the last one looked up by name on this row
    bool m_namesUnique = true;         // no two columns of the SELECT list share a name
    QHash<QString, dataset::FieldType> m_columnTypes; // upper-case name -> type set by setColumnType
};

// The packet provider: runs the query if it is not running, reads all its rows, stops it again when
// it started it, and returns the rows as a data packet.
QByteArray packetOf(Query &query);

} // namespace db
