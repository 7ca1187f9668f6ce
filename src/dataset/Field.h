#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace dataset {

// Field types a data packet carries. The numeric codes are part of the packet format: never renumber.
enum class FieldType : int {
    String = 1,   // text; width = maximum characters
    Integer = 2,  // 64-bit signed integer
    Float = 3,    // double
    Boolean = 4,
    DateTime = 5, // date and time, no time zone
    Date = 6,
    Blob = 7,     // raw bytes; width = maximum bytes (0: unbounded)
};

QString fieldTypeName(FieldType type);
bool isKnownFieldType(int code);

// Width limit shared by the table and the packet codec: anything larger is a damaged field list.
inline constexpr int kMaxFieldWidth = 1000000;

struct Field {
    QString name;
    FieldType type = FieldType::String;
    int width = 0;           // characters for String, bytes for Blob, 0 otherwise
    QString displayLabel;    // column title in lists; the name when empty
    bool visible = true;     // shown in lists

    QString label() const { return displayLabel.isEmpty() ? name : displayLabel; }
    bool operator==(const Field &) const = default;
};

using FieldList = QList<Field>;

// The form of a field name that lookups and the repeated-name check compare: case-folded.
QString foldedName(const QString &name);

// Throws tkt::Error for a field list no packet could carry: an empty or repeated name (names are
// compared case-insensitively, as lookups are), or a width outside 0..kMaxFieldWidth.
void checkFields(const FieldList &fields);

// A missing value: an invalid QVariant or one holding a null (as Qt SQL gives for NULL).
inline bool isNullValue(const QVariant &value) { return !value.isValid() || value.isNull(); }

// The value in the one representation a field of this type keeps: QString, qlonglong, double,
// bool, QDateTime, QDate or QByteArray; null stays QVariant(). False when the value does not fit
// (text that is not a number, a date-time that is not valid, ...). Text dates are ISO 8601.
bool toFieldValue(FieldType type, const QVariant &value, QVariant *result);

// Whether a non-null value already is in that representation, so that it needs no conversion.
bool inFieldRepresentation(FieldType type, const QVariant &value);

// The value as text for labels and lists: "" for null; numbers without trailing zeros (12.5, 3);
// Booleans "True"/"False"; date-times "yyyy-MM-ddTHH:mm:ss"; dates "yyyy-MM-dd"; blobs in hex.
QString valueText(FieldType type, const QVariant &value);

} // namespace dataset
