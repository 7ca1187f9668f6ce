#pragma once

#include <QList>
#include <QString>

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

} // namespace dataset
