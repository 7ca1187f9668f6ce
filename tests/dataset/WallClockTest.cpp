// Date-times are wall-clock readings without a zone: whatever the store's local zone, a value keeps
// the date and time it was given, even one that the local clock skipped.
#include "support/LocalZone.h"
#include "TestFields.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"

#include <gtest/gtest.h>

using namespace dataset;

TEST(WallClock, DateTimesInALocalDaylightGapKeepTheirReading)
{
    const testzone::LocalZone zone(testzone::kSaoPaulo);
    const QDate day(2018, 11, 4);
    ASSERT_TRUE(testzone::inDaylightGap(day, QTime(0, 30))) << "the tzdata package is missing";

    Table t({fld("DTCHECKINPH", FieldType::DateTime), fld("DTNASCCONS", FieldType::DateTime)});
    const QVariant given[] = {QStringLiteral("2018-11-04 00:30:00"), QStringLiteral("2018-11-04T00:30:00"),
                              QDateTime(day, QTime(0, 30))};
    for (const QVariant &value : given) {
        t.append();
        t.setValue(QStringLiteral("DTCHECKINPH"), value);
        t.setValue(QStringLiteral("DTNASCCONS"), day);
        t.post();
        EXPECT_EQ(t.text(QStringLiteral("DTCHECKINPH")), QStringLiteral("2018-11-04T00:30:00")) << value.toString().toStdString();
        EXPECT_EQ(t.text(QStringLiteral("DTNASCCONS")), QStringLiteral("2018-11-04T00:00:00"));
    }

    const Table bulk(t.fields(), {{QStringLiteral("2018-11-04 00:00"), QDateTime(day, QTime(0, 59, 59))}});
    EXPECT_EQ(bulk.text(QStringLiteral("DTCHECKINPH")), QStringLiteral("2018-11-04T00:00:00"));
    EXPECT_EQ(bulk.text(QStringLiteral("DTNASCCONS")), QStringLiteral("2018-11-04T00:59:59"));

    const Table back = Table::fromPacket(t.toPacket());
    EXPECT_EQ(back.allRows(), t.allRows());
    EXPECT_EQ(back.text(QStringLiteral("DTCHECKINPH")), QStringLiteral("2018-11-04T00:30:00"));
}
