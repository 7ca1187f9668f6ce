// tkt_soak: a day at the counter in one process, measured. Opens the comanda dialog and calls the
// lookup services as a busy host would, and watches memory, file descriptors and server connections
// for growth that a test of one dialog never sees.
#include "DialogDriver.h"
#include "Figures.h"
#include "ModuleUnderTest.h"
#include "Options.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

using namespace soak;

namespace {

enum ExitCode { ExitClean = 0, ExitFailures = 1, ExitUsage = 2, ExitSetup = 3, ExitHung = 4 };

// Samples for the summary: about this many over the run, whatever --every says.
constexpr qint64 kSamples = 200;
// Failures are counted all day, but only the first few are told in full.
constexpr int kFailuresTold = 20;
// A host's own event loop runs between its calls; this often among service calls, the soak's too.
constexpr qint64 kCallsBetweenEventRuns = 64;
// Time make_demo gets to build the SQLite store.
constexpr int kMakeDemoMs = 120000;
// Time the module gets to unwind after its dialog was ended from outside, before the process ends.
constexpr int kUnwindGraceSeconds = 10;

void say(std::FILE *stream, const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stream);
    std::fflush(stream);
}

// Ends the process when an entry never returns: a dialog the soak ended from outside should unwind
// in moments, and a run that hangs must not hold the machine.
class Watchdog {
public:
    Watchdog()
        : m_thread([this] {
              std::unique_lock lock(m_mutex);
              while (!m_stop) {
                  m_wake.wait_for(lock, std::chrono::seconds(1));
                  if (m_armed && std::chrono::steady_clock::now() > m_deadline) {
                      std::fputs("tkt_soak: an entry call did not return; ending the process\n", stderr);
                      std::fflush(stderr);
                      _exit(ExitHung);
                  }
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void arm(int seconds)
    {
        std::lock_guard lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        m_armed = true;
    }
    void disarm()
    {
        std::lock_guard lock(m_mutex);
        m_armed = false;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::chrono::steady_clock::time_point m_deadline;
    bool m_armed = false;
    bool m_stop = false;
    std::thread m_thread;
};

struct Sample {
    qint64 ops = 0;
    Figures figures;
};

class Run {
public:
    Run(const Options &options, const Exports &exports, ServerSessions *server, int serverPort)
        : m_options(options), m_exports(exports), m_server(server), m_serverPort(serverPort), m_calls(exports),
          m_driver(exports, options.path, options.dialogTimeoutSeconds)
    {
        m_planned = options.dialogs + options.calls;
        m_sampleEvery = std::max<qint64>(1, m_planned / kSamples);
    }

    int execute()
    {
        Watchdog watchdog;
        m_clock.start();
        report(QStringLiteral("start"));
        m_samples.append({0, figures()});

        bool broken = false;
        if (m_options.dialogs == 0) {
            while (m_callsDone < m_options.calls && !timeUp())
                call(true);
        }
        for (qint64 d = 1; d <= m_options.dialogs && !broken && !timeUp(); ++d) {
            const qint64 callsBy = m_options.calls * d / m_options.dialogs;
            watchdog.arm(m_options.dialogTimeoutSeconds + kUnwindGraceSeconds);
            const DialogOutcome outcome = m_driver.run([&] {
                if (m_callsDone < callsBy)
                    call(false);
            });
            watchdog.disarm();
            ++m_dialogsDone;
            if (!outcome.ok)
                failed(m_entryFailures, QStringLiteral("dialog %1: %2").arg(d).arg(outcome.failure));
            broken = outcome.runBroken;
            hostLoop();
            operationDone();
            while (!broken && m_callsDone < callsBy && !timeUp())
                call(true);
        }
        const qint64 done = m_dialogsDone + m_callsDone;
        if (broken)
            say(stdout, QStringLiteral("stopped: a dialog had to be ended from outside after %1 of %2 operations")
                            .arg(done)
                            .arg(m_planned));
        else if (m_stoppedByTime)
            say(stdout, QStringLiteral("stopped early: the time limit of %1 s was reached after %2 of %3 operations")
                            .arg(m_options.seconds)
                            .arg(done)
                            .arg(m_planned));
        if (m_samples.constLast().ops != done)
            m_samples.append({done, figures()});
        report(QStringLiteral("end"));

        m_exports.finalize();
        report(QStringLiteral("finalized"));
        summarize(done);
        return m_entryFailures + m_serviceFailures > 0 ? ExitFailures : ExitClean;
    }

private:
    bool timeUp()
    {
        if (m_options.seconds > 0 && m_clock.elapsed() >= qint64(m_options.seconds * 1000))
            m_stoppedByTime = true;
        return m_stoppedByTime;
    }

    void call(bool outsideDialogs)
    {
        QString failure;
        if (!m_calls.callNext(&failure))
            failed(m_serviceFailures, QStringLiteral("call %1: %2").arg(m_callsDone + 1).arg(failure));
        ++m_callsDone;
        if (outsideDialogs && m_callsDone % kCallsBetweenEventRuns == 0)
            hostLoop();
        operationDone();
    }

    // What the host's main loop does between its calls: posted events and deferred deletions of the
    // module's objects run there, not inside the next call.
    static void hostLoop()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void failed(qint64 &counter, const QString &what)
    {
        ++counter;
        const qint64 all = m_entryFailures + m_serviceFailures;
        if (all <= kFailuresTold)
            say(stderr, QStringLiteral("failure: ") + what);
        if (all == kFailuresTold)
            say(stderr, QStringLiteral("failure: (further failures are counted, not told)"));
    }

    void operationDone()
    {
        const qint64 ops = m_dialogsDone + m_callsDone;
        if (ops % m_sampleEvery == 0)
            m_samples.append({ops, figures()});
        if (ops % m_options.every == 0)
            report(QStringLiteral("ops"));
    }

    Figures figures()
    {
        Figures f = m_server ? processFigures(m_serverPort, m_server->sockets()) : processFigures(0);
        if (m_server)
            f.pgSessions = m_server->count();
        return f;
    }

    void report(const QString &what)
    {
        const Figures f = figures();
        QString line = QStringLiteral("%1 ops=%2 dialogs=%3 calls=%4 rss_kib=%5 fds=%6")
                           .arg(what, -9)
                           .arg(m_dialogsDone + m_callsDone)
                           .arg(m_dialogsDone)
                           .arg(m_callsDone)
                           .arg(f.rssKib)
                           .arg(f.fds);
        if (m_server)
            line += QStringLiteral(" pg_conns=%1 pg_sockets=%2").arg(f.pgSessions).arg(f.pgSockets);
        line += QStringLiteral(" failures=%1 elapsed_s=%2")
                    .arg(m_entryFailures + m_serviceFailures)
                    .arg(double(m_clock.elapsed()) / 1000.0, 0, 'f', 1);
        say(stdout, line);
    }

    template <class Field>
    static double medianOf(const QList<Sample> &samples, Field field)
    {
        QList<qint64> values;
        for (const Sample &s : samples)
            values.append(field(s.figures));
        std::sort(values.begin(), values.end());
        if (values.isEmpty())
            return 0;
        const qsizetype n = values.size();
        return n % 2 ? double(values[n / 2]) : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    }

    void summarize(qint64 done)
    {
        QList<Sample> first, last;
        for (const Sample &s : std::as_const(m_samples)) {
            if (s.ops <= done / 4)
                first.append(s);
            if (s.ops >= done - done / 4)
                last.append(s);
        }
        say(stdout, QStringLiteral("summary: %1 operations (%2 dialogs on the %3 path, %4 service calls) in %5 s; "
                                   "%6 samples, %7 in the first quarter and %8 in the last")
                        .arg(done)
                        .arg(m_dialogsDone)
                        .arg(m_options.path == DialogPath::Main ? QStringLiteral("main") : QStringLiteral("leave"))
                        .arg(m_callsDone)
                        .arg(double(m_clock.elapsed()) / 1000.0, 0, 'f', 1)
                        .arg(m_samples.size())
                        .arg(first.size())
                        .arg(last.size()));
        const auto growth = [&](const QString &name, auto field, const QString &unit) {
            const double from = medianOf(first, field);
            const double to = medianOf(last, field);
            const double perThousand = done > 0 ? (to - from) * 1000.0 / double(done) : 0;
            const QString u = unit.isEmpty() ? QString() : QStringLiteral(" ") + unit;
            say(stdout, QStringLiteral("summary: %1 median %2%3 -> %4%3, growth %5%3 (%6%3 per 1000 operations)")
                            .arg(name)
                            .arg(from, 0, 'f', 0)
                            .arg(u)
                            .arg(to, 0, 'f', 0)
                            .arg(to - from, 0, 'f', 0)
                            .arg(perThousand, 0, 'f', 2));
        };
        growth(QStringLiteral("resident memory"), [](const Figures &f) { return f.rssKib; }, QStringLiteral("KiB"));
        growth(QStringLiteral("file descriptors"), [](const Figures &f) { return f.fds; }, QString());
        if (m_server) {
            growth(QStringLiteral("server sessions"), [](const Figures &f) { return f.pgSessions; }, QString());
            growth(QStringLiteral("sockets to the server"), [](const Figures &f) { return f.pgSockets; }, QString());
        }
        say(stdout, QStringLiteral("summary: failures %1 (services %2, entries %3)")
                        .arg(m_entryFailures + m_serviceFailures)
                        .arg(m_serviceFailures)
                        .arg(m_entryFailures));
    }

    const Options &m_options;
    const Exports &m_exports;
    ServerSessions *m_server;
    int m_serverPort;
    ServiceCalls m_calls;
    DialogDriver m_driver;
    QElapsedTimer m_clock;
    qint64 m_planned = 0;
    qint64 m_sampleEvery = 1;
    qint64 m_dialogsDone = 0;
    qint64 m_callsDone = 0;
    qint64 m_entryFailures = 0;
    qint64 m_serviceFailures = 0;
    bool m_stoppedByTime = false;
    QList<Sample> m_samples;
};

// The host's files (parameters, client file) and, unless the store is given, the SQLite demo store.
bool makeDemo(const QString &folder, QString *error)
{
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("make_demo"));
    QProcess make;
    make.start(program, {folder});
    if (!make.waitForFinished(kMakeDemoMs) || make.exitStatus() != QProcess::NormalExit || make.exitCode() != 0) {
        make.kill();
        make.waitForFinished(5000);
        *error = QStringLiteral("make_demo failed: %1 %2")
                     .arg(make.errorString(), QString::fromLocal8Bit(make.readAllStandardError()).trimmed());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Thousands of dialogs belong on no one's screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    Options options;
    QString error;
    if (!parseOptions(QCoreApplication::arguments(), &options, &error)) {
        say(stderr, QStringLiteral("tkt_soak: ") + error);
        say(stderr, helpText());
        return ExitUsage;
    }
    if (options.help) {
        say(stdout, helpText());
        return ExitClean;
    }

    QTemporaryDir hostFolder(QDir::temp().filePath(QStringLiteral("tkt_soak-XXXXXX")));
    if (!hostFolder.isValid() || !makeDemo(hostFolder.path(), &error)) {
        say(stderr, QStringLiteral("tkt_soak: ") + (error.isEmpty() ? hostFolder.errorString() : error));
        return ExitSetup;
    }
    QString connection;
    QString storeName;
    if (!options.odbc.isEmpty()) {
        connection = QStringLiteral("Provider=MSDASQL;") + options.odbc;
        storeName = QStringLiteral("PostgreSQL on port %1").arg(portOfOdbc(options.odbc));
    } else {
        const QString file = options.sqliteFile.isEmpty() ? QDir(hostFolder.path()).filePath(QStringLiteral("demo.db"))
                                                          : QDir(options.sqliteFile).absolutePath();
        connection = QStringLiteral("Provider=SQLite;Data Source=") + file;
        storeName = QStringLiteral("SQLite %1").arg(file);
    }
    qputenv("TKT_CONNECTION_STRING", connection.toUtf8());
    qputenv("TKT_HOST_DIR", QFile::encodeName(hostFolder.path()));

    const QString libraries = options.libraryDir.isEmpty() ? QCoreApplication::applicationDirPath() : options.libraryDir;
    Exports exports;
    if (!loadModule(libraries, &exports, &error)) {
        say(stderr, QStringLiteral("tkt_soak: ") + error);
        return ExitSetup;
    }
    std::optional<ServerSessions> server;
    int serverPort = 0;
    if (!options.odbc.isEmpty()) {
        serverPort = portOfOdbc(options.odbc);
        server.emplace();
        if (!server->open(options.odbc, serverPort, &error)) {
            say(stderr, QStringLiteral("tkt_soak: ") + error);
            return ExitSetup;
        }
    }

    say(stdout, QStringLiteral("tkt_soak: %1 dialogs (%2 path), %3 service calls on %4; pid %5")
                    .arg(options.dialogs)
                    .arg(options.path == DialogPath::Main ? QStringLiteral("main") : QStringLiteral("leave"))
                    .arg(options.calls)
                    .arg(storeName)
                    .arg(QCoreApplication::applicationPid()));
    exports.initialize();
    Run run(options, exports, server ? &*server : nullptr, serverPort);
    return run.execute();
}
