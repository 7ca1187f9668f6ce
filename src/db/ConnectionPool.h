#pragma once
// The server connections kept between the owners of one process. Every comanda opens a fresh
// dialog, and on a store server reached over a network each log-in and each prepared statement is
// a wait of its own: a link given back is handed to the next owner that asks with the very same
// connection string (never another string's), and its prepared statements with it.
//
// A pool of our own rather than the ODBC driver manager's: the driver manager's pooling is a
// setting of the machine (odbcinst.ini, or the process before any environment exists), and it
// resets a connection when it is given back, which frees the prepared statements that are half of
// what is saved. Embedded SQLite connections are not kept: opening one costs no round trip.

#include "db/ServerLink.h"

#include <QString>
#include <memory>
#include <vector>

namespace db {

class ConnectionPool {
public:
    static ConnectionPool &instance();

    // A kept link for this key, or null. A link idle for longer than the servers and firewalls
    // between are known to keep a silent connection is closed instead of handed out.
    std::unique_ptr<ServerLink> take(const QString &key);
    // Keeps the link for the next owner when it is reusable and the pool has room; frees it otherwise.
    void giveBack(std::unique_ptr<ServerLink> link);
    // Frees every kept link of this key: one of them was found dead, and the others went with the
    // same server or network.
    void discard(const QString &key);
    // Frees every kept link; the module calls it before it is unloaded.
    void drain();

    int keptCount() const { return int(m_links.size()); }

    static constexpr int kMaxKeptPerKey = 4;
    static constexpr qint64 kMaxIdleMilliseconds = 10 * 60 * 1000;

private:
    std::vector<std::unique_ptr<ServerLink>> m_links;
};

} // namespace db
