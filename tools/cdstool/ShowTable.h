#pragma once
// The text `cdstool show` prints: the field list and the rows as aligned columns.

#include "dataset/Packet.h"

#include <QString>

namespace cdstool {

QString showText(const QString &title, const dataset::packet::Contents &contents);

// One value as a cell: nulls as <null>; texts that would read ambiguously in quotes, JSON-escaped.
QString cellText(const dataset::Field &field, const QVariant &value);

} // namespace cdstool
