// A table built straight from rows, as a query's result is: the same table the packet path gives,
// and the same refusals.
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "dataset/Texts.h"
#include "TestFields.h"

#include <QDate>
#include <gmock/gmock.h>

using namespace dataset;

namespace {

FieldList consumerFields()
{
    return {fld("CDCONSUMIDOR", FieldType::String, 21), fld("VRLIMDEBCONS", FieldType::Float),
            fld("QTVISITAS", FieldType::Integer), fld("DTNASCCONS", FieldType::Date)};
}

QString messageOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const tkt::Error &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(TableBulk, HoldsTheRowsAsThePacketPathWouldInTheFieldsTypes)
{
    const QList<Row> rows{
        {QStringLiteral("000000000000000000021"), 150.5, qlonglong(3), QDate(1980, 2, 29)},
        // Values in other representations are brought to the field's type; a driver's typed NULL is null.
        {QStringLiteral("22"), QStringLiteral("12.25"), 7, QStringLiteral("2001-12-31")},
        {QVariant(QMetaType::fromType<QString>()), QVariant(), QVariant(), QVariant()},
    };
    Table bulk(consumerFields(), rows);
    const Table viaPacket = Table::fromPacket(packet::encode(consumerFields(), rows));

    EXPECT_EQ(bulk.recordCount(), 3);
    EXPECT_EQ(bulk.recNo(), 0);
    EXPECT_EQ(bulk.text(QStringLiteral("CDCONSUMIDOR")), QStringLiteral("000000000000000000021"));
    EXPECT_EQ(bulk.allRows(), viaPacket.allRows());
    EXPECT_EQ(bulk.toPacket(), viaPacket.toPacket());
    EXPECT_EQ(bulk.allRows().at(1).at(2).typeId(), QMetaType::LongLong);
    EXPECT_EQ(bulk.allRows().at(1).at(3).typeId(), QMetaType::QDate);
    EXPECT_FALSE(bulk.allRows().at(2).at(0).isValid());

    bulk.next();
    bulk.next();
    EXPECT_EQ(bulk.text(QStringLiteral("vrlimdebcons")), QString()) << "null prints as nothing";

    const Table empty(consumerFields(), {});
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(empty.eof());
}

TEST(TableBulk, RefusesWhatNoPacketCouldCarryNamingRowAndField)
{
    const QString width = messageOf([] {
        Table(consumerFields(), {{QStringLiteral("1"), 1.0, qlonglong(1), QVariant()}, {QStringLiteral("2"), 2.0}});
    });
    EXPECT_EQ(width, texts::rowValueCount(2, 2, 4));

    const QString value = messageOf([] {
        Table(consumerFields(), {{QStringLiteral("1"), QStringLiteral("muito"), qlonglong(1), QVariant()}});
    });
    EXPECT_EQ(value, texts::rowValueDoesNotFit(1, QStringLiteral("muito"), QStringLiteral("VRLIMDEBCONS"),
                                               fieldTypeName(FieldType::Float)));

    EXPECT_THROW(Table({fld("NMCONSUMIDOR", FieldType::String, 50), fld("nmConsumidor", FieldType::String, 50)}, {}),
                 tkt::Error);
}

TEST(TableBulk, NamesDifferingOnlyInCaseAreOneNameAccentsIncluded)
{
    EXPECT_EQ(foldedName(QStringLiteral("CdConsumidor")), QStringLiteral("cdconsumidor"));
    EXPECT_EQ(foldedName(QStringLiteral("AÇÃO")), foldedName(QStringLiteral("ação")));
    EXPECT_EQ(messageOf([] { checkFields({fld("AÇÃO", FieldType::String, 1), fld("ação", FieldType::String, 1)}); }),
              texts::fieldRepeated(QStringLiteral("ação")));
    EXPECT_NO_THROW(checkFields({fld("AÇÃO", FieldType::String, 1), fld("ACAO", FieldType::String, 1)}));

    const Table t({fld("Situação", FieldType::String, 1)}, {{QStringLiteral("1")}});
    EXPECT_EQ(t.fieldIndex(QStringLiteral("SITUAÇÃO")), 0);
    EXPECT_EQ(t.fieldIndex(QStringLiteral("Situação")), 0);
    EXPECT_EQ(t.fieldIndex(QStringLiteral("Situacao")), -1);
}
