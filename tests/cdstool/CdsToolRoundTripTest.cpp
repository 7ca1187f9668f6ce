// cdstool json / from-json / show on the files the demo writes, the packets a service query gives and a
// packet of every field type; and the command line's shape.
#include "TestPackets.h"
#include "ToolRun.h"
#include "support/DemoDatabase.h"
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "schema/DemoFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString sqlText(const QString &name)
{
    QFile file(QStringLiteral(":/cdstool_test/sql/%1").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("missing query %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

// json then from-json: the same bytes; json of what from-json wrote: the same text.
void expectRoundTrip(const QString &path, const QString &folder)
{
    SCOPED_TRACE(path.toStdString());
    const ToolRun json = runTool({QStringLiteral("json"), path});
    ASSERT_TRUE(json.normalExit);
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.err.isEmpty()) << json.err.toStdString();
    const QString jsonPath = folder + QStringLiteral("/round.json");
    const QString back = folder + QStringLiteral("/round.cds");
    writeBytes(jsonPath, json.out);
    const ToolRun fromJson = runTool({QStringLiteral("from-json"), jsonPath, back});
    ASSERT_EQ(fromJson.exitCode, 0) << fromJson.err.toStdString();
    EXPECT_EQ(readBytes(back), readBytes(path));
    const ToolRun again = runTool({QStringLiteral("json"), back});
    EXPECT_EQ(again.out, json.out);
    // Standard input and output stand in for the files.
    const ToolRun piped = runTool({QStringLiteral("from-json"), QStringLiteral("-"), QStringLiteral("-")}, json.out);
    EXPECT_EQ(piped.out, readBytes(path));
}

} // namespace

TEST(CdsToolRoundTrip, theDemoFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    schema::writeDemoFiles(dir.path());
    for (const QString &path : {schema::parametersFilePath(dir.path()), schema::clientFilePath(dir.path())})
        expectRoundTrip(path, dir.path());
}

TEST(CdsToolRoundTrip, aServicePacketFromTheSqliteDemo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    db::Connection connection;
    connection.setConnectionString(sqliteDemo(dir.path()).connectionString);
    connection.open();
    db::Query query(connection);
    query.setSql(sqlText(QStringLiteral("consumers.sql")));
    const QByteArray packet = db::packetOf(query);
    const auto contents = dataset::packet::decode(packet);
    ASSERT_GT(contents.rows.size(), 1);
    const QString path = dir.filePath(QStringLiteral("consumers.cds"));
    writeBytes(path, packet);
    expectRoundTrip(path, dir.path());
}

TEST(CdsToolRoundTrip, everyFieldTypeAndAwkwardValue)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QByteArray &packet : {everyTypePacket(), noRowPacket(), dataset::packet::encode({}, {})}) {
        const QString path = dir.filePath(QStringLiteral("packet.cds"));
        writeBytes(path, packet);
        expectRoundTrip(path, dir.path());
    }
}

TEST(CdsToolRoundTrip, aPacketInAnotherValidFormConvertsWithANote)
{
    // Keys in another order and a float in single precision: valid, but not the codec's own bytes.
    const QByteArray packet = QByteArray::fromHex("a4"
                                                  "6776657273696f6e01"
                                                  "66666f726d61746e746b742d646174617061636b6574"
                                                  "666669656c647381a3646e616d65614164747970650365776964746800"
                                                  "64726f77738181fa3fc00000");
    ASSERT_EQ(dataset::packet::decode(packet).rows.at(0).at(0).toDouble(), 1.5);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.cds"));
    writeBytes(path, packet);
    const ToolRun json = runTool({QStringLiteral("json"), path});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_TRUE(json.out.contains("[1.5]"));
    EXPECT_TRUE(json.err.contains(QStringLiteral("note:"))) << json.err.toStdString();
}

TEST(CdsToolShow, fieldsAndAlignedRowsWithNullsApartFromEmptyTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("every.cds"));
    writeBytes(path, everyTypePacket());
    const ToolRun run = runTool({QStringLiteral("show"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');

    const auto fieldLine = [&](const QString &name) {
        for (const QString &line : lines)
            if (line.simplified().section(u' ', 1, 1) == name)
                return line.simplified();
        return QString();
    };
    EXPECT_EQ(fieldLine(QStringLiteral("VRPRECO")), QStringLiteral("3 VRPRECO Float 0 \"Preço (€)\""));
    EXPECT_EQ(fieldLine(QStringLiteral("IDATIVO")), QStringLiteral("4 IDATIVO Boolean 0 (hidden)"));
    EXPECT_EQ(fieldLine(QStringLiteral("CDFILIAL")), QStringLiteral("8 CDFILIAL String 4"));

    // Every cell starts under its field's name.
    const qsizetype headerAt = lines.indexOf(QStringLiteral("Rows:")) + 1;
    ASSERT_GT(headerAt, 0);
    const QString header = lines.at(headerAt);
    const auto contents = everyTypeContents();
    QList<qsizetype> starts;
    for (const auto &f : contents.fields)
        starts.append(header.indexOf(f.name));
    const auto cellAt = [&](int row, int column) {
        const QString line = lines.at(headerAt + 1 + row);
        const qsizetype end = column + 1 < starts.size() ? starts[column + 1] : line.size();
        return line.mid(starts[column], end - starts[column]).trimmed();
    };
    EXPECT_EQ(cellAt(0, 1), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(cellAt(0, 4), QStringLiteral("2024-05-06T19:30:00.250"));
    EXPECT_EQ(cellAt(0, 7), QStringLiteral("0001"));
    EXPECT_EQ(cellAt(1, 0), QStringLiteral("\"\""));      // an empty text
    EXPECT_EQ(cellAt(1, 7), QStringLiteral("\"  a \"")); // blanks that would vanish
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(cellAt(2, column), QStringLiteral("<null>")) << column;
    EXPECT_EQ(cellAt(3, 0), QStringLiteral("\"<null>\"")); // a text that reads like a null
    EXPECT_EQ(cellAt(3, 6), QStringLiteral("00"));
    EXPECT_EQ(cellAt(3, 7), QStringLiteral("null"));
    EXPECT_TRUE(cellAt(0, 0).startsWith(QStringLiteral("\"São João"))) << cellAt(0, 0).toStdString();
    EXPECT_EQ(lines.at(0), path + QStringLiteral(": 8 fields, 12 rows"));
}

TEST(CdsToolUsage, helpDocumentsEveryCommandAndExitStatus)
{
    const ToolRun help = runTool({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *part : {"cdstool show FILE", "cdstool json FILE", "cdstool from-json IN OUT",
                             "cdstool set FILE FIELD=VALUE...", "Exit status:", "  0  ", "  1  ", "  2  ", "byte offset"})
        EXPECT_TRUE(help.out.contains(part)) << part;
}

TEST(CdsToolUsage, badUsageExitsWithTwoAndTheUsageLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.cds"));
    writeBytes(path, everyTypePacket());
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("frob")},
        {QStringLiteral("show")},
        {QStringLiteral("show"), path, path},
        {QStringLiteral("json"), QStringLiteral("--pretty"), path},
        {QStringLiteral("from-json"), path},
        {QStringLiteral("set"), path},
        {QStringLiteral("set"), path, QStringLiteral("CDFILIAL")},
        {QStringLiteral("set"), path, QStringLiteral("=0002")},
        {QStringLiteral("set"), path, QStringLiteral("CDFILIAL=1"), QStringLiteral("cdfilial=2")},
        {QStringLiteral("set"), QStringLiteral("-"), QStringLiteral("CDFILIAL=1")},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const ToolRun run = runTool(args);
        EXPECT_TRUE(run.normalExit);
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage: cdstool"))) << run.err.toStdString();
    }
    EXPECT_EQ(readBytes(path), everyTypePacket());
}
