// The JSON form in process: every bit of a packet survives it, and what it cannot describe is refused
// with the place and the rule.
#include "TestPackets.h"
#include "contracts/Errors.h"
#include "dataset/PacketJson.h"
#include "dataset/Texts.h"

#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace dataset;

namespace {

quint64 bitsOf(double d)
{
    quint64 b = 0;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

} // namespace

TEST(PacketJson, everyTypeComesBackAsTheSameBytesAndTheSameText)
{
    const QByteArray packet = everyTypePacket();
    const QByteArray json = packet::toJson(packet::decode(packet));
    const auto back = packet::fromJson(json);
    EXPECT_EQ(packet::encode(back.fields, back.rows), packet);
    EXPECT_EQ(packet::toJson(back), json);
}

TEST(PacketJson, valuesAreWrittenAsTheFormDescribes)
{
    const QByteArray json = packet::toJson(everyTypeContents());
    for (const char *expected : {
             R"x({"name": "VRPRECO", "type": "Float", "width": 0, "label": "Preço (€)"})x",
             R"({"name": "IDATIVO", "type": "Boolean", "width": 0, "hidden": true})",
             R"(["São João 🍕 \"aspas\" \\ barra\n\ttab\u0001 fim", -9223372036854775808, "-0", true, )"
             R"("2024-05-06T19:30:00.250", "0001-01-01", "AAECAwQF)",
             R"(["", 9223372036854775807, "NaN", false, "9999-12-31T23:59:59.999", "9999-12-31", "", "  a "])",
             R"([null, null, null, null, null, null, null, null])",
             R"("NaN:fff0000000000001", true, "0001-01-01T00:00:00", "2024-02-29", "AA==", "null"])",
             R"("Infinity")", R"("-Infinity")", R"(9007199254740993)", R"(, 1e+20, )", R"(, 5e-324, )",
         })
        EXPECT_TRUE(json.contains(expected)) << expected << "\n" << json.constData();
}

TEST(PacketJson, randomDoublesKeepEveryBit)
{
    // Any 64-bit pattern: subnormals, NaNs with payloads, both zeros, the extremes.
    QRandomGenerator random(740);
    packet::Contents c;
    c.fields = {Field{QStringLiteral("V"), FieldType::Float, 0, {}, true}};
    for (int i = 0; i < 20000; ++i) {
        const quint64 b = i % 2 ? random.generate64() : bitsOf(random.generateDouble() * std::pow(10.0, random.bounded(-300, 300)));
        double d = 0;
        std::memcpy(&d, &b, sizeof d);
        c.rows.append(Row{QVariant(d)});
    }
    const QByteArray packet = packet::encode(c.fields, c.rows);
    const auto back = packet::fromJson(packet::toJson(packet::decode(packet)));
    ASSERT_EQ(back.rows.size(), c.rows.size());
    for (qsizetype i = 0; i < c.rows.size(); ++i)
        ASSERT_EQ(bitsOf(back.rows[i][0].toDouble()), bitsOf(c.rows[i][0].toDouble())) << "row " << i;
    EXPECT_EQ(packet::encode(back.fields, back.rows), packet);
}

TEST(PacketJson, refusesWhatNoPacketHoldsNamingThePlaceAndTheRule)
{
    const QByteArray head = R"({"format": "tkt-datapacket", "version": 1, "fields": [)";
    const QByteArray one = head + R"({"name": "A", "type": "%1", "width": 4}], "rows": [[%2]]})";
    auto value = [&](const char *type, const char *v) {
        return QByteArray(one).replace("%1", type).replace("%2", v);
    };
    // The field list goes through the same check as every table's, whose text is the operator's.
    const QByteArray repeated = texts::fieldRepeated(QStringLiteral("a")).toUtf8();
    const struct {
        QByteArray json;
        const char *message;
    } cases[] = {
        {"", "not JSON"},
        {head + "{", "not JSON: "},
        {R"({"format": "tkt-datapacket", "version": 1, "fields": [], "rows": [], "extra": 1})", "unknown key \"extra\""},
        {R"({"format": "other", "version": 1, "fields": [], "rows": []})", "\"format\""},
        {R"({"format": "tkt-datapacket", "version": 2, "fields": [], "rows": []})", "\"version\" must be 1"},
        {R"({"format": "tkt-datapacket", "version": 1, "rows": []})", "\"fields\" must be an array"},
        {R"([1])", "must be an object"},
        {head + R"({"name": "A", "type": "Text", "width": 0}], "rows": []})", "field 1 (\"A\") needs a \"type\""},
        {head + R"({"name": "A", "type": "String", "width": -1}], "rows": []})", "\"width\""},
        {head + R"({"name": "A", "type": "String", "width": 1.5}], "rows": []})", "\"width\""},
        {head + R"({"name": "", "type": "String", "width": 1}], "rows": []})", "non-empty"},
        {head + R"({"name": "A", "type": "String", "width": 1, "lable": "x"}], "rows": []})", "unknown key \"lable\""},
        {head + R"({"name": "A", "type": "String", "width": 1, "hidden": 1}], "rows": []})", "\"hidden\""},
        {head + R"({"name": "A", "type": "String", "width": 1}, {"name": "a", "type": "Integer", "width": 0}], "rows": []})",
         repeated.constData()},
        {head + R"({"name": "A", "type": "String", "width": 1}], "rows": [["x", "y"]]})", "row 1 has 2 values for 1 fields"},
        {head + R"({"name": "A", "type": "String", "width": 1}], "rows": ["x"]})", "row 1 must be an array"},
        {value("String", "1"), "field \"A\" (String) holds 1"},
        {value("String", R"("\ud800")"), "(String) holds"},
        {value("Integer", "1.5"), "whole number"},
        {value("Integer", "9223372036854775808"), "whole number"},
        {value("Integer", R"("1")"), "whole number"},
        {value("Float", R"("nan")"), "\"NaN\""},
        {value("Float", R"("NaN:0000000000000001")"), "(Float) holds"},
        {value("Boolean", "1"), "true or false"},
        {value("DateTime", R"("2024-05-06T19:30:00Z")"), "yyyy-MM-ddTHH:mm:ss"},
        {value("DateTime", R"("2024-05-06 19:30:00")"), "yyyy-MM-ddTHH:mm:ss"},
        {value("DateTime", R"("2024-05-06T19:30:00.000")"), "milliseconds"},
        {value("DateTime", R"("2024-02-30T19:30:00")"), "(DateTime) holds"},
        {value("Date", R"("2024-05-06T00:00:00")"), "yyyy-MM-dd"},
        {value("Blob", R"("AP8*")"), "base64"},
        {value("Blob", "[0]"), "base64"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        try {
            packet::fromJson(c.json);
            ADD_FAILURE() << "accepted";
        } catch (const tkt::Error &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message))) << e.message().toStdString();
        }
    }
}

TEST(PacketJson, aSyntaxErrorNamesItsByteOffset)
{
    try {
        packet::fromJson(R"({"format": "tkt-datapacket", "version": 1,, "fields": []})");
        FAIL() << "accepted";
    } catch (const tkt::Error &e) {
        // Qt's reader names the byte just past the second comma.
        EXPECT_TRUE(e.message().contains(QStringLiteral("at byte 43"))) << e.message().toStdString();
    }
}
