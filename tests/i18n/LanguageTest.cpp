// The host's language: where the setting comes from, what Trad and the module then show, what the
// log keeps, and what stops a catalogue from shipping.
#include "catalogue_check/CatalogueCheck.h"
#include "dialog/DialogHarness.h"
#include "shared_services/Language.h"

#include "contracts/TBlendedBitBtn.h"

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct LanguageSetting {
    explicit LanguageSetting(const QByteArray &value) { qputenv("TKT_LANGUAGE", value); }
    ~LanguageSetting()
    {
        qunsetenv("TKT_LANGUAGE");
        sharedservices::useHostLanguage();
    }
};

TEST(HostLanguage, TheEnvironmentThenTheFileBesideTheProgramElsePortugueseWhateverTheLocale)
{
    struct Case { const char *environment; const char *file; const char *language; };
    const Case cases[] = {
        {nullptr, nullptr, "pt_BR"}, {"es", nullptr, "es"},  {"en_US", nullptr, "en"}, {"ES-ar", nullptr, "es"},
        {nullptr, "\xEF\xBB\xBF\n en \n", "en"}, {"pt_BR", "es", "pt_BR"}, {"fr", nullptr, "pt_BR"},
        {"  ", "es", "es"},
    };
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Mexico));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.environment ? c.environment : "-") << " / " << (c.file ? c.file : "-"));
        QTemporaryDir dir;
        if (c.file) {
            QFile file(dir.filePath(QStringLiteral("tkt00740.lang")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.file);
        }
        if (c.environment)
            qputenv("TKT_LANGUAGE", c.environment);
        else
            qunsetenv("TKT_LANGUAGE");
        EXPECT_EQ(sharedservices::languageFor(dir.path()), QLatin1String(c.language));
    }
    qunsetenv("TKT_LANGUAGE");
    QLocale::setDefault(QLocale::c());
}

// The main path in Spanish: captions, hints, the message table with its keys, column titles, a
// refusal and the question; the log keeps the Portuguese.
TEST(Trad, TheDialogSpeaksTheHostsLanguageAndTheLogKeepsTheSource)
{
    static QStringList logged;
    logged.clear();
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        logged << text;
    });
    {
        LanguageSetting spanish("es");
        DialogHarness h;
        Cli_tkt00740::TfrmCriaComanda &f = h.open();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Información general de la comanda"));
        EXPECT_EQ(f.findChild<QLabel *>(QStringLiteral("lblInfGarcom"))->text(), QStringLiteral("Indique el mesero"));
        EXPECT_EQ(f.spbVendedor()->toolTip(), QStringLiteral("Buscar mesero (Alt + G)"));
        ASSERT_EQ(f.msgPadrao.Messages.size(), 27);
        EXPECT_EQ(f.msgPadrao.Messages[19], QStringLiteral("Cod_Cons|Digite el código del cliente"));
        EXPECT_EQ(f.msg(QStringLiteral("Mesa_NInf")), QStringLiteral("Mesa no indicada."));
        EXPECT_EQ(f.cdsGarcomAux.field(QStringLiteral("NMFANVEN")).displayLabel, QStringLiteral("Nombre del mesero"));

        f.selectField(2);
        f.lblCdGarcom()->setText(QStringLiteral("3"));
        h.siblings.clearCalls();
        EXPECT_FALSE(f.Vd_Geral());
        EXPECT_EQ(h.siblings.lastMessageText(), QStringLiteral("El mesero no está asociado a la sucursal."));
        EXPECT_TRUE(logged.filter(QStringLiteral("notice: Garçom não está associado a filial.")).size() == 1)
            << logged.join(QLatin1Char('\n')).toStdString();

        f.spbPesqCons()->setEnabled(false);
        f.spbVendedor()->setEnabled(false);
        f.selectField(3);
        f.lblNrMesa()->setText(QStringLiteral("1"));
        h.siblings.clearCalls();
        f.enterStep();
        EXPECT_EQ(h.siblings.lastMessageText(), QStringLiteral("¿Confirma la apertura de la comanda?"));
    }
    qInstallMessageHandler(previous);
}

TEST(Catalogue, WhatKeepsACatalogueFromShipping)
{
    struct Case { const char *translation; const char *fault; };
    const Case cases[] = {
        {"<translation>Waiter %1 of %2.</translation>", nullptr},
        {"<translation type=\"unfinished\"></translation>", "unfinished"},
        {"<translation type=\"unfinished\">Waiter %1 of %2.</translation>", "unfinished"},
        {"<translation type=\"vanished\">Waiter %1 of %2.</translation>", "gone from the code"},
        {"<translation> </translation>", "empty translation"},
        {"<translation>Waiter %1.</translation>", "places %1, the source %1 %2"},
        {"", "no translation"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.translation);
        const QByteArray ts = QByteArray("<TS><context><name>X</name><message><source>Garçom %1 de %2.</source>")
            + c.translation + "</message></context></TS>";
        const QStringList faults = catalogue::faultsOf(ts);
        if (!c.fault) {
            EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        } else {
            ASSERT_EQ(faults.size(), 1);
            EXPECT_TRUE(faults[0].contains(QLatin1String(c.fault))) << faults[0].toStdString();
        }
    }
}

} // namespace
