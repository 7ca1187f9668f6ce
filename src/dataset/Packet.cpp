#include "dataset/Packet.h"

#include "contracts/Errors.h"
#include "dataset/CborOut.h"
#include "dataset/DateText.h"
#include "dataset/Texts.h"

#include <QCborStreamReader>
#include <QSet>
#include <optional>

namespace dataset::packet {

namespace {

constexpr QLatin1StringView kFormat("tkt-datapacket");
constexpr quint64 kTagDateTime = 0;  // RFC 8949 standard date/time string
constexpr quint64 kTagDate = 1004;   // RFC 8943 full-date string

// ---------------------------------------------------------------------------------------------
// Encoding

void writeValue(CborOut &w, const Field &field, const QVariant &value, qsizetype row)
{
    // Most values of a packet are texts of text fields, written without the general checks. A
    // driver's typed null is a QString variant too, holding a null QString: that and any other
    // null QString take the general way.
    if (field.type == FieldType::String && value.typeId() == QMetaType::QString) {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (!text.isNull()) {
            w.text(text);
            return;
        }
    }
    if (isNullValue(value)) {
        w.null();
        return;
    }
    // Values loaded from packets or set through a Table already have the field's own
    // representation: they are written without the copy of a conversion.
    QVariant converted;
    const QVariant *v = &value;
    if (!inFieldRepresentation(field.type, value)) {
        if (!toFieldValue(field.type, value, &converted))
            throw tkt::Error(texts::cannotWriteValue(row + 1, field.name, fieldTypeName(field.type), value.toString()));
        v = &converted;
    }
    const void *data = v->constData();
    datetext::TextBuffer text;
    switch (field.type) {
    case FieldType::String:
        w.text(*static_cast<const QString *>(data));
        break;
    case FieldType::Integer:
        w.integer(*static_cast<const qlonglong *>(data));
        break;
    case FieldType::Float:
        w.float64(*static_cast<const double *>(data));
        break;
    case FieldType::Boolean:
        w.boolean(*static_cast<const bool *>(data));
        break;
    case FieldType::DateTime:
        w.tag(kTagDateTime);
        w.text(datetext::dateTimeText(*static_cast<const QDateTime *>(data), true, text));
        break;
    case FieldType::Date:
        w.tag(kTagDate);
        w.text(datetext::dateText(*static_cast<const QDate *>(data), text));
        break;
    case FieldType::Blob:
        w.bytes(*static_cast<const QByteArray *>(data));
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Decoding. QCborStreamReader walks the bytes without trusting any declared length; every step is
// checked, since after an error the reader may still claim to have more items.

class Reader {
public:
    // Reads packet[begin, end); offsets in messages stay those of the whole packet.
    Reader(const QByteArray &packet, qsizetype begin, qsizetype end)
        : m_total(packet.size()), m_base(begin), m_end(end),
          r(QByteArray::fromRawData(packet.constData() + begin, end - begin))
    {
        check();
    }

    qint64 offset() const { return m_base + r.currentOffset(); }
    qint64 remaining() const { return m_end - offset(); }

    void check()
    {
        const QCborError err = r.lastError();
        if (err == QCborError::NoError)
            return;
        if (err == QCborError::EndOfFile)
            throw tkt::Error(texts::packetTruncated(m_total));
        if (err == QCborError::DataTooLarge)
            throw tkt::Error(texts::packetImpossibleLength(offset()));
        throw tkt::Error(texts::packetMalformed(offset(), texts::cborError(err)));
    }

    [[noreturn]] void fail(const QString &what, qint64 at) const
    {
        throw tkt::Error(texts::packetInvalid(at, what));
    }

    QString kind() const
    {
        using texts::ItemKind;
        switch (r.type()) {
        case QCborStreamReader::UnsignedInteger:
        case QCborStreamReader::NegativeInteger: return texts::itemKind(ItemKind::Integer);
        case QCborStreamReader::ByteArray: return texts::itemKind(ItemKind::ByteString);
        case QCborStreamReader::String: return texts::itemKind(ItemKind::Text);
        case QCborStreamReader::Array: return texts::itemKind(ItemKind::Array);
        case QCborStreamReader::Map: return texts::itemKind(ItemKind::Map);
        case QCborStreamReader::Tag: return texts::itemKind(ItemKind::Tag, quint64(r.toTag()));
        case QCborStreamReader::Float16:
        case QCborStreamReader::Float:
        case QCborStreamReader::Double: return texts::itemKind(ItemKind::Float);
        case QCborStreamReader::SimpleType:
            if (r.isBool())
                return texts::itemKind(ItemKind::Boolean);
            if (r.isNull())
                return texts::itemKind(ItemKind::Null);
            if (r.isUndefined())
                return texts::itemKind(ItemKind::Undefined);
            return texts::itemKind(ItemKind::Simple);
        case QCborStreamReader::Invalid: break;
        }
        return texts::itemKind(ItemKind::Nothing);
    }

    void enter()
    {
        r.enterContainer();
        check();
    }

    void leave()
    {
        check();
        r.leaveContainer();
        check();
    }

    bool hasNext()
    {
        const bool more = r.hasNext();
        check();
        return more;
    }

    void skip()
    {
        r.next();
        check();
    }

    QString readText()
    {
        QString text;
        auto chunk = r.readString();
        if (chunk.status == QCborStreamReader::Ok) {
            text = std::move(chunk.data);
            for (chunk = r.readString(); chunk.status == QCborStreamReader::Ok; chunk = r.readString())
                text += chunk.data;
        }
        check();
        return text;
    }

    QByteArray readBytes()
    {
        QByteArray bytes;
        auto chunk = r.readByteArray();
        if (chunk.status == QCborStreamReader::Ok) {
            bytes = std::move(chunk.data);
            for (chunk = r.readByteArray(); chunk.status == QCborStreamReader::Ok; chunk = r.readByteArray())
                bytes += chunk.data;
        }
        check();
        return bytes;
    }

    // CBOR integers reach +-2^64; ours are 64-bit signed. `what()` names the item in messages; it
    // is only called on failure, as building texts for every value would dominate the decoding.
    template <typename What>
    qint64 readInteger(What what)
    {
        const qint64 at = offset();
        qint64 value = 0;
        if (r.isUnsignedInteger()) {
            const quint64 u = r.toUnsignedInteger();
            if (u > quint64(std::numeric_limits<qint64>::max()))
                fail(texts::integerOutOfRange(what(), u), at);
            value = qint64(u);
        } else {
            // The reader gives the magnitude; 0 stands for 2^64.
            const quint64 magnitude = quint64(r.toNegativeInteger());
            if (magnitude == 0 || magnitude > quint64(std::numeric_limits<qint64>::max()) + 1)
                fail(texts::negativeIntegerOutOfRange(what()), at);
            value = -qint64(magnitude - 1) - 1;
        }
        skip();
        return value;
    }

    // Room for at most this many more items: each takes at least one byte.
    qsizetype capacityFor(quint64 declared) const
    {
        return qsizetype(std::min<quint64>(declared, quint64(std::max<qint64>(remaining(), 0))));
    }

private:
    qint64 m_total;
    qint64 m_base;
    qint64 m_end;

public:
    QCborStreamReader r;
};

Field readField(Reader &in, int index)
{
    const qint64 start = in.offset();
    // Built only for a message: formatting it for every field costs more than reading the field.
    auto where = [index] { return texts::fieldPlace(index + 1); };
    if (!in.r.isMap())
        in.fail(texts::fieldNotMap(index + 1, in.kind()), start);
    in.enter();
    Field field;
    enum Known { Name = 1, Type = 2, Width = 4, Label = 8, Hidden = 16 };
    int seen = 0;
    QSet<QString> otherKeys; // keys of later versions, still refused when repeated
    while (in.hasNext()) {
        const qint64 keyAt = in.offset();
        if (!in.r.isString())
            in.fail(texts::fieldKeyNotText(index + 1, in.kind()), keyAt);
        const QString key = in.readText();
        const int known = key == u"name" ? Name : key == u"type" ? Type : key == u"width" ? Width
                        : key == u"label" ? Label : key == u"hidden" ? Hidden : 0;
        const bool repeated = known ? (seen & known) != 0 : otherKeys.contains(key);
        if (repeated)
            in.fail(texts::fieldKeyRepeated(index + 1, key), keyAt);
        if (known)
            seen |= known;
        else
            otherKeys.insert(key);
        const qint64 at = in.offset();
        auto expect = [&](bool ok, texts::ItemKind wanted) {
            if (!ok)
                in.fail(texts::fieldKeyWrongKind(index + 1, key, texts::itemKind(wanted), in.kind()), at);
        };
        switch (known) {
        case Name:
            expect(in.r.isString(), texts::ItemKind::Text);
            field.name = in.readText();
            if (field.name.isEmpty())
                in.fail(texts::fieldEmptyName(index + 1), at);
            break;
        case Type: {
            expect(in.r.isInteger(), texts::ItemKind::Integer);
            const qint64 code = in.readInteger(where);
            if (!isKnownFieldType(int(std::clamp<qint64>(code, -1, 1000))))
                in.fail(texts::fieldUnknownTypeCodeAt(index + 1, code), at);
            field.type = FieldType(int(code));
            break;
        }
        case Width: {
            expect(in.r.isInteger(), texts::ItemKind::Integer);
            const qint64 width = in.readInteger(where);
            if (width < 0 || width > kMaxFieldWidth)
                in.fail(texts::fieldImpossibleWidthAt(index + 1, width, kMaxFieldWidth), at);
            field.width = int(width);
            break;
        }
        case Label:
            expect(in.r.isString(), texts::ItemKind::Text);
            field.displayLabel = in.readText();
            break;
        case Hidden:
            expect(in.r.isBool(), texts::ItemKind::Boolean);
            field.visible = !in.r.toBool();
            in.skip();
            break;
        default:
            in.skip(); // keys of later versions that this reader does not need
            break;
        }
    }
    in.leave();
    const char *missing = !(seen & Name) ? "name" : !(seen & Type) ? "type" : !(seen & Width) ? "width" : nullptr;
    if (missing)
        in.fail(texts::fieldLacksKey(index + 1, QLatin1StringView(missing)), start);
    return field;
}

FieldList readFields(Reader &in)
{
    const qint64 start = in.offset();
    if (!in.r.isArray())
        in.fail(texts::fieldsNotArray(in.kind()), start);
    FieldList fields;
    if (in.r.isLengthKnown())
        fields.reserve(in.capacityFor(in.r.length()));
    in.enter();
    QSet<QString> names;
    names.reserve(fields.capacity());
    while (in.hasNext()) {
        const qint64 at = in.offset();
        Field field = readField(in, int(fields.size()));
        const QString key = foldedName(field.name);
        if (names.contains(key))
            in.fail(texts::fieldNameRepeated(field.name), at);
        names.insert(key);
        fields.append(std::move(field));
    }
    in.leave();
    return fields;
}

QVariant readValue(Reader &in, const Field &field, qsizetype row)
{
    QCborStreamReader &r = in.r;
    if (r.isNull()) {
        in.skip();
        return QVariant();
    }
    const qint64 at = in.offset();
    auto place = [&]() { return texts::cellPlace(row + 1, field.name); };
    auto mismatch = [&]() {
        in.fail(texts::cellWrongKind(row + 1, field.name, fieldTypeName(field.type), in.kind()), at);
    };
    switch (field.type) {
    case FieldType::String:
        if (!r.isString())
            mismatch();
        return in.readText();
    case FieldType::Integer:
        if (!r.isInteger())
            mismatch();
        return qlonglong(in.readInteger(place));
    case FieldType::Float: {
        double d = 0;
        if (r.isDouble())
            d = r.toDouble();
        else if (r.isFloat())
            d = r.toFloat();
        else if (r.isFloat16())
            d = r.toFloat16();
        else if (r.isInteger())
            return double(in.readInteger(place));
        else
            mismatch();
        in.skip();
        return d;
    }
    case FieldType::Boolean: {
        if (!r.isBool())
            mismatch();
        const bool b = r.toBool();
        in.skip();
        return b;
    }
    case FieldType::DateTime:
    case FieldType::Date: {
        const bool isDate = field.type == FieldType::Date;
        const quint64 tag = isDate ? kTagDate : kTagDateTime;
        if (!r.isTag() || quint64(r.toTag()) != tag)
            mismatch();
        in.skip();
        const qint64 textAt = in.offset();
        if (!r.isString())
            in.fail(texts::cellTagWithoutText(row + 1, field.name, tag, in.kind()), textAt);
        const QString text = in.readText();
        if (isDate) {
            if (const auto d = datetext::parseDate(text))
                return *d;
        } else if (const auto dt = datetext::parseDateTime(text)) {
            return *dt;
        }
        in.fail(isDate ? texts::cellNotADate(row + 1, field.name, text)
                       : texts::cellNotADateTime(row + 1, field.name, text),
                textAt);
    }
    case FieldType::Blob:
        if (!r.isByteArray())
            mismatch();
        return in.readBytes();
    }
    mismatch();
    return QVariant();
}

QList<Row> readRows(Reader &in, const FieldList &fields)
{
    const qint64 start = in.offset();
    if (!in.r.isArray())
        in.fail(texts::rowsNotArray(in.kind()), start);
    QList<Row> rows;
    if (in.r.isLengthKnown())
        rows.reserve(in.capacityFor(in.r.length()));
    in.enter();
    const qsizetype width = fields.size();
    while (in.hasNext()) {
        const qint64 at = in.offset();
        const qsizetype index = rows.size();
        if (!in.r.isArray())
            in.fail(texts::rowNotArray(index + 1, in.kind()), at);
        if (in.r.isLengthKnown() && in.r.length() != quint64(width))
            in.fail(texts::rowValueCountAt(index + 1, qint64(in.r.length()), width), at);
        in.enter();
        Row row;
        row.reserve(width);
        while (in.hasNext()) {
            if (row.size() == width)
                in.fail(texts::rowTooManyValues(index + 1, width), at);
            row.append(readValue(in, fields.at(row.size()), index));
        }
        if (row.size() != width)
            in.fail(texts::rowValueCountAt(index + 1, row.size(), width), at);
        in.leave();
        rows.append(std::move(row));
    }
    in.leave();
    return rows;
}

struct Range {
    qint64 begin = 0;
    qint64 end = 0;
};

Range skipRange(Reader &in)
{
    Range range;
    range.begin = in.offset();
    in.skip();
    range.end = in.offset();
    return range;
}

qsizetype headerSize(const FieldList &fields) { return 64 + fields.size() * 32; }

void writeFields(CborOut &w, const FieldList &fields)
{
    w.text(QLatin1StringView("fields"));
    w.startArray(quint64(fields.size()));
    for (const Field &f : fields) {
        w.startMap(3 + (f.displayLabel.isEmpty() ? 0 : 1) + (f.visible ? 0 : 1));
        w.text(QLatin1StringView("name"));
        w.text(f.name);
        w.text(QLatin1StringView("type"));
        w.integer(qint64(f.type));
        w.text(QLatin1StringView("width"));
        w.integer(f.width);
        if (!f.displayLabel.isEmpty()) {
            w.text(QLatin1StringView("label"));
            w.text(f.displayLabel);
        }
        if (!f.visible) {
            w.text(QLatin1StringView("hidden"));
            w.boolean(true);
        }
    }
}

// The map's head, format and version, the field list and the rows' key and count: all that
// precedes the first row.
void writeHeader(CborOut &w, const FieldList &fields, qsizetype rowCount)
{
    w.startMap(4);
    w.text(QLatin1StringView("format"));
    w.text(kFormat);
    w.text(QLatin1StringView("version"));
    w.integer(kFormatVersion);

    // A service answers with the same shared field list call after call: the bytes of the last
    // list written are kept. While this copy holds the list it cannot change (a write would detach
    // it first), so the same list means the same bytes.
    thread_local FieldList lastFields;
    thread_local QByteArray lastBytes;
    if (fields.isEmpty() || fields.constData() != lastFields.constData() || fields.size() != lastFields.size()) {
        CborOut part(headerSize(fields));
        writeFields(part, fields);
        lastBytes = part.finish();
        lastFields = fields;
    }
    w.raw(lastBytes);

    w.text(QLatin1StringView("rows"));
    w.startArray(quint64(rowCount));
}

} // namespace

QByteArray encode(const FieldList &fields, const QList<Row> &rows)
{
    checkFields(fields);
    const qsizetype width = fields.size();
    CborOut w(headerSize(fields) + std::min<qsizetype>(rows.size() * width * 8, 256 * 1024 * 1024));
    writeHeader(w, fields, rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Row &row = rows.at(i);
        if (row.size() != width)
            throw tkt::Error(texts::cannotWriteRowValueCount(i + 1, row.size(), width));
        w.startArray(quint64(width));
        for (qsizetype c = 0; c < width; ++c)
            writeValue(w, fields.at(c), row.at(c), i);
    }
    return w.finish();
}

RowWriter::RowWriter(qsizetype expectedSize)
    : m_rows(std::make_unique<CborOut>(std::min<qsizetype>(expectedSize, 256 * 1024 * 1024)))
{
}

RowWriter::~RowWriter() = default;

void RowWriter::startRow(int width)
{
    if (!m_rows)
        throw tkt::Error(texts::packetAlreadyFinished());
    m_rows->startArray(quint64(width));
    ++m_count;
}

void RowWriter::value(const Field &field, const QVariant &value)
{
    writeValue(*m_rows, field, value, m_count - 1);
}

void RowWriter::asciiText(QByteArrayView text)
{
    m_rows->text(QLatin1StringView(text.data(), text.size()));
}

QByteArray RowWriter::finish(const FieldList &fields)
{
    if (!m_rows)
        throw tkt::Error(texts::packetAlreadyFinished());
    checkFields(fields);
    const QByteArrayView rows = m_rows->written();
    CborOut w(headerSize(fields) + rows.size());
    writeHeader(w, fields, m_count);
    w.raw(rows);
    m_rows.reset();
    return w.finish();
}

Contents decode(const QByteArray &packet)
{
    if (packet.isEmpty())
        throw tkt::Error(texts::packetEmpty());
    Reader in(packet, 0, packet.size());
    if (!in.r.isMap())
        in.fail(texts::notAPacket(in.kind()), 0);
    in.enter();

    // Keys may come in any order; "fields" and "rows" are read in place when what they depend on
    // is already known (always so for packets this codec writes), otherwise once the map is read.
    Contents out;
    bool hasFormat = false, hasVersion = false, fieldsRead = false, rowsRead = false;
    std::optional<Range> fieldsAt, rowsAt;
    QSet<QString> keys;
    while (in.hasNext()) {
        const qint64 keyAt = in.offset();
        if (!in.r.isString())
            in.fail(texts::packetKeyNotText(in.kind()), keyAt);
        const QString key = in.readText();
        if (keys.contains(key))
            in.fail(texts::packetKeyRepeated(key), keyAt);
        keys.insert(key);
        const qint64 at = in.offset();
        if (key == u"format") {
            if (!in.r.isString())
                in.fail(texts::formatNotText(in.kind()), at);
            const QString format = in.readText();
            if (format != kFormat)
                in.fail(texts::wrongFormat(format, kFormat), at);
            hasFormat = true;
        } else if (key == u"version") {
            if (!in.r.isInteger())
                in.fail(texts::versionNotInteger(in.kind()), at);
            const qint64 version = in.readInteger([] { return texts::keyPlace(QStringLiteral("version")); });
            if (version != kFormatVersion)
                in.fail(texts::unsupportedVersion(version, kFormatVersion), at);
            hasVersion = true;
        } else if (key == u"fields") {
            if (hasFormat && hasVersion) {
                out.fields = readFields(in);
                fieldsRead = true;
            } else {
                fieldsAt = skipRange(in);
            }
        } else if (key == u"rows") {
            if (fieldsRead) {
                out.rows = readRows(in, out.fields);
                rowsRead = true;
            } else {
                rowsAt = skipRange(in);
            }
        } else {
            in.skip();
        }
    }
    in.r.leaveContainer();
    // A half item after the map makes the reader report the end of the data; it is still trailing.
    if (in.offset() < packet.size())
        in.fail(texts::trailingBytes(packet.size() - in.offset()), in.offset());
    in.check();

    for (const char *key : {"format", "version", "fields", "rows"})
        if (!keys.contains(QLatin1StringView(key)))
            in.fail(texts::packetKeyMissing(QLatin1StringView(key)), 0);

    if (!fieldsRead) {
        Reader sub(packet, fieldsAt->begin, fieldsAt->end);
        out.fields = readFields(sub);
    }
    if (!rowsRead) {
        Reader sub(packet, rowsAt->begin, rowsAt->end);
        out.rows = readRows(sub, out.fields);
    }
    return out;
}

} // namespace dataset::packet
