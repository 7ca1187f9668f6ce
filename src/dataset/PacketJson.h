#pragma once
// The JSON form of a data packet, for reading and editing packets with ordinary text tools.
// docs/data-packet.md ("The JSON form") gives the mapping of each field type. Every packet this
// codec writes comes back from its JSON byte for byte: toJson keeps every bit the decoded contents
// hold (float signs and NaN payloads, milliseconds, labels, hidden flags, nulls).

#include "dataset/Packet.h"

#include <QByteArray>

namespace dataset::packet {

// UTF-8 JSON text: one line per field and per row, ending with a newline.
QByteArray toJson(const Contents &contents);

// Throws tkt::Error for text that is not JSON (naming the byte offset) or that does not describe a
// packet (naming the place, e.g. `rows[2]["DTABERTURA"]`, and the rule broken).
Contents fromJson(const QByteArray &json);

} // namespace dataset::packet
