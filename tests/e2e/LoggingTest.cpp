// What support staff read when a comanda will not open: the module's log, turned on with
// QT_LOGGING_RULES, through the real host along the main path.
#include "e2e/PosHost.h"
#include "support/QtPrinters.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kMainPath = QStringLiteral(
    "type:0000054321 Enter wait:200 type:7 Enter wait:200 type:1 Enter wait:300 click:btnSim wait:300 type:1234 Enter "
    "wait:300");
const QString kStorePassword = QStringLiteral("Segredo#4821");

QStringList linesOf(const QString &err, const QString &category)
{
    return err.split('\n').filter(QRegularExpression('^' + QRegularExpression::escape(category) + "\\|"));
}

class HostLog : public testing::Test {
protected:
    HostRun run(const QString &rules)
    {
        host.setEnvironment("QT_LOGGING_RULES", rules);
        host.setEnvironment("QT_MESSAGE_PATTERN", "%{category}|%{type}|%{message}");
        // A password in the store's connection string, which no log line may ever show.
        host.setEnvironment("TKT_CONNECTION_STRING", host.connectionString() + ";Password=" + kStorePassword);
        return host.run({}, kMainPath);
    }
    PosHost host;
};

TEST_F(HostLog, DebugLinesForEveryServiceCallAndValidationWhenTurnedOn)
{
    const HostRun r = run("tkt.*.debug=true");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(r.value("result"), "True");

    const QStringList services = linesOf(r.err, "tkt.services");
    for (const char *service : {"getValidaCons", "getValidaGarcom", "getValMesa", "getValComanda"})
        EXPECT_EQ(services.filter(QString::fromLatin1(service) + '(').isEmpty(), false) << service;
    for (const QString &line : services)
        EXPECT_TRUE(line.contains(QRegularExpression("(packet of \\d+ bytes|error: .+) in \\d+\\.\\d ms$")))
            << line.toStdString();
    // The show's three lookups and at least one per validated field.
    EXPECT_GE(services.size(), 6);

    const QStringList validations = linesOf(r.err, "tkt.dialog").filter("validation of the");
    for (const char *field : {"consumer", "waiter", "table"})
        EXPECT_FALSE(validations.filter(QStringLiteral("the %1 field").arg(QLatin1String(field))).isEmpty()) << field;
    EXPECT_FALSE(linesOf(r.err, "tkt.standin").filter("password accepted").isEmpty());

    // Neither the operator's password nor the store's appears anywhere in the output.
    EXPECT_FALSE(r.err.contains(QRegularExpression("(?<![0-9])1234(?![0-9])"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(kStorePassword));
}

TEST_F(HostLog, NoDebugLinesByDefault)
{
    const HostRun r = run(QString());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(r.value("result"), "True");
    const QStringList debug = r.err.split('\n').filter(QRegularExpression("^tkt\\.[a-z]+\\|debug\\|"));
    EXPECT_TRUE(debug.isEmpty()) << debug.join('\n').toStdString();
    EXPECT_TRUE(linesOf(r.err, "tkt.services").isEmpty());
}

} // namespace
