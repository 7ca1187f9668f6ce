// The list model shows what the table shows: visible fields under their labels, visible rows.
#include "dataset/TableModel.h"
#include "TestFields.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace dataset;

namespace {

Table consumers()
{
    Table t({fld("CDCONSUMIDOR", FieldType::String, 21, QStringLiteral("Código")),
             fld("CDCLIENTE", FieldType::String, 21, {}, false),
             fld("NMCONSUMIDOR", FieldType::String, 50),
             fld("VRSALDO", FieldType::Float)});
    const QStringList names = {QStringLiteral("Ana"), QStringLiteral("Bia"), QStringLiteral("Caio")};
    for (int i = 0; i < names.size(); ++i) {
        t.append();
        t.setValue(QStringLiteral("CDCONSUMIDOR"), QStringLiteral("C%1").arg(i));
        t.setValue(QStringLiteral("CDCLIENTE"), QStringLiteral("K%1").arg(i));
        t.setValue(QStringLiteral("NMCONSUMIDOR"), names[i]);
        t.setValue(QStringLiteral("VRSALDO"), 10.0 * i + 0.5);
    }
    t.first();
    return t;
}

} // namespace

TEST(TableModel, ShowsVisibleFieldsUnderTheirLabels)
{
    Table t = consumers();
    TableModel model(t);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("NMCONSUMIDOR"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("VRSALDO"));
    EXPECT_EQ(model.data(model.index(2, 1)).toString(), QStringLiteral("Caio"));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), QStringLiteral("10.5"));
    EXPECT_FALSE(model.index(0, 0).parent().isValid());
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

TEST(TableModel, FollowsTheFilterOnRefreshAndMovesTheTable)
{
    Table t = consumers();
    TableModel model(t);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    t.setFilter([](const RowView &r) { return r.text(QStringLiteral("NMCONSUMIDOR")).contains(QLatin1Char('i')); });
    t.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 3) << "the model keeps what it announced until refreshed";
    EXPECT_FALSE(model.data(model.index(2, 0)).isValid()) << "a row that is gone shows nothing";
    model.refresh();
    EXPECT_EQ(resets.count(), 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("Bia"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("Caio"));

    model.moveTableTo(1);
    EXPECT_EQ(t.text(QStringLiteral("CDCLIENTE")), QStringLiteral("K2"));

    t.field(QStringLiteral("VRSALDO")).visible = false;
    model.refresh();
    EXPECT_EQ(model.columnCount(), 2);
}
