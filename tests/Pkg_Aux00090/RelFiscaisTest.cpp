#include "Drive.h"

#include "Pkg_Aux00090/StandIn.h"
#include "support/ScriptedSiblings.h"

using namespace pkg_test;

namespace {

TEST(RelFiscais, EveryReportSaysThePrinterIsSimulatedAndEscCloses)
{
    ScriptedSiblings siblings;
    whenModal([](QWidget *modal) {
        click(modal, "btnLeituraX");
        click(modal, "btnReducaoZ");
        click(modal, "btnMemoriaFiscal");
        render(modal, QStringLiteral("RelFiscais"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    commonui::relFiscais();
    const QStringList said = siblings.messages();
    ASSERT_EQ(said.size(), 3);
    EXPECT_TRUE(said[0].startsWith("Leitura X"));
    EXPECT_TRUE(said[1].startsWith("Redução Z"));
    EXPECT_TRUE(said[2].startsWith("Leitura da Memória Fiscal"));
    for (const QString &text : said)
        EXPECT_TRUE(text.contains("simulada"));

    bool closed = false;
    whenModal([&closed](QWidget *modal) {
        click(modal, "btnFechar");
        closed = !modal->isVisible();
    });
    commonui::relFiscais();
    EXPECT_TRUE(closed);
}

} // namespace
