// tkt_soak on small numbers: it must run the module, print its figures and summary, count every
// failure it meets and say when its time limit stopped it.
#include "support/DemoDatabase.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SoakRun {
    int exitCode = -1;
    QString out;
    QString err;

    // The figures line that starts with what ("start", "ops", "end", "finalized"), as key=value.
    QList<QHash<QString, QString>> lines(const QString &what) const
    {
        QList<QHash<QString, QString>> found;
        for (const QString &line : out.split(u'\n')) {
            const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
            if (words.value(0) != what)
                continue;
            QHash<QString, QString> values;
            for (const QString &word : words.mid(1)) {
                const qsizetype eq = word.indexOf(u'=');
                if (eq > 0)
                    values.insert(word.left(eq), word.mid(eq + 1));
            }
            found.append(values);
        }
        return found;
    }
};

SoakRun soak(const QStringList &arguments, int timeoutMs = 240000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TKT_SOAK), arguments);
    SoakRun run;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        ADD_FAILURE() << "tkt_soak did not finish in time";
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

qint64 number(const QHash<QString, QString> &line, const QString &key)
{
    bool ok = false;
    const qint64 value = line.value(key).toLongLong(&ok);
    return ok ? value : -1;
}

TEST(SoakSmoke, AFewDialogsAndCallsOnSQLitePrintTheirFiguresAndSummary)
{
    const SoakRun r = soak({"--dialogs", "3", "--calls", "30", "--every", "10"});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();

    const auto start = r.lines("start");
    const auto every = r.lines("ops");
    const auto end = r.lines("end");
    const auto finalized = r.lines("finalized");
    ASSERT_EQ(start.size(), 1) << r.out.toStdString();
    ASSERT_EQ(every.size(), 3) << "ops 10, 20 and 30 of 33: " << r.out.toStdString();
    ASSERT_EQ(end.size(), 1);
    ASSERT_EQ(finalized.size(), 1);
    EXPECT_EQ(number(start[0], "ops"), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(number(every[i], "ops"), 10 * (i + 1));
    EXPECT_EQ(number(end[0], "ops"), 33);
    EXPECT_EQ(number(end[0], "dialogs"), 3);
    EXPECT_EQ(number(end[0], "calls"), 30);
    EXPECT_EQ(number(end[0], "failures"), 0);
    for (const auto &line : start + every + end + finalized) {
        EXPECT_GT(number(line, "rss_kib"), 1000) << "resident memory read from /proc/self/status";
        EXPECT_GE(number(line, "fds"), 3) << "the standard streams at least";
        EXPECT_FALSE(line.contains("pg_conns")) << "no server on SQLite";
    }
    EXPECT_GT(number(end[0], "rss_kib"), number(start[0], "rss_kib")) << "the dialog's code and data were loaded";

    EXPECT_TRUE(r.out.contains(QRegularExpression(
        QStringLiteral("summary: 33 operations \\(3 dialogs on the main path, 30 service calls\\)"))))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("summary: resident memory median \\d+ KiB -> \\d+ KiB"))));
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("summary: file descriptors median \\d+ -> \\d+"))));
    EXPECT_TRUE(r.out.contains(QStringLiteral("summary: failures 0 (services 0, entries 0)")));
}

TEST(SoakSmoke, LeavingEachDialogAsItShowsIsAPathOfItsOwn)
{
    const SoakRun r = soak({"--path", "leave", "--dialogs", "2", "--calls", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("summary: 6 operations (2 dialogs on the leave path, 4 service calls)")))
        << r.out.toStdString();
}

TEST(SoakSmoke, EveryCallOnAStoreWithoutTablesIsAFailureAndTheExitSaysSo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = dir.filePath(QStringLiteral("empty.db"));
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const SoakRun r = soak({"--sqlite", empty, "--dialogs", "0", "--calls", "6"});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("summary: failures 6 (services 6, entries 0)"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("failure: call 1: getValidaGarcom"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("answered an error"))) << r.err.toStdString();
}

TEST(SoakSmoke, TheTimeLimitStopsTheRunAndIsToldOf)
{
    const SoakRun r = soak({"--dialogs", "0", "--calls", "100000000", "--seconds", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(
        QStringLiteral("stopped early: the time limit of 1 s was reached after \\d+ of 100000000 operations"))))
        << r.out.toStdString();
    const auto end = r.lines("end");
    ASSERT_EQ(end.size(), 1);
    EXPECT_GT(number(end[0], "calls"), 0);
    EXPECT_LT(number(end[0], "calls"), 100000000);
}

TEST(SoakSmoke, WrongUseIsRefusedWithTheHelp)
{
    const SoakRun help = soak({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--dialogs N"))) << help.out.toStdString();
    const SoakRun wrong = soak({"--dialogs", "many"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("--dialogs needs a whole number"))) << wrong.err.toStdString();
}

TEST(SoakSmoke, OnPostgreSQLTheServerConnectionsAreCountedAndNoneIsLeftAfterFinalize)
{
    const auto backend = postgresDemo(QStringLiteral("soak"));
    if (!backend)
        GTEST_SKIP() << "PostgreSQL is not configured (TKT_PG_ODBC)";
    QString odbc = backend->connectionString;
    odbc.remove(QRegularExpression(QStringLiteral("^Provider=MSDASQL;"), QRegularExpression::CaseInsensitiveOption));

    const SoakRun r = soak({"--pg", odbc, "--dialogs", "2", "--calls", "12", "--every", "7"});
    ASSERT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    const auto every = r.lines("ops");
    const auto finalized = r.lines("finalized");
    ASSERT_FALSE(every.isEmpty()) << r.out.toStdString();
    ASSERT_EQ(finalized.size(), 1);
    for (const auto &line : every) {
        EXPECT_GE(number(line, "pg_conns"), 1) << "the module's kept connection, seen by the server";
        EXPECT_GE(number(line, "pg_sockets"), 1) << "and by this process's sockets";
    }
    EXPECT_EQ(number(finalized[0], "pg_sockets"), 0) << "Finalize closes every connection the module kept";
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("summary: server sessions median \\d+ -> \\d+"))));
}

} // namespace
