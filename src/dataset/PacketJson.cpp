#include "dataset/PacketJson.h"

#include "contracts/Errors.h"
#include "dataset/DateText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace dataset::packet {

namespace {

constexpr QLatin1StringView kFormat("tkt-datapacket");

// Floats JSON numbers cannot hold, as texts. A NaN other than the usual quiet one keeps its bits.
constexpr QLatin1StringView kNaN("NaN");
constexpr QLatin1StringView kNaNBits("NaN:");
constexpr QLatin1StringView kInfinity("Infinity");
constexpr QLatin1StringView kMinusInfinity("-Infinity");
constexpr QLatin1StringView kMinusZero("-0");
constexpr quint64 kQuietNaN = 0x7ff8000000000000ULL;

quint64 bitsOf(double d)
{
    quint64 bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

double fromBits(quint64 bits)
{
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// ---------------------------------------------------------------------------------------------
// Writing

void appendString(QByteArray &out, QStringView text)
{
    out += '"';
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (u < 0x20)
                out += "\\u00" + QByteArray::number(u, 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    out += '"';
}

void appendFloat(QByteArray &out, double d)
{
    if (std::isnan(d)) {
        const quint64 bits = bitsOf(d);
        appendString(out, bits == kQuietNaN ? QString(kNaN)
                                            : kNaNBits + QString::number(bits, 16).rightJustified(16, u'0'));
    } else if (std::isinf(d)) {
        appendString(out, QString(d > 0 ? kInfinity : kMinusInfinity));
    } else if (d == 0 && std::signbit(d)) {
        // JSON readers, Qt's among them, take -0 and -0.0 for the integer 0.
        appendString(out, QString(kMinusZero));
    } else {
        out += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    }
}

void appendValue(QByteArray &out, const Field &field, const QVariant &given, qsizetype row)
{
    if (isNullValue(given)) {
        out += "null";
        return;
    }
    QVariant value = given;
    if (!inFieldRepresentation(field.type, given) && !toFieldValue(field.type, given, &value))
        throw tkt::Error(QStringLiteral("Cannot write the JSON form: row %1, field \"%2\" (%3) holds \"%4\", "
                                        "which does not fit the field")
                             .arg(row + 1).arg(field.name, fieldTypeName(field.type), given.toString()));
    switch (field.type) {
    case FieldType::String: appendString(out, value.toString()); break;
    case FieldType::Integer: out += QByteArray::number(value.toLongLong()); break;
    case FieldType::Float: appendFloat(out, value.toDouble()); break;
    case FieldType::Boolean: out += value.toBool() ? "true" : "false"; break;
    case FieldType::DateTime: appendString(out, datetext::dateTimeText(value.toDateTime(), true)); break;
    case FieldType::Date: appendString(out, datetext::dateText(value.toDate())); break;
    case FieldType::Blob: appendString(out, QString::fromLatin1(value.toByteArray().toBase64())); break;
    }
}

void appendField(QByteArray &out, const Field &field)
{
    out += "{\"name\": ";
    appendString(out, field.name);
    out += ", \"type\": ";
    appendString(out, fieldTypeName(field.type));
    out += ", \"width\": " + QByteArray::number(field.width);
    if (!field.displayLabel.isEmpty()) {
        out += ", \"label\": ";
        appendString(out, field.displayLabel);
    }
    if (!field.visible)
        out += ", \"hidden\": true";
    out += '}';
}

// ---------------------------------------------------------------------------------------------
// Reading

[[noreturn]] void refuse(const QString &what)
{
    throw tkt::Error(QStringLiteral("invalid JSON form of a data packet: %1").arg(what));
}

// Qt's reader keeps whole numbers (also those written with a fraction or exponent, such as 3.0)
// as 64-bit integers when they fit, and everything else as double.
std::optional<qint64> integerOf(const QJsonValue &v)
{
    const QVariant x = v.toVariant();
    if (x.typeId() == QMetaType::LongLong)
        return x.toLongLong();
    return std::nullopt;
}

void checkKeys(const QJsonObject &object, std::initializer_list<QLatin1StringView> known, const QString &where)
{
    for (auto it = object.begin(); it != object.end(); ++it)
        if (std::find(known.begin(), known.end(), it.key()) == known.end())
            refuse(QStringLiteral("%1 has the unknown key \"%2\"").arg(where, it.key()));
}

std::optional<FieldType> typeNamed(const QString &name)
{
    for (int code = int(FieldType::String); code <= int(FieldType::Blob); ++code)
        if (fieldTypeName(FieldType(code)) == name)
            return FieldType(code);
    return std::nullopt;
}

Field readField(const QJsonValue &v, qsizetype index)
{
    const QString where = QStringLiteral("field %1").arg(index + 1);
    if (!v.isObject())
        refuse(QStringLiteral("%1 must be an object").arg(where));
    const QJsonObject o = v.toObject();
    checkKeys(o, {QLatin1StringView("name"), QLatin1StringView("type"), QLatin1StringView("width"),
                  QLatin1StringView("label"), QLatin1StringView("hidden")}, where);
    Field field;
    if (!o.value(u"name").isString() || o.value(u"name").toString().isEmpty())
        refuse(QStringLiteral("%1 needs a \"name\" that is a non-empty text").arg(where));
    field.name = o.value(u"name").toString();
    const auto type = typeNamed(o.value(u"type").toString());
    if (!type)
        refuse(QStringLiteral("%1 (\"%2\") needs a \"type\": String, Integer, Float, Boolean, DateTime, Date or Blob")
                   .arg(where, field.name));
    field.type = *type;
    const auto width = integerOf(o.value(u"width"));
    if (!width || *width < 0 || *width > kMaxFieldWidth)
        refuse(QStringLiteral("%1 (\"%2\") needs a \"width\" that is a whole number from 0 to %3")
                   .arg(where, field.name).arg(kMaxFieldWidth));
    field.width = int(*width);
    if (o.contains(u"label")) {
        if (!o.value(u"label").isString())
            refuse(QStringLiteral("%1 (\"%2\"): \"label\" must be text").arg(where, field.name));
        field.displayLabel = o.value(u"label").toString();
    }
    if (o.contains(u"hidden")) {
        if (!o.value(u"hidden").isBool())
            refuse(QStringLiteral("%1 (\"%2\"): \"hidden\" must be true or false").arg(where, field.name));
        field.visible = !o.value(u"hidden").toBool();
    }
    return field;
}

std::optional<double> specialFloat(const QString &text)
{
    if (text == kNaN)
        return fromBits(kQuietNaN);
    if (text == kInfinity)
        return HUGE_VAL;
    if (text == kMinusInfinity)
        return -HUGE_VAL;
    if (text == kMinusZero)
        return -0.0;
    if (text.startsWith(kNaNBits) && text.size() == kNaNBits.size() + 16) {
        bool ok = false;
        const double d = fromBits(QStringView(text).mid(kNaNBits.size()).toULongLong(&ok, 16));
        if (ok && std::isnan(d))
            return d;
    }
    return std::nullopt;
}

// The value in its field's representation; nullopt when it does not fit, with `rule` saying why.
std::optional<QVariant> readValue(const QJsonValue &v, FieldType type, const char *&rule)
{
    if (v.isNull())
        return QVariant();
    const QString text = v.toString();
    switch (type) {
    case FieldType::String:
        rule = "a text";
        // A lone surrogate (\ud800) is JSON but no UTF-8 text a packet could hold.
        if (v.isString() && text.isValidUtf16())
            return QVariant(text);
        break;
    case FieldType::Integer:
        rule = "a whole number within the signed 64-bit range";
        if (const auto n = integerOf(v))
            return QVariant(qlonglong(*n));
        break;
    case FieldType::Float:
        rule = "a number, or \"NaN\", \"NaN:<16 hex digits>\", \"Infinity\", \"-Infinity\", \"-0\"";
        if (v.isDouble())
            return QVariant(v.toDouble());
        if (const auto d = specialFloat(text))
            return QVariant(*d);
        break;
    case FieldType::Boolean:
        rule = "true or false";
        if (v.isBool())
            return QVariant(v.toBool());
        break;
    case FieldType::DateTime:
        rule = "a text yyyy-MM-ddTHH:mm:ss, with .zzz only when the milliseconds are not 0";
        if (const auto dt = datetext::parseDateTime(text); dt && datetext::dateTimeText(*dt, true) == text)
            return QVariant(*dt);
        break;
    case FieldType::Date:
        rule = "a text yyyy-MM-dd";
        if (const auto d = datetext::parseDate(text))
            return QVariant(*d);
        break;
    case FieldType::Blob: {
        rule = "base64 text";
        const auto bytes = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (v.isString() && bytes)
            return QVariant(*bytes);
        break;
    }
    }
    return std::nullopt;
}

QString jsonText(const QJsonValue &v)
{
    if (v.isString())
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    const QByteArray compact = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(compact.mid(1, compact.size() - 2));
}

Row readRow(const QJsonValue &v, const FieldList &fields, qsizetype index)
{
    if (!v.isArray())
        refuse(QStringLiteral("row %1 must be an array").arg(index + 1));
    const QJsonArray values = v.toArray();
    if (values.size() != fields.size())
        refuse(QStringLiteral("row %1 has %2 values for %3 fields").arg(index + 1).arg(values.size()).arg(fields.size()));
    Row row;
    row.reserve(fields.size());
    for (qsizetype c = 0; c < fields.size(); ++c) {
        const Field &field = fields.at(c);
        const char *rule = "";
        auto value = readValue(values.at(c), field.type, rule);
        if (!value)
            refuse(QStringLiteral("row %1, field \"%2\" (%3) holds %4; it takes null or %5")
                       .arg(index + 1).arg(field.name, fieldTypeName(field.type), jsonText(values.at(c)),
                            QLatin1StringView(rule)));
        row.append(std::move(*value));
    }
    return row;
}

} // namespace

QByteArray toJson(const Contents &contents)
{
    QByteArray out = "{\n  \"format\": \"tkt-datapacket\",\n  \"version\": " + QByteArray::number(kFormatVersion)
                     + ",\n  \"fields\": [";
    for (qsizetype i = 0; i < contents.fields.size(); ++i) {
        out += i ? ",\n    " : "\n    ";
        appendField(out, contents.fields.at(i));
    }
    out += contents.fields.isEmpty() ? "],\n  \"rows\": [" : "\n  ],\n  \"rows\": [";
    for (qsizetype r = 0; r < contents.rows.size(); ++r) {
        const Row &row = contents.rows.at(r);
        if (row.size() != contents.fields.size())
            throw tkt::Error(QStringLiteral("Cannot write the JSON form: row %1 has %2 values for %3 fields")
                                 .arg(r + 1).arg(row.size()).arg(contents.fields.size()));
        out += r ? ",\n    [" : "\n    [";
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c)
                out += ", ";
            appendValue(out, contents.fields.at(c), row.at(c), r);
        }
        out += ']';
    }
    out += contents.rows.isEmpty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

Contents fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw tkt::Error(QStringLiteral("not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        refuse(QStringLiteral("the document must be an object"));
    const QJsonObject top = document.object();
    checkKeys(top, {QLatin1StringView("format"), QLatin1StringView("version"), QLatin1StringView("fields"),
                    QLatin1StringView("rows")}, QStringLiteral("the document"));
    if (top.value(u"format").toString() != kFormat)
        refuse(QStringLiteral("\"format\" must be \"%1\"").arg(kFormat));
    if (integerOf(top.value(u"version")) != kFormatVersion)
        refuse(QStringLiteral("\"version\" must be %1").arg(kFormatVersion));
    if (!top.value(u"fields").isArray())
        refuse(QStringLiteral("\"fields\" must be an array"));
    if (!top.value(u"rows").isArray())
        refuse(QStringLiteral("\"rows\" must be an array"));

    Contents out;
    const QJsonArray fields = top.value(u"fields").toArray();
    for (qsizetype i = 0; i < fields.size(); ++i)
        out.fields.append(readField(fields.at(i), i));
    try {
        checkFields(out.fields);
    } catch (const tkt::Error &e) {
        refuse(e.message());
    }
    const QJsonArray rows = top.value(u"rows").toArray();
    out.rows.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        out.rows.append(readRow(rows.at(r), out.fields, r));
    return out;
}

} // namespace dataset::packet
