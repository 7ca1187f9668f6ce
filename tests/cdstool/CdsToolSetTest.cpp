// cdstool set: a good set changes those fields of the first row and nothing else; a refused one names
// the field and the rule and leaves the file byte for byte as it was.
#include "TestPackets.h"
#include "ToolRun.h"
#include "dataset/DateText.h"
#include "schema/DemoFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dataset;

namespace {

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(CdsToolSet, aTechnicianSetsTheBranchAndTillOfTheParametersFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    schema::writeParametersFile(dir.path());
    const QString path = schema::parametersFilePath(dir.path());
    const auto before = packet::decode(readBytes(path));

    const ToolRun run = runTool({QStringLiteral("set"), path, QStringLiteral("CDFILIAL=0002"), QStringLiteral("cdcaixa=007"),
                                 QStringLiteral("UtilizaImpFis=TRUE")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    auto expected = before;
    Row &row = expected.rows.first();
    row[0] = QStringLiteral("0002");
    row[2] = QStringLiteral("007");
    row[10] = true;
    EXPECT_EQ(readBytes(path), packet::encode(expected.fields, expected.rows));
    EXPECT_EQ(filesIn(dir), QStringList{QFileInfo(path).fileName()}); // no temporary file left behind
}

TEST(CdsToolSet, onlyTheFirstRowChangesAndEveryTypeTakesItsText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("every.cds"));
    writeBytes(path, everyTypePacket());
    const ToolRun run = runTool({QStringLiteral("set"), path, QStringLiteral("NMCONSUMIDOR=Zé"), QStringLiteral("QTITEM=-12"),
                                 QStringLiteral("VRPRECO=1e3"), QStringLiteral("IDATIVO=0"),
                                 QStringLiteral("DTABERTURA=2024-05-06 19:30"), QStringLiteral("DTNASC=2024-02-29"),
                                 QStringLiteral("FOTO=AP8Q"), QStringLiteral("CDFILIAL=")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    auto expected = everyTypeContents();
    expected.rows.first() = Row{QStringLiteral("Zé"), qlonglong(-12), 1000.0, false,
                                datetext::wallClock(QDate(2024, 5, 6), QTime(19, 30)), QDate(2024, 2, 29),
                                QByteArray("\x00\xff\x10", 3), QString("")};
    EXPECT_EQ(readBytes(path), packet::encode(expected.fields, expected.rows));
}

TEST(CdsToolSet, refusedValuesNameTheFieldAndTheRuleAndLeaveTheFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("every.cds"));
    const QByteArray original = everyTypePacket();
    writeBytes(path, original);
    const struct {
        QStringList assignments;
        const char *message;
    } cases[] = {
        {{QStringLiteral("NOFIELD=1")}, "there is no field NOFIELD"},
        {{QStringLiteral("CDFILIAL=00012")}, "field CDFILIAL (String, width 4) takes at most 4 characters"},
        {{QStringLiteral("CDFILIAL=ãããã")}, nullptr}, // four characters fit, whatever their bytes
        {{QStringLiteral("QTITEM=1.5")}, "field QTITEM (Integer, width 0) takes a whole number"},
        {{QStringLiteral("QTITEM=9223372036854775808")}, "QTITEM"},
        {{QStringLiteral("QTITEM= 1")}, "QTITEM"},
        {{QStringLiteral("VRPRECO=12,5")}, "field VRPRECO (Float, width 0) takes a finite number"},
        {{QStringLiteral("VRPRECO=nan")}, "finite number"},
        {{QStringLiteral("IDATIVO=sim")}, "field IDATIVO (Boolean, width 0) takes true or false"},
        {{QStringLiteral("DTABERTURA=06/05/2024")}, "field DTABERTURA (DateTime, width 0) takes"},
        {{QStringLiteral("DTNASC=2023-02-29")}, "field DTNASC (Date, width 0) takes a date yyyy-MM-dd"},
        {{QStringLiteral("FOTO=não base64")}, "field FOTO (Blob, width 0) takes base64"},
        // The first value fits, the second does not: nothing is written.
        {{QStringLiteral("QTITEM=5"), QStringLiteral("DTNASC=amanhã")}, "DTNASC"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.assignments.join(u' ').toStdString());
        if (!c.message) {
            writeBytes(path, original);
            EXPECT_EQ(runTool(QStringList{QStringLiteral("set"), path} + c.assignments).exitCode, 0);
            writeBytes(path, original);
            continue;
        }
        const ToolRun run = runTool(QStringList{QStringLiteral("set"), path} + c.assignments);
        EXPECT_TRUE(run.normalExit);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("the file is unchanged"))) << run.err.toStdString();
        EXPECT_EQ(readBytes(path), original);
    }
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("every.cds")});
}

TEST(CdsToolSet, aWidthLimitsABlobInBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blob.cds"));
    const FieldList fields{Field{QStringLiteral("FOTO"), FieldType::Blob, 2, {}, true}};
    const QByteArray original = packet::encode(fields, {Row{QVariant()}});
    writeBytes(path, original);
    const ToolRun refused = runTool({QStringLiteral("set"), path, QStringLiteral("FOTO=AP8Q")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("at most 2 bytes; this value has 3"))) << refused.err.toStdString();
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(runTool({QStringLiteral("set"), path, QStringLiteral("FOTO=AP8=")}).exitCode, 0);
    EXPECT_EQ(readBytes(path), packet::encode(fields, {Row{QByteArray("\x00\xff", 2)}}));
}

TEST(CdsToolSet, aFileWithoutRowsIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.cds"));
    writeBytes(path, noRowPacket());
    const ToolRun run = runTool({QStringLiteral("set"), path, QStringLiteral("CDFILIAL=0002")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no row"))) << run.err.toStdString();
    EXPECT_EQ(readBytes(path), noRowPacket());
}
