#pragma once
// Files in and out: whole reads (a file or standard input), packets decoded with the file's name in
// the message, and writes that replace a file only once its new contents are complete.

#include "dataset/Packet.h"

#include <QByteArray>
#include <QString>

namespace cdstool {

// The whole file, or standard input for "-". Throws tkt::Error naming the file and the reason.
QByteArray readInput(const QString &path);

// Throws tkt::Error naming the file, the decoder's reason and the byte offset where it gave up.
dataset::packet::Contents decodePacket(const QByteArray &bytes, const QString &path);

// Whether encoding the decoded contents gives these very bytes: true for every packet this codec
// wrote, false for one another writer put in another valid form.
bool isCanonical(const QByteArray &bytes, const dataset::packet::Contents &contents);

// Writes through a temporary file in the same folder renamed over path, so that path holds either
// its old or its new contents; "-" writes to standard output. Throws tkt::Error on failure.
void writeOutput(const QString &path, const QByteArray &bytes);

} // namespace cdstool
