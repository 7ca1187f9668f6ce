#pragma once
// Packets for the cdstool tests and the file helpers they share.

#include "dataset/Packet.h"

#include <QByteArray>
#include <QString>

// Every field type, labels, hidden fields, nulls, and the values a JSON form could lose: float
// signs, NaN payloads, infinities, the 64-bit integer limits, milliseconds, the first and last
// dates, every byte value, non-ASCII and control characters, and texts that look like nulls.
dataset::packet::Contents everyTypeContents();
QByteArray everyTypePacket();

// A packet with fields and no row.
QByteArray noRowPacket();

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
