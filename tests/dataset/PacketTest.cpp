// Packets written and read back: every field type, the awkward values, the field list details.
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "TestFields.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDateTime>
#include <ctime>
#include <gtest/gtest.h>

using namespace dataset;

namespace {

FieldList everyType()
{
    return {
        fld("NMCONSUMIDOR", FieldType::String, 400, QStringLiteral("Nome"), true),
        fld("QTITEM", FieldType::Integer, 0, {}, true),
        fld("VRPRECO", FieldType::Float, 0, QStringLiteral("Preço (€)"), true),
        fld("IDATIVO", FieldType::Boolean, 0, {}, false),
        fld("DTABERTURA", FieldType::DateTime, 0, {}, true),
        fld("DTNASC", FieldType::Date, 0, {}, true),
        fld("FOTO", FieldType::Blob, 0, {}, false),
    };
}

QByteArray allBytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(char(i));
    return b;
}

} // namespace

TEST(Packet, EveryTypeRoundTripsWithAwkwardValues)
{
    const FieldList fields = everyType();
    const QString wide = QString(QStringLiteral("çã€中文")).repeated(80);
    ASSERT_EQ(wide.size(), 400);
    const QList<Row> rows = {
        {QStringLiteral("João Ação €5 漢字"), qlonglong(42), 12.5, true,
         QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 123), Qt::UTC), QDate(1999, 12, 31), allBytes()},
        {QString(QLatin1StringView("")), qlonglong(std::numeric_limits<qint64>::min()), -0.1, false,
         QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC), QDate(9999, 12, 31), QByteArray("")},
        {wide, qlonglong(std::numeric_limits<qint64>::max()), 1e300, false,
         QDateTime(QDate(2030, 6, 15), QTime(12, 0, 1), Qt::UTC), QDate(2000, 2, 29), QByteArray(1, '\0')},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
    };
    const packet::Contents back = packet::decode(packet::encode(fields, rows));
    EXPECT_EQ(back.fields, fields);
    ASSERT_EQ(back.rows.size(), rows.size());
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < fields.size(); ++c) {
            const QVariant &got = back.rows[r][c];
            SCOPED_TRACE(QStringLiteral("row %1 field %2").arg(r).arg(fields[c].name).toStdString());
            EXPECT_EQ(isNullValue(got), isNullValue(rows[r][c]));
            EXPECT_EQ(got, rows[r][c]);
        }
    // An empty text stays an empty text, not a null.
    EXPECT_EQ(back.rows[1][0].typeId(), QMetaType::QString);
    EXPECT_EQ(back.rows[0][1].typeId(), QMetaType::LongLong);
    EXPECT_EQ(back.rows[2][6].toByteArray().size(), 1);
}

TEST(Packet, ValuesAreBroughtToTheFieldTypeWhenWritten)
{
    // What a SQL driver hands over: ints for integer columns, texts for dates, and so on.
    const FieldList fields = {fld("N", FieldType::Integer), fld("V", FieldType::Float),
                              fld("D", FieldType::DateTime), fld("S", FieldType::String, 10)};
    const Row in = {7, QStringLiteral("12.50"), QStringLiteral("2024-03-01 10:20:30"), qlonglong(99)};
    const Row out = packet::decode(packet::encode(fields, {in})).rows.at(0);
    EXPECT_EQ(out[0], QVariant(qlonglong(7)));
    EXPECT_EQ(out[1].toDouble(), 12.5);
    EXPECT_EQ(out[2].toDateTime(), QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30), Qt::UTC));
    EXPECT_EQ(out[3], QVariant(QStringLiteral("99")));

    EXPECT_THROW(packet::encode(fields, {{QStringLiteral("x"), 1, QVariant(), QVariant()}}), tkt::Error);
    EXPECT_THROW(packet::encode(fields, {{1, 2}}), tkt::Error);
    EXPECT_THROW(packet::encode({fld("a", FieldType::String), fld("A", FieldType::String)}, {}),
                 tkt::Error);
}

TEST(Packet, NoRowsKeepsTheFieldListInOrder)
{
    const FieldList fields = everyType();
    const packet::Contents back = packet::decode(packet::encode(fields, {}));
    EXPECT_EQ(back.fields, fields);
    EXPECT_TRUE(back.rows.isEmpty());

    const packet::Contents none = packet::decode(packet::encode({}, {}));
    EXPECT_TRUE(none.fields.isEmpty());
}

TEST(Packet, WireFormatIsTheDocumentedOne)
{
    const FieldList fields = {fld("DT", FieldType::DateTime), fld("D", FieldType::Date),
                              fld("S", FieldType::String, 4, QStringLiteral("Sigla"), false)};
    const QByteArray bytes = packet::encode(
        fields, {{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC), QDate(2024, 5, 6), QStringLiteral("ab")}});
    QCborParserError err;
    const QCborMap map = QCborValue::fromCbor(bytes, &err).toMap();
    ASSERT_EQ(err.error, QCborError::NoError);
    EXPECT_EQ(map.value(QLatin1StringView("format")).toString(), QStringLiteral("tkt-datapacket"));
    EXPECT_EQ(map.value(QLatin1StringView("version")).toInteger(), 1);
    const QCborMap s = map.value(QLatin1StringView("fields")).toArray().at(2).toMap();
    EXPECT_EQ(s.value(QLatin1StringView("type")).toInteger(), 1);
    EXPECT_EQ(s.value(QLatin1StringView("width")).toInteger(), 4);
    EXPECT_EQ(s.value(QLatin1StringView("label")).toString(), QStringLiteral("Sigla"));
    EXPECT_TRUE(s.value(QLatin1StringView("hidden")).toBool());
    EXPECT_FALSE(map.value(QLatin1StringView("fields")).toArray().at(0).toMap().contains(QLatin1StringView("hidden")));

    // The date tags as raw bytes: c0 (tag 0) + "2024-05-06T07:08:09", d9 03ec (tag 1004) + "2024-05-06".
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("c0") + char(0x73) + QByteArray("2024-05-06T07:08:09")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("d903ec6a") + QByteArray("2024-05-06")));
}

TEST(Packet, BytesAreThoseAGeneralCborEncoderWrites)
{
    // Every length of head (0..23 inline, then 1, 2, 4 and 8 bytes) for counts, integers, texts and
    // blobs, ASCII and not, against Qt's own CBOR encoder writing the same document.
    const FieldList fields = {fld("S", FieldType::String, 70000, QStringLiteral("Descrição"), true),
                              fld("N", FieldType::Integer), fld("V", FieldType::Float),
                              fld("B", FieldType::Boolean, 0, {}, false), fld("X", FieldType::Blob)};
    const qint64 integers[] = {0, 23, 24, 255, 256, 65535, 65536, 4294967295LL, 4294967296LL,
                               std::numeric_limits<qint64>::max(), -1, -24, -25, -256, -257, -65537,
                               std::numeric_limits<qint64>::min()};
    const qsizetype lengths[] = {0, 1, 23, 24, 255, 256, 65535, 65536};
    QList<Row> rows;
    QCborArray expectedRows;
    for (int i = 0; i < 17; ++i) {
        const qsizetype length = lengths[i % 8];
        QString text = QString(length, QLatin1Char('a' + i % 26));
        if (i % 3 == 1 && length > 0)
            text[length / 2] = QChar(u'ç'); // one character of two UTF-8 bytes
        if (i % 3 == 2 && length > 1)
            text[0] = QChar(u'中');
        const QByteArray blob(length, char(i));
        const double real = i == 3 ? -0.0 : 1.0 / (i + 1);
        rows.append({text, qlonglong(integers[i]), real, i % 2 == 0, blob});
        expectedRows.append(QCborArray{text, integers[i], real, i % 2 == 0, blob});
    }
    rows.append({QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    expectedRows.append(QCborArray{QCborValue(nullptr), QCborValue(nullptr), QCborValue(nullptr),
                                   QCborValue(nullptr), QCborValue(nullptr)});

    QCborArray expectedFields;
    for (const Field &f : fields) {
        QCborMap m{{QStringLiteral("name"), f.name}, {QStringLiteral("type"), int(f.type)},
                   {QStringLiteral("width"), f.width}};
        if (!f.displayLabel.isEmpty())
            m.insert(QStringLiteral("label"), f.displayLabel);
        if (!f.visible)
            m.insert(QStringLiteral("hidden"), true);
        expectedFields.append(m);
    }
    const QCborMap expected{{QStringLiteral("format"), QStringLiteral("tkt-datapacket")},
                            {QStringLiteral("version"), 1},
                            {QStringLiteral("fields"), expectedFields},
                            {QStringLiteral("rows"), expectedRows}};
    const QByteArray bytes = packet::encode(fields, rows);
    EXPECT_TRUE(bytes == expected.toCborValue().toCbor()) << "the packet differs from the general encoder's";
    EXPECT_EQ(packet::decode(bytes).rows, rows);
}

TEST(Packet, AFieldChangedAfterAPacketIsWrittenShowsInTheNext)
{
    Table t({fld("CDVENDEDOR", FieldType::String, 4)});
    EXPECT_EQ(packet::decode(t.toPacket()).fields.at(0).label(), QStringLiteral("CDVENDEDOR"));
    t.field(QStringLiteral("CDVENDEDOR")).displayLabel = QStringLiteral("Garçom");
    t.field(QStringLiteral("CDVENDEDOR")).width = 6;
    const FieldList back = packet::decode(t.toPacket()).fields;
    EXPECT_EQ(back.at(0).label(), QStringLiteral("Garçom"));
    EXPECT_EQ(back.at(0).width, 6);
}

TEST(Packet, ForeignWritersMayOrderKeysFreelyAndUseSmallerFloats)
{
    // A host in another language: rows before fields, an unknown extra key, a half-precision float.
    QCborMap field;
    field.insert(QLatin1StringView("width"), 0);
    field.insert(QLatin1StringView("type"), int(FieldType::Float));
    field.insert(QLatin1StringView("name"), QLatin1StringView("V"));
    QCborMap map;
    map.insert(QLatin1StringView("rows"), QCborArray{QCborArray{1.5}, QCborArray{3}});
    map.insert(QLatin1StringView("comment"), QLatin1StringView("written elsewhere"));
    map.insert(QLatin1StringView("fields"), QCborArray{field});
    map.insert(QLatin1StringView("version"), 1);
    map.insert(QLatin1StringView("format"), QLatin1StringView("tkt-datapacket"));
    const packet::Contents back = packet::decode(QCborValue(map).toCbor(QCborValue::UseFloat16));
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0][0].toDouble(), 1.5);
    EXPECT_EQ(back.rows[1][0].toDouble(), 3.0);
}

TEST(Packet, LargePacketsRoundTrip)
{
    // Speed is measured by the benchmarks; here a packet of ten thousand wide rows must come back whole.
    FieldList fields;
    for (int c = 0; c < 50; ++c)
        fields.append(Field{QStringLiteral("F%1").arg(c),
                            c % 3 == 0   ? FieldType::String
                            : c % 3 == 1 ? FieldType::Integer
                                         : FieldType::Float,
                            c % 3 == 0 ? 20 : 0, QString(), true});
    QList<Row> rows;
    rows.reserve(10000);
    for (int r = 0; r < 10000; ++r) {
        Row row;
        for (int c = 0; c < 50; ++c)
            row.append(c % 3 == 0 ? QVariant(QStringLiteral("valor %1").arg(r)) : c % 3 == 1 ? QVariant(qlonglong(r * c))
                                                                                            : QVariant(r / 7.0));
        rows.append(row);
    }
    const packet::Contents back = packet::decode(packet::encode(fields, rows));
    EXPECT_EQ(back.fields, fields);
    EXPECT_EQ(back.rows, rows);
}
