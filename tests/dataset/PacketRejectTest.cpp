// Malformed packets: each kind of damage ends in a tkt::Error that names it, never in a crash.
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Texts.h"
#include "TestFields.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QRandomGenerator>
#include <gmock/gmock.h>

using namespace dataset;
using ::testing::HasSubstr;
using ::testing::StrEq;

namespace {

QCborMap fieldMap(const QString &name, int type, int width = 0)
{
    QCborMap m;
    m.insert(QLatin1StringView("name"), name);
    m.insert(QLatin1StringView("type"), type);
    m.insert(QLatin1StringView("width"), width);
    return m;
}

// A well-formed packet as a CBOR map, for the tests to damage one piece at a time.
QCborMap goodMap()
{
    QCborMap m;
    m.insert(QLatin1StringView("format"), QLatin1StringView("tkt-datapacket"));
    m.insert(QLatin1StringView("version"), 1);
    m.insert(QLatin1StringView("fields"), QCborArray{fieldMap(QStringLiteral("CODE"), 1, 4), fieldMap(QStringLiteral("QTY"), 2)});
    m.insert(QLatin1StringView("rows"), QCborArray() << QCborArray{QLatin1StringView("0001"), 3});
    return m;
}

QByteArray bytesOf(const QCborMap &m) { return QCborValue(m).toCbor(); }

std::string str(const QString &s) { return s.toStdString(); }

std::string errorOf(const QByteArray &packet)
{
    try {
        packet::decode(packet);
    } catch (const tkt::Error &e) {
        return e.message().toStdString();
    }
    return "(accepted)";
}

// A packet whose single field has the given type and whose single row holds the raw CBOR item.
QByteArray oneValue(FieldType type, const QByteArray &rawItem)
{
    QCborMap m = goodMap();
    m.insert(QLatin1StringView("fields"), QCborArray{fieldMap(QStringLiteral("F"), int(type))});
    m.insert(QLatin1StringView("rows"), QCborArray() << QCborArray{QLatin1StringView("@@@@")});
    QByteArray bytes = bytesOf(m);
    const QByteArray marker = QByteArray::fromHex("6440404040");
    return bytes.replace(bytes.indexOf(marker), marker.size(), rawItem);
}

QByteArray validPacket()
{
    const FieldList fields = {fld("CDCONSUMIDOR", FieldType::String, 21, QStringLiteral("Código")),
                              fld("QT", FieldType::Integer),
                              fld("VR", FieldType::Float),
                              fld("OK", FieldType::Boolean),
                              fld("DT", FieldType::DateTime),
                              fld("D", FieldType::Date),
                              fld("B", FieldType::Blob, 0, {}, false)};
    QList<Row> rows;
    for (int i = 0; i < 4; ++i)
        rows.append({QStringLiteral("Cliente ç€%1").arg(i), qlonglong(i * 1000), i / 3.0, i % 2 == 0,
                     QDateTime(QDate(2024, 1, i + 1), QTime(i, 30), Qt::UTC), QDate(2023, 12, i + 1),
                     i == 3 ? QVariant() : QVariant(QByteArray(i, 'x'))});
    return packet::encode(fields, rows);
}

} // namespace

TEST(PacketReject, DamagedFramingIsReported)
{
    const QByteArray good = validPacket();
    EXPECT_EQ(errorOf({}), str(texts::packetEmpty()));
    EXPECT_EQ(errorOf(good.left(37)), str(texts::packetTruncated(37)));
    EXPECT_THAT(errorOf(good.left(37)), HasSubstr("no byte 37"));
    for (qsizetype n = 1; n < good.size(); ++n)
        EXPECT_THROW(packet::decode(good.left(n)), tkt::Error) << "cut at " << n;
    EXPECT_EQ(errorOf(good + '\0'), str(texts::packetInvalid(good.size(), texts::trailingBytes(1))));
    EXPECT_THAT(errorOf(good + QByteArray::fromHex("19")), HasSubstr(str(texts::trailingBytes(1))));
    EXPECT_EQ(errorOf(QCborValue(QCborArray{1, 2}).toCbor()),
              str(texts::packetInvalid(0, texts::notAPacket(texts::itemKind(texts::ItemKind::Array)))));
    EXPECT_EQ(errorOf(QByteArray::fromHex("ff")),
              str(texts::packetMalformed(0, texts::cborError(QCborError{QCborError::UnexpectedBreak}))));
}

TEST(PacketReject, HeaderKeysAreChecked)
{
    QCborMap m = goodMap();
    m.insert(QLatin1StringView("format"), QLatin1StringView("other-format"));
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::wrongFormat(QStringLiteral("other-format"), QStringLiteral("tkt-datapacket")))));
    m = goodMap();
    m.insert(QLatin1StringView("version"), 2);
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::unsupportedVersion(2, 1))));
    m.insert(QLatin1StringView("version"), QLatin1StringView("1"));
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::versionNotInteger(texts::itemKind(texts::ItemKind::Text)))));
    for (const char *key : {"format", "version", "fields", "rows"}) {
        m = goodMap();
        m.remove(QLatin1StringView(key));
        EXPECT_THAT(errorOf(bytesOf(m)), StrEq(str(texts::packetInvalid(0, texts::packetKeyMissing(QLatin1StringView(key))))));
    }
    m = goodMap();
    m.insert(QLatin1StringView("fields"), 5);
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::fieldsNotArray(texts::itemKind(texts::ItemKind::Integer)))));
    m = goodMap();
    m.insert(QLatin1StringView("rows"), QCborMap());
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::rowsNotArray(texts::itemKind(texts::ItemKind::Map)))));
    m = goodMap();
    m.insert(7, 1);
    EXPECT_THAT(errorOf(bytesOf(m)), HasSubstr(str(texts::packetKeyNotText(texts::itemKind(texts::ItemKind::Integer)))));
    // A map may repeat a key in CBOR; a packet may not.
    QByteArray twice = bytesOf(goodMap());
    twice[0] = char(0xa5);
    twice += QCborValue(QLatin1StringView("version")).toCbor() + QCborValue(1).toCbor();
    EXPECT_THAT(errorOf(twice), HasSubstr(str(texts::packetKeyRepeated(QStringLiteral("version")))));
}

TEST(PacketReject, FieldListIsChecked)
{
    auto withFields = [](const QCborArray &fields) {
        QCborMap m = goodMap();
        m.insert(QLatin1StringView("fields"), fields);
        m.insert(QLatin1StringView("rows"), QCborArray());
        return errorOf(bytesOf(m));
    };
    for (int code : {0, 8, -1, 1 << 30})
        EXPECT_THAT(withFields({fieldMap(QStringLiteral("A"), code)}), HasSubstr(str(texts::fieldUnknownTypeCodeAt(1, code)))) << code;
    EXPECT_THAT(withFields({fieldMap(QStringLiteral("A"), 1), fieldMap(QStringLiteral("a"), 2)}),
                HasSubstr(str(texts::fieldNameRepeated(QStringLiteral("a")))));
    EXPECT_THAT(withFields({fieldMap(QStringLiteral("A"), 1, -1)}), HasSubstr(str(texts::fieldImpossibleWidthAt(1, -1, kMaxFieldWidth))));
    EXPECT_THAT(withFields({fieldMap(QStringLiteral("A"), 1, 1000001)}),
                HasSubstr(str(texts::fieldImpossibleWidthAt(1, 1000001, kMaxFieldWidth))));
    EXPECT_EQ(withFields({fieldMap(QStringLiteral("A"), 1, 1000000)}), "(accepted)");
    EXPECT_THAT(withFields({fieldMap(QString(), 1)}), HasSubstr(str(texts::fieldEmptyName(1))));
    EXPECT_THAT(withFields({QLatin1StringView("A")}), HasSubstr(str(texts::fieldNotMap(1, texts::itemKind(texts::ItemKind::Text)))));
    QCborMap noWidth = fieldMap(QStringLiteral("A"), 1);
    noWidth.remove(QLatin1StringView("width"));
    EXPECT_THAT(withFields({noWidth}), HasSubstr(str(texts::fieldLacksKey(1, QStringLiteral("width")))));
    QCborMap textType = fieldMap(QStringLiteral("A"), 1);
    textType.insert(QLatin1StringView("type"), QLatin1StringView("1"));
    EXPECT_THAT(withFields({textType}), HasSubstr(str(texts::fieldKeyWrongKind(1, QStringLiteral("type"), texts::itemKind(texts::ItemKind::Integer),
                                                                         texts::itemKind(texts::ItemKind::Text)))));
    QCborMap badHidden = fieldMap(QStringLiteral("A"), 1);
    badHidden.insert(QLatin1StringView("hidden"), 1);
    EXPECT_THAT(withFields({badHidden}), HasSubstr(str(texts::fieldKeyWrongKind(1, QStringLiteral("hidden"), texts::itemKind(texts::ItemKind::Boolean),
                                                                          texts::itemKind(texts::ItemKind::Integer)))));
}

TEST(PacketReject, RowsAreChecked)
{
    auto withRows = [](const QCborArray &rows) {
        QCborMap m = goodMap();
        m.insert(QLatin1StringView("rows"), rows);
        return errorOf(bytesOf(m));
    };
    EXPECT_THAT(withRows({QLatin1StringView("0001")}), HasSubstr(str(texts::rowNotArray(1, texts::itemKind(texts::ItemKind::Text)))));
    EXPECT_THAT(withRows({QCborArray{QLatin1StringView("0001"), 1}, QCborArray{QLatin1StringView("0002")}}),
                HasSubstr(str(texts::rowValueCountAt(2, 1, 2))));
    EXPECT_THAT(withRows(QCborArray() << QCborArray{QLatin1StringView("0001"), 1, 2}), HasSubstr(str(texts::rowValueCountAt(1, 3, 2))));

    // Indefinite-length rows are counted as they are read.
    QByteArray longRow = bytesOf(goodMap());
    const QByteArray row = QByteArray::fromHex("8264") + "0001" + QByteArray::fromHex("03");
    longRow.replace(longRow.indexOf(row), row.size(), QByteArray::fromHex("9f64") + "0001" + QByteArray::fromHex("0304ff"));
    EXPECT_THAT(errorOf(longRow), HasSubstr(str(texts::rowTooManyValues(1, 2))));
    QByteArray shortRow = bytesOf(goodMap());
    shortRow.replace(shortRow.indexOf(row), row.size(), QByteArray::fromHex("9f64") + "0001" + QByteArray::fromHex("ff"));
    EXPECT_THAT(errorOf(shortRow), HasSubstr(str(texts::rowValueCountAt(1, 1, 2))));
}

TEST(PacketReject, ValuesMustFitTheirFieldType)
{
    const QByteArray null = QByteArray::fromHex("f6");
    const QByteArray integer = QByteArray::fromHex("05");
    const QByteArray text = QByteArray::fromHex("6131");
    const QByteArray dateTimeText = QByteArray::fromHex("73") + "2024-01-02T03:04:05";
    const struct {
        FieldType type;
        QByteArray good;
        QList<QByteArray> bad;
    } cases[] = {
        {FieldType::String, text, {integer, QByteArray::fromHex("4131"), QByteArray::fromHex("f5")}},
        {FieldType::Integer, integer, {text, QByteArray::fromHex("fb3ff8000000000000"),
                                       QByteArray::fromHex("1b8000000000000000"), QByteArray::fromHex("3b8000000000000000")}},
        {FieldType::Float, QByteArray::fromHex("fb3ff8000000000000"), {text, QByteArray::fromHex("f4")}},
        {FieldType::Boolean, QByteArray::fromHex("f5"), {integer, text, QByteArray::fromHex("f7")}},
        {FieldType::DateTime, QByteArray::fromHex("c0") + dateTimeText,
         {dateTimeText, QByteArray::fromHex("c1") + integer, QByteArray::fromHex("c0") + integer,
          QByteArray::fromHex("c076") + "2024-01-02T03:04:05Z00",
          QByteArray::fromHex("c074") + "2024-02-30T03:04:05+", QByteArray::fromHex("c073") + "2024-01-02T25:04:05"}},
        {FieldType::Date, QByteArray::fromHex("d903ec6a") + "2024-01-02",
         {QByteArray::fromHex("6a") + "2024-01-02", QByteArray::fromHex("c06a") + "2024-01-02",
          QByteArray::fromHex("d903ec6a") + "2024-13-02", QByteArray::fromHex("d903ec73") + "2024-01-02T00:00:00"}},
        {FieldType::Blob, QByteArray::fromHex("4100"), {text, integer}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(fieldTypeName(c.type).toStdString());
        EXPECT_NO_THROW(packet::decode(oneValue(c.type, c.good)));
        EXPECT_TRUE(isNullValue(packet::decode(oneValue(c.type, null)).rows.at(0).at(0)));
        for (const QByteArray &bad : c.bad)
            EXPECT_THAT(errorOf(oneValue(c.type, bad)), HasSubstr(str(texts::cellPlace(1, QStringLiteral("F")))))
                << bad.toHex().toStdString();
    }
}

TEST(PacketReject, AbsurdLengthsAndBrokenTextFailWithoutReadingAway)
{
    // Declared lengths far beyond the bytes that follow: nothing may be allocated or read for them.
    QByteArray rows = bytesOf(goodMap());
    const QByteArray rowsKey = QByteArray::fromHex("64") + "rows";
    const qsizetype at = rows.indexOf(rowsKey) + rowsKey.size();
    rows.truncate(at);
    const QByteArray hugeRows = rows + QByteArray::fromHex("9a0000ffff8264") + "0001" + QByteArray::fromHex("03");
    EXPECT_EQ(errorOf(hugeRows), str(texts::packetTruncated(hugeRows.size())));
    EXPECT_THAT(errorOf(rows + QByteArray::fromHex("9bffffffffffffffff80")),
                HasSubstr(str(texts::packetImpossibleLength(at + 9))))
        << "the reader names the byte just past the length it refuses";
    EXPECT_THROW(packet::decode(oneValue(FieldType::String, QByteArray::fromHex("7b000000ffffffffff41"))), tkt::Error);
    EXPECT_THROW(packet::decode(oneValue(FieldType::Blob, QByteArray::fromHex("5bffffffffffffffff41"))), tkt::Error);
    EXPECT_THROW(packet::decode(QByteArray::fromHex("bbffffffffffffffff")), tkt::Error);

    EXPECT_THAT(errorOf(oneValue(FieldType::String, QByteArray::fromHex("62c328"))), HasSubstr(str(texts::cborError(QCborError{QCborError::InvalidUtf8String}))));
    EXPECT_THAT(errorOf(oneValue(FieldType::String, QByteArray::fromHex("7f61416180ff"))), HasSubstr(str(texts::cborError(QCborError{QCborError::InvalidUtf8String}))));
    QByteArray badName = bytesOf(goodMap());
    badName.replace(badName.indexOf("CODE"), 4, QByteArray::fromHex("c0afc0af"));
    EXPECT_THAT(errorOf(badName), HasSubstr(str(texts::cborError(QCborError{QCborError::InvalidUtf8String}))));

    // Arrays nested past any sensible depth, under a key the reader skips.
    QByteArray deep = bytesOf(goodMap());
    deep[0] = char(0xa5);
    deep += QCborValue(QLatin1StringView("deep")).toCbor() + QByteArray(100000, char(0x81)) + '\0';
    EXPECT_THROW(packet::decode(deep), tkt::Error);
}

TEST(PacketReject, RandomDamageDecodesOrThrowsButNeverCrashes)
{
    const QByteArray good = validPacket();
    QRandomGenerator rng(20240607);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = good;
        switch (round % 4) {
        case 0:
            bytes.truncate(rng.bounded(int(bytes.size())));
            break;
        case 1:
        case 2:
            for (int flips = 1 + rng.bounded(4); flips > 0; --flips)
                bytes[rng.bounded(int(bytes.size()))] ^= char(1 << rng.bounded(8));
            break;
        default:
            bytes[rng.bounded(int(bytes.size()))] = char(rng.bounded(256));
            bytes.insert(rng.bounded(int(bytes.size())), char(rng.bounded(256)));
            break;
        }
        try {
            const packet::Contents c = packet::decode(bytes);
            // Whatever the decoder accepts, the encoder must be able to write again.
            EXPECT_EQ(packet::decode(packet::encode(c.fields, c.rows)).rows.size(), c.rows.size());
            ++accepted;
        } catch (const tkt::Error &) {
        }
    }
    // Flipped bits inside texts and numbers leave a valid packet: the loop did reach the decoder's end.
    EXPECT_GT(accepted, 0);
}
