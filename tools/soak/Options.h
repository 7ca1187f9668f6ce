#pragma once
// What one soak run does: how many dialogs and service calls, how often it reports, and where its
// store lives.

#include <QString>
#include <QStringList>

namespace soak {

enum class DialogPath {
    Leave, // the operator leaves as soon as the dialog shows
    Main,  // badge, waiter, table, the question, the password: a comanda opened
};

struct Options {
    int dialogs = 2000;
    qint64 calls = 200000;
    qint64 every = 10000;
    double seconds = 0; // 0: no time limit
    DialogPath path = DialogPath::Main;
    QString odbc;       // PostgreSQL through ODBC; empty: a SQLite demo store made for the run
    QString sqliteFile; // an existing SQLite store instead of a fresh one
    QString libraryDir; // where the module and the host's libraries are; empty: beside the tool
    int dialogTimeoutSeconds = 30;
    bool help = false;
};

// False with a message for anything it cannot take.
bool parseOptions(const QStringList &arguments, Options *options, QString *error);
QString helpText();

} // namespace soak
