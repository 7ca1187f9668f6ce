// What the operator reads when the dialog meets a damaged table file, an unusable service answer or
// a database that refuses the connection: Portuguese, with what a technician needs to find it.
#include "dialog/DialogHarness.h"
#include "support/QtPrinters.h"

#include "Srv_tkt00740/Services.h"
#include "dataset/Texts.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Cli_tkt00740;

namespace {

// Words of the English texts these replaced; none may reach the operator.
bool soundsEnglish(const QString &text)
{
    for (const char *word : {"damaged", "truncated", "at byte", "invalid data packet", "Cannot ", "has no field",
                             "does not fit", "found "})
        if (text.contains(QLatin1String(word)))
            return true;
    return false;
}

TEST(OperatorErrorTexts, DamagedParametersFileBesideTheHostIsNamedWithTheByte)
{
    DialogHarness h;
    const QString path = QDir(h.folder()).filePath(QStringLiteral("PARAMETROSQOR.CDS"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_GT(whole.size(), 37);
    // Cut as a copy interrupted half-way would leave it.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(whole.left(37)), 37);
    file.close();

    TfrmCriaComanda &f = h.open();
    EXPECT_TRUE(f.isVisible()) << "the dialog still opens";
    ASSERT_EQ(h.errorBoxes.size(), 1) << h.errorBoxes.join(QStringLiteral(" | ")).toStdString();
    const QString shown = h.errorBoxes.first();
    EXPECT_EQ(shown, dataset::texts::damagedTableFile(QDir::cleanPath(path), dataset::texts::packetTruncated(37)));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("O arquivo de tabela \""))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("PARAMETROSQOR.CDS\" está danificado"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("no byte 37"))) << shown.toStdString();
    EXPECT_FALSE(soundsEnglish(shown)) << shown.toStdString();
    EXPECT_TRUE(f.stCdFilial.isEmpty()) << "nothing is read from a damaged file";
}

TEST(OperatorErrorTexts, ServiceAnswerThatIsNoPacketIsExplainedInTheNotice)
{
    DialogHarness h;
    // Two bytes of a map that promises a key: the service's answer ends where the key should start.
    const QByteArray broken = QByteArray::fromHex("a164");
    h.siblings.script(contracts::MensagemMetodo, [&](const QVariant &, bool, int, const QString &, const QString &,
                                                     const QString &, const QString &) { return broken; });
    h.open();
    ASSERT_FALSE(h.siblings.messages().isEmpty());
    const QString notice = h.siblings.messages().first();
    EXPECT_EQ(notice, dataset::texts::packetTruncated(broken.size()));
    EXPECT_TRUE(notice.contains(QStringLiteral("no byte 2"))) << notice.toStdString();
    EXPECT_FALSE(soundsEnglish(notice)) << notice.toStdString();
}

TEST(OperatorErrorTexts, RefusedConnectionGivesTheDriversReasonWithoutThePassword)
{
    const QString secret = QStringLiteral("Zq8vW3rT");
    const QString closedPort = QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;"
                                              "Database=x;Uid=u;Pwd=") + secret;
    const QString lead = QStringLiteral("Não foi possível conectar ao banco de dados: ");
    DialogHarness h(true, {}, closedPort);
    h.open();
    ASSERT_EQ(h.errorBoxes.size(), 1) << h.errorBoxes.join(QStringLiteral(" | ")).toStdString();
    const QString shown = h.errorBoxes.first();
    EXPECT_TRUE(shown.startsWith(lead)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("127.0.0.1"))) << "the driver's reason follows: " << shown.toStdString();

    // The services the show handler then calls answer with a text, never with the password.
    const QVariant answer = Srv_tkt00740::getValidaCons(QStringLiteral("21"), QString());
    ASSERT_EQ(answer.typeId(), QMetaType::QString) << "an error answer, not a packet";
    EXPECT_TRUE(answer.toString().startsWith(lead)) << "the reason the connection failed: " << answer.toString().toStdString();
    EXPECT_TRUE(answer.toString().contains(QStringLiteral("127.0.0.1"))) << answer.toString().toStdString();
    for (const QString &text : h.errorBoxes + h.siblings.messages() + QStringList{answer.toString()})
        EXPECT_FALSE(text.contains(secret)) << text.toStdString();
}

} // namespace
