#pragma once
// A database connection in the platform's style: a connection string, before- and after-connect
// events, no login prompt, and the database kind learnt at connect time.

#include "db/ConnectionString.h"
#include "db/DbKind.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace db {

class Query;

class Connection {
public:
    explicit Connection(QString name = {}); // the Qt connection name; unique when empty
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setConnectionString(const QString &s) { m_connectionString = s; }
    QString connectionString() const { return m_connectionString; }

    std::function<void(Connection &)> beforeConnect; // may set the connection string
    std::function<void(Connection &)> afterConnect;

    // Opens the connection: beforeConnect, map the string, open, learn the kind, afterConnect.
    // Throws tkt::Error with the driver's text (never a password) when it cannot be opened.
    // Opening an open connection does nothing.
    void open();
    // Closes every query running on it first, then the connection. Never throws.
    void close();
    bool connected() const;

    DbKind kind() const { return m_kind; }
    QSqlDatabase database() const; // the Qt handle; valid once opened
    QString name() const { return m_name; }

    // Increments whenever the connection is (re)opened; prepared queries re-prepare when it changed.
    int generation() const { return m_generation; }

private:
    friend class Query;
    void attach(Query *query);
    void detach(Query *query);

    QString m_name;
    QString m_connectionString;
    DbKind m_kind = DbKind::Unknown;
    int m_generation = 0;
    bool m_open = false;
    QList<Query *> m_queries; // the queries built on this connection, released before it closes
};

} // namespace db
