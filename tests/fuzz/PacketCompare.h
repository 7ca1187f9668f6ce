#pragma once
// Equality of decoded packets as the codec promises it: the same fields and the same values in
// the same representation. Doubles compare by their bits, so that NaN equals itself and -0 is
// not taken for 0.

#include "FuzzSupport.h"
#include "dataset/Packet.h"

#include <cstring>

namespace fuzz {

inline bool sameValue(const QVariant &a, const QVariant &b)
{
    if (dataset::isNullValue(a) || dataset::isNullValue(b))
        return dataset::isNullValue(a) && dataset::isNullValue(b);
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return a == b;
}

inline bool sameRows(const QList<dataset::Row> &a, const QList<dataset::Row> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype r = 0; r < a.size(); ++r) {
        if (a[r].size() != b[r].size())
            return false;
        for (qsizetype c = 0; c < a[r].size(); ++c)
            if (!sameValue(a[r][c], b[r][c]))
                return false;
    }
    return true;
}

inline QString describe(const dataset::FieldList &fields, const QList<dataset::Row> &rows)
{
    QString out;
    for (const dataset::Field &f : fields)
        out += QStringLiteral("%1:%2:%3 ").arg(f.name).arg(int(f.type)).arg(f.width);
    out += QStringLiteral("| %1 rows").arg(rows.size());
    return out;
}

} // namespace fuzz
