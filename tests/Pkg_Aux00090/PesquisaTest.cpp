// The search list: the filter line narrows through the table's predicate, a pick leaves the table
// on the picked row with the caller's own filter back in place, a cancel leaves the table as it was.
#include "Drive.h"

#include "Pkg_Aux00090/StandIn.h"
#include "dataset/Table.h"
#include "support/ScriptedSiblings.h"

#include <QTableView>

using namespace pkg_test;

namespace {

dataset::Table waiters()
{
    dataset::Table table({{"CDVENDEDOR", dataset::FieldType::String, 4, "Código"},
                          {"NMFANVEN", dataset::FieldType::String, 50, "Nome do Garçom"},
                          {"CDOPERADOR", dataset::FieldType::String, 12, {}, false}});
    const QStringList rows[] = {{"0001", "João Garçom", "000000000001"},
                                {"0002", "Maria Conceição", "000000000006"},
                                {"0003", "Antônio Araújo", "000000000003"},
                                {"0004", "Ana Maria", "000000000001"},
                                {"0005", "Raimundo Volante", "000000000001"}};
    for (const QStringList &row : rows) {
        table.append();
        table.setValue("CDVENDEDOR", row[0]);
        table.setValue("NMFANVEN", row[1]);
        table.setValue("CDOPERADOR", row[2]);
        table.post();
    }
    table.first();
    return table;
}

bool search(dataset::Table &table)
{
    return commonui::pesquisa(table, QString(), QStringLiteral("N"), 0, 0, 0, 0, 0);
}

int shownRows(QWidget *modal)
{
    return child<QTableView>(modal, "grdPesquisa")->model()->rowCount();
}

class Pesquisa : public testing::Test {
protected:
    ScriptedSiblings siblings;
};

TEST_F(Pesquisa, FilterIgnoresCaseAndHiddenFieldsAndPickStandsOnTheRow)
{
    dataset::Table table = waiters();
    int all = -1, byName = -1, byHidden = -1;
    whenModal([&](QWidget *modal) {
        all = shownRows(modal);
        typeInto(modal, "edtFiltro", "000000000006");
        byHidden = shownRows(modal);
        child<QLineEdit>(modal, "edtFiltro")->clear();
        typeInto(modal, "edtFiltro", "MARIA");
        byName = shownRows(modal);
        render(modal, QStringLiteral("Pesquisa"));
        pressIn(modal, "edtFiltro", Qt::Key_Down);
        pressIn(modal, "edtFiltro", Qt::Key_Return);
    });
    ASSERT_TRUE(search(table));
    EXPECT_EQ(all, 5);
    EXPECT_EQ(byHidden, 0);
    EXPECT_EQ(byName, 2);
    EXPECT_EQ(table.text("CDVENDEDOR"), "0004");
    EXPECT_FALSE(table.filtered());
    EXPECT_EQ(table.recordCount(), 5);
    EXPECT_EQ(table.recNo(), 3);
}

TEST_F(Pesquisa, TableThatArrivedFilteredKeepsItsFilter)
{
    dataset::Table table = waiters();
    table.setFilter([](const dataset::RowView &row) { return row.text("CDOPERADOR") == "000000000001"; });
    table.setFiltered(true);
    int shownAtStart = -1;
    whenModal([&](QWidget *modal) {
        shownAtStart = shownRows(modal);
        typeInto(modal, "edtFiltro", "volante");
        click(modal, "btnSelecionar");
    });
    ASSERT_TRUE(search(table));
    EXPECT_EQ(shownAtStart, 3);
    EXPECT_TRUE(table.filtered());
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(table.text("CDVENDEDOR"), "0005");

    // The caller's predicate is back in force: a later edit is judged by it, not by the search text.
    table.first();
    table.setValue("CDOPERADOR", "000000000002");
    table.post();
    EXPECT_EQ(table.recordCount(), 2);
}

TEST_F(Pesquisa, RowsWithEqualValuesArePositionedByWhichOneWasPicked)
{
    dataset::Table table = waiters();
    table.emptyTable();
    for (int i = 0; i < 3; ++i) {
        table.append();
        table.setValue("CDVENDEDOR", "0009");
        table.setValue("NMFANVEN", "Mesmo Nome");
        table.post();
    }
    table.first();
    whenModal([](QWidget *modal) {
        auto *grid = child<QTableView>(modal, "grdPesquisa");
        const QRect cell = grid->visualRect(grid->model()->index(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    ASSERT_TRUE(search(table));
    EXPECT_EQ(table.recNo(), 2);
}

TEST_F(Pesquisa, CancelLeavesTheTableAsItWas)
{
    dataset::Table table = waiters();
    table.setFilter([](const dataset::RowView &row) { return row.text("CDVENDEDOR") != "0001"; });
    table.setFiltered(true);
    table.moveTo(2);
    const QString before = table.text("CDVENDEDOR");
    whenModal([](QWidget *modal) {
        typeInto(modal, "edtFiltro", "jo");
        pressIn(modal, "edtFiltro", Qt::Key_Escape);
    });
    EXPECT_FALSE(search(table));
    EXPECT_TRUE(table.filtered());
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(table.text("CDVENDEDOR"), before);
}

TEST_F(Pesquisa, PickWithNothingShownKeepsTheListOpen)
{
    dataset::Table table = waiters();
    bool stillOpen = false;
    whenModal([&](QWidget *modal) {
        typeInto(modal, "edtFiltro", "zzz");
        pressIn(modal, "edtFiltro", Qt::Key_Return);
        stillOpen = modal->isVisible();
        click(modal, "btnCancelar");
    });
    EXPECT_FALSE(search(table));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(table.recNo(), 0);
}

} // namespace
