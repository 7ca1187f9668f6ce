#include "dataset/Packet.h"

#include "contracts/Errors.h"
#include "dataset/CborOut.h"
#include "dataset/DateText.h"

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
            throw tkt::Error(QStringLiteral("Cannot write the data packet: row %1, field \"%2\" (%3) holds \"%4\", "
                                            "which does not fit the field")
                                 .arg(row + 1).arg(field.name, fieldTypeName(field.type), value.toString()));
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
            throw tkt::Error(QStringLiteral("data packet truncated at byte %1").arg(m_total));
        if (err == QCborError::DataTooLarge)
            throw tkt::Error(QStringLiteral("data packet declares an impossible length at byte %1").arg(offset()));
        throw tkt::Error(QStringLiteral("data packet malformed at byte %1: %2").arg(offset()).arg(err.toString()));
    }

    [[noreturn]] void fail(const QString &what, qint64 at) const
    {
        throw tkt::Error(QStringLiteral("invalid data packet at byte %1: %2").arg(at).arg(what));
    }

    QString kind() const
    {
        switch (r.type()) {
        case QCborStreamReader::UnsignedInteger:
        case QCborStreamReader::NegativeInteger: return QStringLiteral("an integer");
        case QCborStreamReader::ByteArray: return QStringLiteral("a byte string");
        case QCborStreamReader::String: return QStringLiteral("text");
        case QCborStreamReader::Array: return QStringLiteral("an array");
        case QCborStreamReader::Map: return QStringLiteral("a map");
        case QCborStreamReader::Tag: return QStringLiteral("tag %1").arg(quint64(r.toTag()));
        case QCborStreamReader::Float16:
        case QCborStreamReader::Float:
        case QCborStreamReader::Double: return QStringLiteral("a floating-point number");
        case QCborStreamReader::SimpleType:
            if (r.isBool())
                return QStringLiteral("a Boolean");
            if (r.isNull())
                return QStringLiteral("null");
            if (r.isUndefined())
                return QStringLiteral("undefined");
            return QStringLiteral("a simple value");
        case QCborStreamReader::Invalid: break;
        }
        return QStringLiteral("nothing");
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
                fail(QStringLiteral("%1: integer %2 is out of the 64-bit range").arg(what()).arg(u), at);
            value = qint64(u);
        } else {
            // The reader gives the magnitude; 0 stands for 2^64.
            const quint64 magnitude = quint64(r.toNegativeInteger());
            if (magnitude == 0 || magnitude > quint64(std::numeric_limits<qint64>::max()) + 1)
                fail(QStringLiteral("%1: negative integer is out of the 64-bit range").arg(what()), at);
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

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

Field readField(Reader &in, int index)
{
    const qint64 start = in.offset();
    // Built only for a message: formatting it for every field costs more than reading the field.
    auto where = [index] { return QStringLiteral("field %1").arg(index + 1); };
    if (!in.r.isMap())
        in.fail(QStringLiteral("%1 must be a map, found %2").arg(where(), in.kind()), start);
    in.enter();
    Field field;
    enum Known { Name = 1, Type = 2, Width = 4, Label = 8, Hidden = 16 };
    int seen = 0;
    QSet<QString> otherKeys; // keys of later versions, still refused when repeated
    while (in.hasNext()) {
        const qint64 keyAt = in.offset();
        if (!in.r.isString())
            in.fail(QStringLiteral("%1 has a key that is %2, not text").arg(where(), in.kind()), keyAt);
        const QString key = in.readText();
        const int known = key == u"name" ? Name : key == u"type" ? Type : key == u"width" ? Width
                        : key == u"label" ? Label : key == u"hidden" ? Hidden : 0;
        const bool repeated = known ? (seen & known) != 0 : otherKeys.contains(key);
        if (repeated)
            in.fail(QStringLiteral("%1 has the key %2 twice").arg(where(), quoted(key)), keyAt);
        if (known)
            seen |= known;
        else
            otherKeys.insert(key);
        const qint64 at = in.offset();
        auto expect = [&](bool ok, const char *what) {
            if (!ok)
                in.fail(QStringLiteral("%1: %2 must be %3, found %4")
                            .arg(where(), quoted(key), QLatin1StringView(what), in.kind()), at);
        };
        switch (known) {
        case Name:
            expect(in.r.isString(), "text");
            field.name = in.readText();
            if (field.name.isEmpty())
                in.fail(QStringLiteral("%1 has an empty name").arg(where()), at);
            break;
        case Type: {
            expect(in.r.isInteger(), "an integer");
            const qint64 code = in.readInteger(where);
            if (!isKnownFieldType(int(std::clamp<qint64>(code, -1, 1000))))
                in.fail(QStringLiteral("%1 has the unknown type code %2").arg(where()).arg(code), at);
            field.type = FieldType(int(code));
            break;
        }
        case Width: {
            expect(in.r.isInteger(), "an integer");
            const qint64 width = in.readInteger(where);
            if (width < 0 || width > kMaxFieldWidth)
                in.fail(QStringLiteral("%1 has the impossible width %2 (0 to %3 allowed)")
                            .arg(where()).arg(width).arg(kMaxFieldWidth), at);
            field.width = int(width);
            break;
        }
        case Label:
            expect(in.r.isString(), "text");
            field.displayLabel = in.readText();
            break;
        case Hidden:
            expect(in.r.isBool(), "a Boolean");
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
        in.fail(QStringLiteral("%1 lacks the key \"%2\"").arg(where(), QLatin1StringView(missing)), start);
    return field;
}

FieldList readFields(Reader &in)
{
    const qint64 start = in.offset();
    if (!in.r.isArray())
        in.fail(QStringLiteral("\"fields\" must be an array, found %1").arg(in.kind()), start);
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
            in.fail(QStringLiteral("the field name %1 appears twice").arg(quoted(field.name)), at);
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
    auto place = [&]() {
        return QStringLiteral("row %1, field %2").arg(row + 1).arg(quoted(field.name));
    };
    auto mismatch = [&]() {
        in.fail(QStringLiteral("row %1, field %2 (%3) cannot hold %4")
                    .arg(row + 1).arg(quoted(field.name), fieldTypeName(field.type), in.kind()), at);
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
            in.fail(QStringLiteral("row %1, field %2: tag %3 must hold text, found %4")
                        .arg(row + 1).arg(quoted(field.name)).arg(tag).arg(in.kind()), textAt);
        const QString text = in.readText();
        if (isDate) {
            if (const auto d = datetext::parseDate(text))
                return *d;
        } else if (const auto dt = datetext::parseDateTime(text)) {
            return *dt;
        }
        in.fail(QStringLiteral("row %1, field %2: %3 is not a %4")
                    .arg(row + 1).arg(quoted(field.name), quoted(text),
                                      isDate ? QStringLiteral("date (yyyy-MM-dd)")
                                             : QStringLiteral("date and time (yyyy-MM-ddTHH:mm:ss)")),
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
        in.fail(QStringLiteral("\"rows\" must be an array, found %1").arg(in.kind()), start);
    QList<Row> rows;
    if (in.r.isLengthKnown())
        rows.reserve(in.capacityFor(in.r.length()));
    in.enter();
    const qsizetype width = fields.size();
    while (in.hasNext()) {
        const qint64 at = in.offset();
        const qsizetype index = rows.size();
        if (!in.r.isArray())
            in.fail(QStringLiteral("row %1 must be an array, found %2").arg(index + 1).arg(in.kind()), at);
        if (in.r.isLengthKnown() && in.r.length() != quint64(width))
            in.fail(QStringLiteral("row %1 has %2 values for %3 fields").arg(index + 1).arg(in.r.length()).arg(width), at);
        in.enter();
        Row row;
        row.reserve(width);
        while (in.hasNext()) {
            if (row.size() == width)
                in.fail(QStringLiteral("row %1 has more values than the %2 fields").arg(index + 1).arg(width), at);
            row.append(readValue(in, fields.at(row.size()), index));
        }
        if (row.size() != width)
            in.fail(QStringLiteral("row %1 has %2 values for %3 fields").arg(index + 1).arg(row.size()).arg(width), at);
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
            throw tkt::Error(QStringLiteral("Cannot write the data packet: row %1 has %2 values for %3 fields")
                                 .arg(i + 1).arg(row.size()).arg(width));
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
        throw tkt::Error(QStringLiteral("This data packet was already finished"));
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
        throw tkt::Error(QStringLiteral("This data packet was already finished"));
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
        throw tkt::Error(QStringLiteral("data packet is empty"));
    Reader in(packet, 0, packet.size());
    if (!in.r.isMap())
        in.fail(QStringLiteral("a data packet is a CBOR map, this is %1").arg(in.kind()), 0);
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
            in.fail(QStringLiteral("packet keys must be text, found %1").arg(in.kind()), keyAt);
        const QString key = in.readText();
        if (keys.contains(key))
            in.fail(QStringLiteral("the key %1 appears twice").arg(quoted(key)), keyAt);
        keys.insert(key);
        const qint64 at = in.offset();
        if (key == u"format") {
            if (!in.r.isString())
                in.fail(QStringLiteral("\"format\" must be text, found %1").arg(in.kind()), at);
            const QString format = in.readText();
            if (format != kFormat)
                in.fail(QStringLiteral("not a data packet of this kind: the format is %1, expected %2")
                            .arg(quoted(format), quoted(kFormat)), at);
            hasFormat = true;
        } else if (key == u"version") {
            if (!in.r.isInteger())
                in.fail(QStringLiteral("\"version\" must be an integer, found %1").arg(in.kind()), at);
            const qint64 version = in.readInteger([] { return QStringLiteral("\"version\""); });
            if (version != kFormatVersion)
                in.fail(QStringLiteral("data packet version %1 is not supported (this reader knows version %2)")
                            .arg(version).arg(kFormatVersion), at);
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
        in.fail(QStringLiteral("%1 trailing bytes after the packet").arg(packet.size() - in.offset()), in.offset());
    in.check();

    for (const char *key : {"format", "version", "fields", "rows"})
        if (!keys.contains(QLatin1StringView(key)))
            in.fail(QStringLiteral("the key \"%1\" is missing").arg(QLatin1StringView(key)), 0);

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
