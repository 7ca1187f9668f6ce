#include "dataset/Field.h"

#include "contracts/Errors.h"
#include "dataset/DateText.h"
#include "dataset/Texts.h"

#include <QSet>
#include <algorithm>
#include <vector>
#include <cmath>
#include <limits>

namespace dataset {

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("String");
    case FieldType::Integer: return QStringLiteral("Integer");
    case FieldType::Float: return QStringLiteral("Float");
    case FieldType::Boolean: return QStringLiteral("Boolean");
    case FieldType::DateTime: return QStringLiteral("DateTime");
    case FieldType::Date: return QStringLiteral("Date");
    case FieldType::Blob: return QStringLiteral("Blob");
    }
    return texts::unknownTypeName(int(type));
}

bool isKnownFieldType(int code)
{
    return code >= int(FieldType::String) && code <= int(FieldType::Blob);
}

QString foldedName(const QString &name)
{
    // Field names are nearly always ASCII: folding those by hand spares the Unicode tables, which
    // cost more than the rest of a small packet's checks.
    QString folded(name.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c >= 0x80)
            return name.toCaseFolded();
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    return folded;
}

namespace {

// A hash of the folded name, computed without building it for ASCII names.
size_t foldedHash(const QString &name)
{
    size_t h = 1469598103934665603ULL;
    for (const QChar ch : name) {
        char16_t c = ch.unicode();
        if (c >= 0x80)
            return qHash(name.toCaseFolded());
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + 32);
        h = (h ^ c) * 1099511628211ULL;
    }
    return h;
}

} // namespace

void checkFields(const FieldList &fields)
{
    // A query that keeps its field list hands the same shared list to every table it fills. While
    // this copy holds it, the shared list cannot change (a write would detach it first), so a list
    // found here was already checked.
    thread_local FieldList lastChecked;
    if (!fields.isEmpty() && fields.constData() == lastChecked.constData() && fields.size() == lastChecked.size())
        return;
    // Repeated names are found among equal hashes of the folded names: no set, no folded copies,
    // since every query result and every packet checks its field list.
    std::vector<std::pair<size_t, qsizetype>> keys;
    keys.reserve(size_t(fields.size()));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const Field &f = fields.at(i);
        if (f.name.isEmpty())
            throw tkt::Error(texts::fieldWithoutName());
        if (!isKnownFieldType(int(f.type)))
            throw tkt::Error(texts::fieldUnknownTypeCode(f.name, int(f.type)));
        if (f.width < 0 || f.width > kMaxFieldWidth)
            throw tkt::Error(texts::fieldImpossibleWidth(f.name, f.width));
        keys.emplace_back(foldedHash(f.name), i);
    }
    std::sort(keys.begin(), keys.end());
    for (size_t k = 1; k < keys.size(); ++k) {
        if (keys[k].first != keys[k - 1].first)
            continue;
        // Equal hashes: the names may still differ; the later one in the list is the repeat.
        for (size_t j = k; j-- > 0 && keys[j].first == keys[k].first;) {
            const QString &a = fields.at(keys[j].second).name;
            const QString &b = fields.at(keys[k].second).name;
            if (foldedName(a) == foldedName(b))
                throw tkt::Error(texts::fieldRepeated(keys[j].second > keys[k].second ? a : b));
        }
    }
    lastChecked = fields;
}

namespace {

bool isIntegral(int typeId)
{
    switch (typeId) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isFloating(int typeId)
{
    return typeId == QMetaType::Double || typeId == QMetaType::Float;
}

bool toInteger(const QVariant &value, qlonglong *out)
{
    const int id = value.typeId();
    bool ok = false;
    if (id == QMetaType::ULongLong || id == QMetaType::ULong) {
        const qulonglong u = value.toULongLong(&ok);
        if (!ok || u > qulonglong(std::numeric_limits<qlonglong>::max()))
            return false;
        *out = qlonglong(u);
        return true;
    }
    if (isIntegral(id) || id == QMetaType::Bool) {
        *out = value.toLongLong(&ok);
        return ok;
    }
    if (isFloating(id)) {
        const double d = value.toDouble();
        // Only whole numbers that survive the trip; 2^63 itself is already out of range.
        if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
            return false;
        *out = qlonglong(d);
        return true;
    }
    if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        *out = value.toString().trimmed().toLongLong(&ok);
        return ok;
    }
    return false;
}

bool toDouble(const QVariant &value, double *out)
{
    const int id = value.typeId();
    bool ok = false;
    if (isFloating(id) || isIntegral(id)) {
        *out = value.toDouble(&ok);
        return ok;
    }
    if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        *out = value.toString().trimmed().toDouble(&ok);
        return ok;
    }
    return false;
}

bool toBoolean(const QVariant &value, bool *out)
{
    const int id = value.typeId();
    if (id == QMetaType::Bool || isIntegral(id) || isFloating(id)) {
        *out = value.toBool();
        return true;
    }
    if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        const QString s = value.toString().trimmed();
        if (s.compare(u"true", Qt::CaseInsensitive) == 0 || s == u"1") {
            *out = true;
            return true;
        }
        if (s.compare(u"false", Qt::CaseInsensitive) == 0 || s == u"0") {
            *out = false;
            return true;
        }
    }
    return false;
}

} // namespace

bool toFieldValue(FieldType type, const QVariant &value, QVariant *result)
{
    if (isNullValue(value)) {
        *result = QVariant();
        return true;
    }
    const int id = value.typeId();
    switch (type) {
    case FieldType::String:
        if (id == QMetaType::QString) {
            *result = value;
            return true;
        }
        if (id == QMetaType::QByteArray) {
            *result = QString::fromUtf8(value.toByteArray());
            return true;
        }
        if (!value.canConvert<QString>())
            return false;
        *result = value.toString();
        return true;
    case FieldType::Integer: {
        qlonglong n = 0;
        if (!toInteger(value, &n))
            return false;
        *result = n;
        return true;
    }
    case FieldType::Float: {
        double d = 0;
        if (!toDouble(value, &d))
            return false;
        *result = d;
        return true;
    }
    case FieldType::Boolean: {
        bool b = false;
        if (!toBoolean(value, &b))
            return false;
        *result = b;
        return true;
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (id == QMetaType::QDateTime) {
            // A local date-time that fell in a daylight-saving gap is invalid but still holds the
            // reading it was made from, which is the value.
            const QDateTime given = value.toDateTime();
            dt = datetext::wallClock(given.date(), given.time());
        } else if (id == QMetaType::QDate)
            dt = datetext::wallClock(value.toDate(), QTime(0, 0));
        else if (id == QMetaType::QString) {
            const auto parsed = datetext::parseDateTime(value.toString().trimmed(), true);
            if (!parsed)
                return false;
            dt = *parsed;
        } else
            return false;
        if (!dt.isValid() || !datetext::inRange(dt.date()))
            return false;
        *result = dt;
        return true;
    }
    case FieldType::Date: {
        QDate d;
        if (id == QMetaType::QDate)
            d = value.toDate();
        else if (id == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else if (id == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (const auto parsed = datetext::parseDateTime(s, true))
                d = parsed->date();
        } else
            return false;
        if (!datetext::inRange(d))
            return false;
        *result = d;
        return true;
    }
    case FieldType::Blob:
        if (id == QMetaType::QByteArray) {
            *result = value;
            return true;
        }
        if (id == QMetaType::QString) {
            *result = value.toString().toUtf8();
            return true;
        }
        return false;
    }
    return false;
}

bool inFieldRepresentation(FieldType type, const QVariant &value)
{
    switch (type) {
    case FieldType::String: return value.typeId() == QMetaType::QString;
    case FieldType::Integer: return value.typeId() == QMetaType::LongLong;
    case FieldType::Float: return value.typeId() == QMetaType::Double;
    case FieldType::Boolean: return value.typeId() == QMetaType::Bool;
    case FieldType::DateTime:
        return value.typeId() == QMetaType::QDateTime
               && datetext::isWallClock(*static_cast<const QDateTime *>(value.constData()));
    case FieldType::Date: return value.typeId() == QMetaType::QDate;
    case FieldType::Blob: return value.typeId() == QMetaType::QByteArray;
    }
    return false;
}

QString valueText(FieldType type, const QVariant &value)
{
    if (isNullValue(value))
        return QString();
    if (type == FieldType::String && value.typeId() == QMetaType::QString)
        return *static_cast<const QString *>(value.constData());
    QVariant v;
    if (!toFieldValue(type, value, &v))
        return value.toString();
    switch (type) {
    case FieldType::String:
        return v.toString();
    case FieldType::Integer:
        return QString::number(v.toLongLong());
    case FieldType::Float:
        return QString::number(v.toDouble(), 'f', QLocale::FloatingPointShortest);
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::DateTime:
        return datetext::dateTimeText(v.toDateTime(), false);
    case FieldType::Date:
        return datetext::dateText(v.toDate());
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray().toHex());
    }
    return v.toString();
}

} // namespace dataset
