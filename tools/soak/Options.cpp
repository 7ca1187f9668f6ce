#include "Options.h"

namespace soak {

namespace {

// Counts far beyond a day at a busy counter are a typing mistake, not a plan.
constexpr qint64 kMostDialogs = 1000000;
constexpr qint64 kMostCalls = 100000000;
constexpr double kMostSeconds = 7 * 24 * 3600.0;

bool takeCount(const QStringList &arguments, qsizetype *i, qint64 lowest, qint64 highest, qint64 *value, QString *error)
{
    const QString &name = arguments.at(*i);
    if (*i + 1 >= arguments.size()) {
        *error = QStringLiteral("%1 needs a number.").arg(name);
        return false;
    }
    bool ok = false;
    const qint64 number = arguments.at(++*i).toLongLong(&ok);
    if (!ok || number < lowest || number > highest) {
        *error = QStringLiteral("%1 needs a whole number from %2 to %3.").arg(name).arg(lowest).arg(highest);
        return false;
    }
    *value = number;
    return true;
}

bool takeText(const QStringList &arguments, qsizetype *i, QString *value, QString *error)
{
    const QString &name = arguments.at(*i);
    if (*i + 1 >= arguments.size() || arguments.at(*i + 1).trimmed().isEmpty()) {
        *error = QStringLiteral("%1 needs a value.").arg(name);
        return false;
    }
    *value = arguments.at(++*i);
    return true;
}

} // namespace

bool parseOptions(const QStringList &arguments, Options *options, QString *error)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        qint64 number = 0;
        if (a == u"--help" || a == u"-h") {
            options->help = true;
            return true;
        } else if (a == u"--dialogs") {
            if (!takeCount(arguments, &i, 0, kMostDialogs, &number, error))
                return false;
            options->dialogs = int(number);
        } else if (a == u"--calls") {
            if (!takeCount(arguments, &i, 0, kMostCalls, &options->calls, error))
                return false;
        } else if (a == u"--every") {
            if (!takeCount(arguments, &i, 1, kMostCalls + kMostDialogs, &options->every, error))
                return false;
        } else if (a == u"--seconds") {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("--seconds needs a number.");
                return false;
            }
            bool ok = false;
            options->seconds = arguments.at(++i).toDouble(&ok);
            if (!ok || options->seconds <= 0 || options->seconds > kMostSeconds) {
                *error = QStringLiteral("--seconds needs a time above 0 and at most %1.").arg(kMostSeconds);
                return false;
            }
        } else if (a == u"--dialog-timeout") {
            if (!takeCount(arguments, &i, 1, 3600, &number, error))
                return false;
            options->dialogTimeoutSeconds = int(number);
        } else if (a == u"--path") {
            QString path;
            if (!takeText(arguments, &i, &path, error))
                return false;
            if (path == u"main") {
                options->path = DialogPath::Main;
            } else if (path == u"leave") {
                options->path = DialogPath::Leave;
            } else {
                *error = QStringLiteral("--path is main or leave, not %1.").arg(path);
                return false;
            }
        } else if (a == u"--pg") {
            if (!takeText(arguments, &i, &options->odbc, error))
                return false;
        } else if (a == u"--sqlite") {
            if (!takeText(arguments, &i, &options->sqliteFile, error))
                return false;
        } else if (a == u"--libraries") {
            if (!takeText(arguments, &i, &options->libraryDir, error))
                return false;
        } else {
            *error = QStringLiteral("Unknown argument %1.").arg(a);
            return false;
        }
    }
    if (!options->odbc.isEmpty() && !options->sqliteFile.isEmpty()) {
        *error = QStringLiteral("--pg and --sqlite name two stores; give one.");
        return false;
    }
    return true;
}

QString helpText()
{
    return QStringLiteral(
        "usage: tkt_soak [options]\n"
        "A day at the counter in one process: loads the comanda module as a host does, opens and closes\n"
        "its dialog N times and calls the five lookup services M times, and reports resident memory, open\n"
        "file descriptors and (on PostgreSQL) server connections as it goes.\n"
        "\n"
        "  --dialogs N        comanda dialogs to open (default 2000)\n"
        "  --calls M          service calls (default 200000); they cycle through getValidaGarcom,\n"
        "                     getValMesa (table 0001), getValidaCons, getConsComan, getValComanda and\n"
        "                     getValMesa (every table), spread evenly between the dialogs; one of each\n"
        "                     dialog's share is made while that dialog is open\n"
        "  --every K          print a figures line every K operations (default 10000); also at the\n"
        "                     start, at the end and after Finalize\n"
        "  --seconds S        stop after S seconds, say so, and summarize what was done\n"
        "  --path main|leave  main (default): type badge 0000054321, waiter 7, table 1, answer the\n"
        "                     question and give the password, as an operator opening comanda 15 does;\n"
        "                     leave: click the exit button as soon as the dialog shows\n"
        "  --pg \"<ODBC>\"      run on that PostgreSQL database (psqlODBC connection string); it must\n"
        "                     already hold the demo (make_demo --pg)\n"
        "  --sqlite FILE      run on that SQLite store instead of a fresh demo store\n"
        "  --libraries DIR    folder of libtkt00740.so and the host's libraries (default: the tool's)\n"
        "  --dialog-timeout S a dialog still open after S seconds ends the run as a failure (30)\n"
        "  --help             this text\n"
        "\n"
        "Without --pg or --sqlite the tool makes a demo store with make_demo (found beside it) in a\n"
        "temporary folder. QT_QPA_PLATFORM defaults to offscreen.\n"
        "\n"
        "Figures lines: ops, dialogs, calls, rss_kib (VmRSS), fds (entries of /proc/self/fd),\n"
        "pg_conns (other sessions on the database in pg_stat_activity) and pg_sockets (this process's\n"
        "established TCP connections to the server's port), failures, elapsed seconds. The summary gives\n"
        "the growth of memory and descriptors from the first to the last quarter of the operations done\n"
        "(medians of samples taken every 1/200 of the run) and the failures.\n"
        "\n"
        "A failure: a service that answered an error text, a packet that is not one or differs from that\n"
        "call's first answer, an entry that did not end as the path should (a main path that did not open\n"
        "the comanda 15 with consumer 22, client 1, waiter 0007, table 0001; a leave that handed nothing\n"
        "back), a script step that found nothing to act on, a dialog that did not close in time.\n"
        "\n"
        "Exit codes: 0 no failure; 1 failures; 2 wrong use; 3 the run could not be set up.\n");
}

} // namespace soak
