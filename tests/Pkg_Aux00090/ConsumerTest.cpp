// Consumer search and registration against the demo store, once per back end.
#include "Drive.h"

#include "Pkg_Aux00090/StandIn.h"
#include "dataset/Table.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "support/DemoDatabase.h"
#include "support/ScriptedSiblings.h"

#include <QComboBox>
#include <QTableView>
#include <array>
#include <optional>

using namespace pkg_test;

namespace {

QString client(int n)
{
    return QStringLiteral("%1").arg(n, 21, 10, QLatin1Char('0'));
}

QString consumer(int n)
{
    return client(n);
}

dataset::Table clientTable(const QList<int> &codes)
{
    dataset::Table table({{"CDCLIENTE", dataset::FieldType::String, 21, {}, true},
                          {"NMFANTCLIE", dataset::FieldType::String, 50, {}, true}});
    for (int code : codes) {
        table.append();
        table.setValue("CDCLIENTE", client(code));
        table.post();
    }
    return table;
}

struct StoredConsumer {
    QString name, badge, cpf, situation;
};

class ConsumerTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { siblings.setConnectionString(GetParam().connectionString); }

    std::optional<StoredConsumer> stored(const QString &clientCode, const QString &code)
    {
        db::Connection connection;
        connection.setConnectionString(GetParam().connectionString);
        connection.open();
        db::Query query(connection);
        query.setSql("SELECT NMCONSUMIDOR, CDIDCONSUMID, NRCPFRESPCON, IDSITCONSUMI FROM CONSUMIDOR "
                     "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR");
        query.setParam("P_CDCLIENTE", clientCode);
        query.setParam("P_CDCONSUMIDOR", code);
        query.open();
        if (query.eof())
            return std::nullopt;
        return StoredConsumer{query.text("NMCONSUMIDOR"), query.text("CDIDCONSUMID"), query.text("NRCPFRESPCON"),
                              query.text("IDSITCONSUMI")};
    }

    // Arguments 3 to 30 of the search, each a text of its own.
    std::array<QString, 28> values;
    contracts::PesqConsumidorTexts texts()
    {
        contracts::PesqConsumidorTexts t{};
        for (size_t i = 0; i < values.size(); ++i)
            t[i] = &values[i];
        return t;
    }
    QString &argument(int n) { return values[size_t(contracts::pesqConsumidorIndex(n))]; }

    bool searchConsumer(dataset::Table &clients)
    {
        return commonui::pesqConsumidor("Consumidores", QString(), texts(), clients, "A", "1");
    }

    ScriptedSiblings siblings;
};

TEST_P(ConsumerTest, SearchByPartOfTheNameAmongTheListedClients)
{
    dataset::Table clients = clientTable({1});
    int found = -1;
    whenModal([&found](QWidget *modal) {
        typeInto(modal, "edtBusca", "da CONCEI");
        pressIn(modal, "edtBusca", Qt::Key_Return);
        found = child<QTableView>(modal, "grdConsumidores")->model()->rowCount();
        render(modal, QStringLiteral("PesqConsumidor"));
        pressIn(modal, "edtBusca", Qt::Key_Return);
    });
    argument(9) = "scratch";
    ASSERT_TRUE(searchConsumer(clients));
    EXPECT_EQ(found, 1); // Irene da Conceição belongs to client 2
    EXPECT_EQ(argument(7), consumer(21));
    EXPECT_EQ(argument(8), "João da Conceição");
    EXPECT_EQ(argument(10), client(1));
    EXPECT_EQ(argument(9), "scratch");
}

TEST_P(ConsumerTest, SearchByBadgeInTypedOrStoredFormAndEveryClientWhenNoneListed)
{
    dataset::Table noClients = clientTable({});
    int found = -1;
    whenModal([&found](QWidget *modal) {
        typeInto(modal, "edtBusca", "99999");
        click(modal, "btnBuscar");
        found = child<QTableView>(modal, "grdConsumidores")->model()->rowCount();
        pressIn(modal, "edtBusca", Qt::Key_Down);
        click(modal, "btnSelecionar");
    });
    ASSERT_TRUE(searchConsumer(noClients));
    EXPECT_EQ(found, 2);
    EXPECT_EQ(argument(7), consumer(31)); // "Pedro Álvares Cabral" follows "Pedro Álvares"
    EXPECT_EQ(argument(10), client(2));

    dataset::Table clientTwo = clientTable({2});
    whenModal([&found](QWidget *modal) {
        typeInto(modal, "edtBusca", "0000032032");
        pressIn(modal, "edtBusca", Qt::Key_Return);
        found = child<QTableView>(modal, "grdConsumidores")->model()->rowCount();
        pressIn(modal, "edtBusca", Qt::Key_Return);
    });
    ASSERT_TRUE(searchConsumer(clientTwo));
    EXPECT_EQ(found, 1);
    EXPECT_EQ(argument(8), "Fátima Sem Endereço");
}

TEST_P(ConsumerTest, SearchTakesWildcardsLiterallyAndCancelChangesNothing)
{
    dataset::Table clients = clientTable({});
    int found = -1;
    whenModal([&found](QWidget *modal) {
        typeInto(modal, "edtBusca", "%");
        pressIn(modal, "edtBusca", Qt::Key_Return);
        found = child<QTableView>(modal, "grdConsumidores")->model()->rowCount();
        pressIn(modal, "edtBusca", Qt::Key_Escape);
    });
    argument(7) = "kept";
    EXPECT_FALSE(searchConsumer(clients));
    EXPECT_EQ(found, 0);
    EXPECT_EQ(argument(7), "kept");
}

TEST_P(ConsumerTest, RegistersANewConsumerInTheDatabase)
{
    whenModal([](QWidget *modal) {
        EXPECT_EQ(child<QLineEdit>(modal, "edtCodigo")->text(), "7701");
        EXPECT_EQ(child<QComboBox>(modal, "cmbCliente")->currentData().toString(), client(2));
        typeInto(modal, "edtNome", "Consumidor Novo");
        typeInto(modal, "edtCracha", "0000770101");
        typeInto(modal, "edtCpf", "123x45678901");
        render(modal, QStringLiteral("CriaCadConsumidor"));
        pressIn(modal, "edtCpf", Qt::Key_Return);
    });
    QString code = "7701", name, clientCode = "2";
    ASSERT_TRUE(commonui::criaCadConsumidor(code, name, clientCode, "C")) << siblings.lastMessageText().toStdString();
    EXPECT_EQ(code, consumer(7701));
    EXPECT_EQ(name, "Consumidor Novo");
    EXPECT_EQ(clientCode, client(2));
    const auto row = stored(client(2), consumer(7701));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->name, "Consumidor Novo");
    EXPECT_EQ(row->badge, "0000770101");
    EXPECT_EQ(row->cpf, "12345678901");
    EXPECT_EQ(row->situation, "1");
}

TEST_P(ConsumerTest, RefusesADuplicateCodeAndStaysOpen)
{
    bool stillOpen = false;
    whenModal([&stillOpen](QWidget *modal) {
        auto *clients = child<QComboBox>(modal, "cmbCliente");
        EXPECT_EQ(clients->currentIndex(), -1);
        clients->setCurrentIndex(clients->findData(client(1)));
        typeInto(modal, "edtCodigo", "22");
        typeInto(modal, "edtNome", "Outra Maria");
        click(modal, "btnSalvar");
        stillOpen = modal->isVisible();
        pressIn(modal, "edtNome", Qt::Key_Escape);
    });
    QString code, name = "Nome Anterior", clientCode;
    EXPECT_FALSE(commonui::criaCadConsumidor(code, name, clientCode, "C"));
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(siblings.lastMessageText().contains("Já existe o consumidor")) << siblings.lastMessageText().toStdString();
    EXPECT_EQ(name, "Nome Anterior");
    EXPECT_TRUE(code.isEmpty());
    EXPECT_EQ(stored(client(1), consumer(22))->name, "Maria das Graças Antônia");
}

TEST_P(ConsumerTest, EditsAnExistingConsumerWithoutTouchingItsSituation)
{
    QString shownName;
    bool codeLocked = false;
    whenModal([&](QWidget *modal) {
        shownName = child<QLineEdit>(modal, "edtNome")->text();
        codeLocked = child<QLineEdit>(modal, "edtCodigo")->isReadOnly()
                     && !child<QComboBox>(modal, "cmbCliente")->isEnabled();
        auto *nameEdit = child<QLineEdit>(modal, "edtNome");
        nameEdit->selectAll();
        QTest::keyClicks(nameEdit, "Irene Conceicao Alterada");
        click(modal, "btnSalvar");
    });
    QString code = "33", name = "what the caption said", clientCode = client(2);
    ASSERT_TRUE(commonui::criaCadConsumidor(code, name, clientCode, "C")) << siblings.lastMessageText().toStdString();
    EXPECT_EQ(shownName, "Irene da Conceição");
    EXPECT_TRUE(codeLocked);
    EXPECT_EQ(code, consumer(33));
    EXPECT_EQ(name, "Irene Conceicao Alterada");
    const auto row = stored(client(2), consumer(33));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->name, "Irene Conceicao Alterada");
    EXPECT_EQ(row->situation, "2");
}

TEST_P(ConsumerTest, CancelledRegistrationWritesNothing)
{
    whenModal([](QWidget *modal) {
        typeInto(modal, "edtNome", "Nunca Gravado");
        click(modal, "btnCancelar");
    });
    QString code = "7702", name, clientCode = client(1);
    EXPECT_FALSE(commonui::criaCadConsumidor(code, name, clientCode, "C"));
    EXPECT_EQ(code, "7702");
    EXPECT_TRUE(name.isEmpty());
    EXPECT_FALSE(stored(client(1), consumer(7702)));
}

INSTANTIATE_TEST_SUITE_P(Demo, ConsumerTest, testing::ValuesIn(demoBackends("uipkg_consumer")), backendTestName);

} // namespace
