// The operator password step against the demo operators (every password is "1234").
#include "Drive.h"

#include "Pkg_Aux00090/StandIn.h"
#include "db/Connection.h"
#include "support/DemoDatabase.h"
#include "support/ScriptedSiblings.h"

#include <QApplication>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

using namespace pkg_test;

namespace {

QVariantList settings(const QString &setting, const QString &waiter)
{
    return {QStringLiteral("001"), setting, false, waiter};
}

QVariant freshResult()
{
    return QVariantList(10);
}

class PasswordTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { siblings.setConnectionString(GetParam().connectionString); }

    void run(const QString &sql)
    {
        db::Connection connection;
        connection.setConnectionString(GetParam().connectionString);
        connection.open();
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
    }

    // Types each password in turn and confirms it; records what the dialog said after each.
    void answer(const QStringList &passwords)
    {
        whenModal([this, passwords](QWidget *modal) {
            operatorShown = child<QLabel>(modal, "lblOperador")->text();
            for (const QString &password : passwords) {
                typeInto(modal, "edtSenha", password);
                if (password == passwords.last())
                    render(modal, QStringLiteral("ControleSenhOper"));
                pressIn(modal, "edtSenha", Qt::Key_Return);
                if (modal->isVisible())
                    said << child<QLabel>(modal, "lblMensagem")->text();
            }
        });
    }

    ScriptedSiblings siblings;
    QString operatorShown;
    QStringList said;
};

TEST_P(PasswordTest, RightPasswordOfTheWaitersOperatorIsAccepted)
{
    answer({"1234"});
    QVariant result = freshResult();
    ASSERT_TRUE(commonui::controleSenhOper(settings("S", "0001"), result)) << siblings.lastMessageText().toStdString();
    EXPECT_TRUE(operatorShown.contains("João Batista Operador"));
    const QVariantList list = result.toList();
    ASSERT_EQ(list.size(), 10);
    EXPECT_EQ(list[0].toString(), "000000000001");
    EXPECT_EQ(list[1].toString(), "João Batista Operador");
    EXPECT_TRUE(said.isEmpty());
}

TEST_P(PasswordTest, WrongPasswordMayBeTriedAgain)
{
    answer({"4321", "1234"});
    QVariant result = freshResult();
    EXPECT_TRUE(commonui::controleSenhOper(settings("S", "0007"), result));
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains("incorreta"));
    EXPECT_EQ(result.toList().value(0).toString(), "000000000002");
}

TEST_P(PasswordTest, ThreeWrongPasswordsRefuse)
{
    // The first three characters of the right one must not pass for it.
    answer({"123", "12345", "1234 "});
    QVariant result = freshResult();
    EXPECT_FALSE(commonui::controleSenhOper(settings("S", "0001"), result));
    EXPECT_EQ(said.size(), 2);
    EXPECT_EQ(siblings.count("Mensagem"), 1);
    EXPECT_FALSE(result.toList().value(0).isValid());
}

TEST_P(PasswordTest, CancelRefuses)
{
    whenModal([](QWidget *modal) { click(modal, "btnCancelar"); });
    QVariant result = freshResult();
    EXPECT_FALSE(commonui::controleSenhOper(settings("S", "0001"), result));
    EXPECT_EQ(siblings.count("Mensagem"), 0);
}

TEST_P(PasswordTest, SettingOtherThanSDoesNotAsk)
{
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            asked = true;
            static_cast<QDialog *>(modal)->reject();
        }
    });
    QVariant result = freshResult();
    EXPECT_TRUE(commonui::controleSenhOper(settings("N", "0001"), result));
    QCoreApplication::processEvents();
    EXPECT_FALSE(asked);
    EXPECT_FALSE(result.toList().value(0).isValid());
}

TEST_P(PasswordTest, WaiterWithoutAUsableOperatorIsRefusedWithAMessage)
{
    run("INSERT INTO VENDEDOR (CDVENDEDOR, NMFANVEN, CDOPERADOR, CDFILIAL, CDCAIXA) "
        "VALUES ('0090', 'Sem Operador', NULL, '0001', '001')");
    run("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDSENHOPER, IDOPERATIVO) "
        "VALUES ('000000000090', 'Sem Senha', NULL, 'A')");
    run("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDSENHOPER, IDOPERATIVO) "
        "VALUES ('000000000091', 'Senha Estragada', 'pbkdf2-sha256$abc$00$00', 'A')");
    run("INSERT INTO VENDEDOR (CDVENDEDOR, NMFANVEN, CDOPERADOR, CDFILIAL, CDCAIXA) "
        "VALUES ('0091', 'Operador Sem Senha', '000000000090', '0001', '001')");
    run("INSERT INTO VENDEDOR (CDVENDEDOR, NMFANVEN, CDOPERADOR, CDFILIAL, CDCAIXA) "
        "VALUES ('0092', 'Senha Estragada', '000000000091', '0001', '001')");

    const struct {
        const char *waiter;
        const char *says;
    } cases[] = {{"0090", "não tem operador associado"},
                 {"0008", "000000000099 do garçom 0008 não está cadastrado"},
                 {"0091", "não tem senha cadastrada"},
                 {"0092", "formato desconhecido"},
                 {"0009", "inativo"},
                 {"9999", "não está cadastrado"},
                 {"", "não foi informado"}};
    for (const auto &c : cases) {
        siblings.clearCalls();
        QVariant result = freshResult();
        EXPECT_FALSE(commonui::controleSenhOper(settings("S", c.waiter), result)) << c.waiter;
        EXPECT_TRUE(siblings.lastMessageText().contains(QString::fromUtf8(c.says)))
            << c.waiter << ": " << siblings.lastMessageText().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Demo, PasswordTest, testing::ValuesIn(demoBackends("uipkg_password")), backendTestName);

} // namespace
