#pragma once
// `set`'s FIELD=VALUE arguments: split, checked against their field's type and width, applied.

#include "dataset/Packet.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cdstool {

struct Assignment {
    QString field;
    QString value;
};

// Throws UsageError for an argument without "=" or with no name before it, and for a field given
// twice (names compared ignoring case).
QList<Assignment> parseAssignments(const QStringList &arguments);

// The value as the field keeps it. Throws tkt::Error naming the field and the rule the text breaks.
QVariant valueFor(const dataset::Field &field, const QString &text);

// Sets the fields of the first row; throws tkt::Error for an unknown field, a value that does not
// fit or a packet without rows, leaving contents unchanged.
void applyToFirstRow(dataset::packet::Contents &contents, const QList<Assignment> &assignments);

} // namespace cdstool
