// Bad files: every command says what is wrong and at which byte, exits with 1, prints nothing on
// standard output and never crashes; set leaves the bad file as it was.
#include "TestPackets.h"
#include "ToolRun.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct BadFile {
    std::string what;
    QByteArray bytes;
};

QByteArray packetWith(const QCborArray &fields, const QCborArray &rows)
{
    QCborMap m;
    m.insert(QStringLiteral("format"), QStringLiteral("tkt-datapacket"));
    m.insert(QStringLiteral("version"), 1);
    m.insert(QStringLiteral("fields"), fields);
    m.insert(QStringLiteral("rows"), rows);
    return QCborValue(m).toCbor();
}

QCborMap cborField(const char *name, int type)
{
    QCborMap f;
    f.insert(QStringLiteral("name"), QString::fromUtf8(name));
    f.insert(QStringLiteral("type"), type);
    f.insert(QStringLiteral("width"), 0);
    return f;
}

QList<BadFile> badFiles()
{
    const QByteArray good = everyTypePacket();
    QList<BadFile> files{{"empty", {}}};
    for (const qsizetype cut : {qsizetype(1), qsizetype(7), qsizetype(40), good.size() / 2, good.size() - 1})
        files.append(BadFile{"truncated to " + std::to_string(cut) + " bytes", good.left(cut)});
    files.append(BadFile{"a byte after the packet", good + '\0'});
    QRandomGenerator random(7400);
    for (int i = 0; i < 8; ++i) {
        QByteArray noise(1 + random.bounded(300), Qt::Uninitialized);
        for (char &c : noise)
            c = char(random.bounded(256));
        // Half of them start as a map, to get past the first check.
        if (i % 2)
            noise[0] = char(0xa4);
        files.append(BadFile{"random bytes " + std::to_string(i), noise});
    }
    const QCborArray intField{cborField("QTITEM", 2)};
    files.append(BadFile{"text in an Integer field", packetWith(intField, QCborArray{QCborValue(QCborArray{QStringLiteral("doze")})})});
    files.append(BadFile{"a row too short", packetWith(intField, QCborArray{QCborValue(QCborArray{})})});
    files.append(BadFile{"an unknown type code", packetWith({cborField("X", 9)}, {})});
    files.append(BadFile{"a date-time with a zone",
                  packetWith({cborField("DT", 5)},
                             QCborArray{QCborValue(QCborArray{QCborValue(QCborKnownTags::DateTimeString,
                                                                        QStringLiteral("2024-05-06T19:30:00Z"))})})});
    files.append(BadFile{"a text field map", packetWith({QStringLiteral("NAME")}, {})});
    files.append(BadFile{"a CBOR array", QCborValue(QCborArray{1, 2}).toCbor()});
    files.append(BadFile{"a JSON text", "{\"format\": \"tkt-datapacket\"}"});
    return files;
}

} // namespace

TEST(CdsToolReject, everyCommandNamesTheByteWhereDecodingGaveUp)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bad.cds"));
    // The tool says itself that an empty file has nothing at byte 0; every other offset comes from
    // the decoder, in the operator's words.
    const QRegularExpression offset(QStringLiteral("byte \\d+"));
    const QRegularExpression decoderOffset(QStringLiteral(": .* no byte \\d+"));
    for (const BadFile &file : badFiles()) {
        SCOPED_TRACE(file.what);
        writeBytes(path, file.bytes);
        const QList<QStringList> commands = {
            {QStringLiteral("show"), path},
            {QStringLiteral("json"), path},
            {QStringLiteral("set"), path, QStringLiteral("QTITEM=1")},
        };
        for (const QStringList &args : commands) {
            SCOPED_TRACE(args.first().toStdString());
            const ToolRun run = runTool(args);
            ASSERT_TRUE(run.normalExit) << run.err.toStdString();
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.err.startsWith(QStringLiteral("cdstool: ") + path)) << run.err.toStdString();
            EXPECT_TRUE((file.bytes.isEmpty() ? offset : decoderOffset).match(run.err).hasMatch()) << run.err.toStdString();
        }
        EXPECT_EQ(readBytes(path), file.bytes);
    }
}

TEST(CdsToolReject, missingFilesAndFoldersAreNamed)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.cds"));
    for (const QStringList &args : {QStringList{QStringLiteral("show"), missing},
                                    QStringList{QStringLiteral("json"), dir.path()},
                                    QStringList{QStringLiteral("set"), missing, QStringLiteral("A=1")},
                                    QStringList{QStringLiteral("from-json"), missing, dir.filePath(QStringLiteral("out"))}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("cannot read"))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out"))));
}

TEST(CdsToolReject, badJsonLeavesTheOutputFileAsItWas)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.cds"));
    writeBytes(out, everyTypePacket());
    const struct {
        QByteArray json;
        const char *message;
    } cases[] = {
        {"{\"format\": \"tkt-datapacket\", \"version\": 1, \"fields\": [", "at byte"},
        {"", "at byte 0"},
        {"{\"format\": \"tkt-datapacket\", \"version\": 1, \"fields\": "
         "[{\"name\": \"A\", \"type\": \"Date\", \"width\": 0}], \"rows\": [[\"06/05/2024\"]]}",
         "row 1, field \"A\" (Date)"},
    };
    for (const auto &c : cases) {
        const ToolRun run = runTool({QStringLiteral("from-json"), QStringLiteral("-"), out}, c.json);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_EQ(readBytes(out), everyTypePacket());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.cds")});
}
