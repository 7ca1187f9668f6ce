// The result check of service results and the wording of database failures.
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"
#include "db/Connection.h"
#include "shared_services/StandIn.h"

#include <gtest/gtest.h>

namespace {

QString errorOf(const QVariant &result, const QString &arguments = QStringLiteral("0007 - 0001 - 001 - 2"))
{
    try {
        contracts::MensagemMetodo(result, true, 0, QStringLiteral("getValidaGarcom"), QStringLiteral("Cli_Tkt00740"),
                                  arguments, QStringLiteral("002"));
    } catch (const tkt::Error &e) {
        return e.message();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

TEST(MensagemMetodo, APacketPassesThroughUnchanged)
{
    const QByteArray packet("\xa3\x01\x02\x00packet", 10);
    EXPECT_EQ(contracts::MensagemMetodo(QVariant(packet), true, 0, QStringLiteral("getValMesa"),
                                        QStringLiteral("Cli_Tkt00740"), QStringLiteral("0001-01-T"), QString()),
              packet);
}

TEST(MensagemMetodo, AnErrorTextIsRaisedNamingServiceUnitAndArguments)
{
    EXPECT_EQ(errorOf(QVariant(QStringLiteral("tabela VENDEDOR não existe"))),
              QStringLiteral("Erro em getValidaGarcom (Cli_Tkt00740) com os argumentos 0007 - 0001 - 001 - 2: "
                             "tabela VENDEDOR não existe"));
    EXPECT_EQ(errorOf(QVariant(QStringLiteral("sem conexão")), QString()),
              QStringLiteral("Erro em getValidaGarcom (Cli_Tkt00740): sem conexão"));
}

TEST(MensagemMetodo, AResultThatIsNeitherPacketNorTextIsAnError)
{
    EXPECT_TRUE(errorOf(QVariant()).endsWith(QStringLiteral("resultado inválido")));
    EXPECT_TRUE(errorOf(QVariant(42)).endsWith(QStringLiteral("resultado inválido")));
    const QString blank = errorOf(QVariant(QStringLiteral("  ")));
    EXPECT_TRUE(blank.startsWith(QStringLiteral("Erro em getValidaGarcom"))) << blank.toStdString();
    EXPECT_FALSE(blank.endsWith(QStringLiteral(":   "))) << blank.toStdString();
}

TEST(ADOExceptionMessage, GivesTheErrorsText)
{
    EXPECT_EQ(contracts::ADOExceptionMessage(tkt::Error(QStringLiteral("coluna NRMESA inválida")), nullptr, QString()),
              QStringLiteral("coluna NRMESA inválida"));
    EXPECT_EQ(contracts::ADOExceptionMessage(std::runtime_error("falha"), nullptr, QString()), QStringLiteral("falha"));
    EXPECT_EQ(contracts::ADOExceptionMessage(tkt::Error(QStringLiteral("falha")), nullptr, QStringLiteral("Mesa")),
              QStringLiteral("Mesa: falha"));
}

TEST(ADOExceptionMessage, NeverRepeatsAPassword)
{
    db::Connection connection;
    connection.setConnectionString(
        QStringLiteral("Provider=SQLOLEDB.1;Data Source=srv;Initial Catalog=loja;User ID=caixa;Password=Xy9#kq"));

    const QString quoted = contracts::ADOExceptionMessage(
        tkt::Error(QStringLiteral("Login failed: Server=srv;UID=caixa;PWD={a;b};Database=loja")), &connection, QString());
    EXPECT_FALSE(quoted.contains(QStringLiteral("a;b"))) << quoted.toStdString();
    EXPECT_TRUE(quoted.contains(QStringLiteral("Database=loja"))) << quoted.toStdString();

    const QString pair = contracts::ADOExceptionMessage(
        tkt::Error(QStringLiteral("cannot open Password = hunter 2;Data Source=srv")), nullptr, QString());
    EXPECT_FALSE(pair.contains(QStringLiteral("hunter"))) << pair.toStdString();

    const QString bare = contracts::ADOExceptionMessage(
        tkt::Error(QStringLiteral("senha Xy9#kq recusada para caixa")), &connection, QString());
    EXPECT_FALSE(bare.contains(QStringLiteral("Xy9#kq"))) << bare.toStdString();
    EXPECT_TRUE(bare.contains(QStringLiteral("recusada para caixa"))) << bare.toStdString();
}

TEST(ADOExceptionMessage, AShortPasswordDoesNotBlankOutWords)
{
    db::Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Data Source=srv;User ID=u;Password=a"));
    EXPECT_EQ(contracts::ADOExceptionMessage(tkt::Error(QStringLiteral("tabela ausente")), &connection, QString()),
              QStringLiteral("tabela ausente"));
}

TEST(ADOExceptionMessage, AFailedConnectionsTextCarriesNoPassword)
{
    // psqlODBC is refused at once on a port nobody listens on.
    db::Connection connection;
    connection.setConnectionString(QStringLiteral(
        "Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=tkt;Uid=tkt;Pwd=Zq8vW3rT"));
    try {
        connection.open();
        FAIL() << "a connection to port 1 opened";
    } catch (const std::exception &e) {
        const QString text = contracts::ADOExceptionMessage(e, &connection, QString());
        EXPECT_FALSE(text.trimmed().isEmpty());
        EXPECT_FALSE(text.contains(QStringLiteral("Zq8vW3rT"))) << text.toStdString();
    }
}

} // namespace
