#pragma once
// The data packet codec: a CBOR document (RFC 8949) holding a format version, the field list and
// every row in order. docs/data-packet.md describes the format for hosts in other languages.

#include "dataset/Field.h"
#include "dataset/Table.h"

#include <QByteArray>

namespace dataset::packet {

inline constexpr int kFormatVersion = 1;

struct Contents {
    FieldList fields;
    QList<Row> rows;
};

QByteArray encode(const FieldList &fields, const QList<Row> &rows);

// Throws tkt::Error with a clear text for anything malformed; never reads out of bounds.
Contents decode(const QByteArray &packet);

} // namespace dataset::packet
