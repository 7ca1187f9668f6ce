// Texts: the keyed message table, code adjustment, the empty test and the screen-code caption.
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"
#include "contracts/TMessages.h"
#include "shared_services/StandIn.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

using contracts::TMessages;

namespace {

TMessages tableOf(const QStringList &lines)
{
    TMessages table;
    table.Messages = lines;
    return table;
}

TEST(TMessages, KeysMatchWithoutRegardToCaseAndTheFirstLineWins)
{
    const TMessages table = tableOf({
        QStringLiteral("Mesa_Ninf|Mesa não informada!"),
        QStringLiteral("Mesa_Ncad|Mesa não cadastrada!"),
        QStringLiteral("Cod_Cons|Código do Consumidor"),
        QStringLiteral("COD_CONS|Texto repetido"),
        QStringLiteral("Desc|Valor | com barra"),
    });
    EXPECT_EQ(table.Msg(QStringLiteral("Mesa_NInf")), QStringLiteral("Mesa não informada!"));
    EXPECT_EQ(table.Msg(QStringLiteral("MESA_NCAD")), QStringLiteral("Mesa não cadastrada!"));
    EXPECT_EQ(table.Msg(QStringLiteral("cod_cons")), QStringLiteral("Código do Consumidor"));
    EXPECT_EQ(table.Msg(QStringLiteral("Desc")), QStringLiteral("Valor | com barra"));
}

TEST(TMessages, AMissingKeyOrAPrefixOfAKeyGivesAnEmptyText)
{
    const TMessages table = tableOf({QStringLiteral("Mesa_Ninf|Mesa não informada!"), QStringLiteral("Sem barra")});
    EXPECT_EQ(table.Msg(QStringLiteral("Mesa")), QString());
    EXPECT_EQ(table.Msg(QStringLiteral("Mesa_Ninf2")), QString());
    EXPECT_EQ(table.Msg(QStringLiteral("Sem barra")), QString());
    EXPECT_TRUE(table.Msg(QStringLiteral("Nada")).isEmpty());
}

TEST(TMessages, ReadsUtf8LinesFromAResourceDroppingMarksAndBlankLines)
{
    const TMessages table = TMessages::fromFile(QStringLiteral(":/shared_services_test/messages.txt"));
    EXPECT_EQ(table.Messages.size(), 5);
    EXPECT_EQ(table.Msg(QStringLiteral("mesa_ninf")), QStringLiteral("Mesa não informada!"));
    EXPECT_EQ(table.Msg(QStringLiteral("Cod_Cons")), QStringLiteral("Código do Consumidor"));
    EXPECT_EQ(table.Msg(QStringLiteral("Vazio")), QString());
}

TEST(TMessages, AFileThatCannotBeReadIsAnErrorNamingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("falta.txt"));
    try {
        TMessages::fromFile(path);
        FAIL() << "no error for a missing file";
    } catch (const tkt::Error &e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
}

TEST(Ajusta, FillsShortCodesWithLeadingZerosAndNeverCutsLongOnes)
{
    using sharedservices::ajusta;
    EXPECT_EQ(ajusta(QStringLiteral("7"), 4), QStringLiteral("0007"));
    EXPECT_EQ(ajusta(QStringLiteral("  12 "), 4), QStringLiteral("0012"));
    EXPECT_EQ(ajusta(QStringLiteral("1234"), 4), QStringLiteral("1234"));
    EXPECT_EQ(ajusta(QStringLiteral("12345"), 4), QStringLiteral("12345"));
    EXPECT_EQ(ajusta(QStringLiteral("42"), 12), QStringLiteral("000000000042"));
    EXPECT_EQ(ajusta(QStringLiteral("123456789"), 21), QStringLiteral("000000000000123456789"));
    EXPECT_EQ(ajusta(QStringLiteral("1234567890123456789012"), 21), QStringLiteral("1234567890123456789012"));
    EXPECT_EQ(ajusta(QStringLiteral("A1"), 4), QStringLiteral("00A1"));
}

TEST(Ajusta, EmptyAndBlankCodesStayEmpty)
{
    EXPECT_EQ(sharedservices::ajusta(QString(), 4), QString());
    EXPECT_EQ(sharedservices::ajusta(QStringLiteral("    "), 21), QString());
}

TEST(Ajusta, CountsCharactersNotBytes)
{
    // "ção" is three characters but five bytes in UTF-8.
    EXPECT_EQ(sharedservices::ajusta(QStringLiteral("ção"), 4), QStringLiteral("0ção"));
    EXPECT_EQ(sharedservices::ajusta(QStringLiteral("ãçé"), 3), QStringLiteral("ãçé"));
}

TEST(EmptyString, BlankTextsCountAsEmpty)
{
    using sharedservices::emptyString;
    EXPECT_TRUE(emptyString(QString()));
    EXPECT_TRUE(emptyString(QStringLiteral("")));
    EXPECT_TRUE(emptyString(QStringLiteral("     ")));
    EXPECT_TRUE(emptyString(QStringLiteral(" \t ")));
    EXPECT_FALSE(emptyString(QStringLiteral("0")));
    EXPECT_FALSE(emptyString(QStringLiteral("  x ")));
    EXPECT_FALSE(emptyString(QStringLiteral("ç")));
}

TEST(MontaRodapeGeral, MarksAFiscalPrinterOnceAndTrimsTheCaption)
{
    using sharedservices::montaRodapeGeral;
    const QString flag = QStringLiteral("S");
    EXPECT_EQ(montaRodapeGeral(false, QStringLiteral(" TKT00740 "), flag), QStringLiteral("TKT00740"));
    EXPECT_EQ(montaRodapeGeral(true, QStringLiteral("TKT00740 "), flag), QStringLiteral("TKT00740 - IF"));
    const QString once = montaRodapeGeral(true, QStringLiteral("TKT00740"), flag);
    EXPECT_EQ(montaRodapeGeral(true, once, flag), once);
}

TEST(Trad, AcceptsNoForm)
{
    EXPECT_NO_THROW(contracts::Trad(nullptr));
}

} // namespace
