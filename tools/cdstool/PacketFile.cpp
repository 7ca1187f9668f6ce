#include "PacketFile.h"

#include "contracts/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace cdstool {

namespace {

QString shown(const QString &path)
{
    return path == u"-" ? QStringLiteral("standard input") : path;
}

} // namespace

QByteArray readInput(const QString &path)
{
    QFile file;
    bool opened = false;
    if (path == u"-") {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        if (QFileInfo(path).isDir())
            throw tkt::Error(QStringLiteral("cannot read %1: it is a folder").arg(path));
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened)
        throw tkt::Error(QStringLiteral("cannot read %1: %2").arg(shown(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw tkt::Error(QStringLiteral("cannot read %1: %2").arg(shown(path), file.errorString()));
    return bytes;
}

dataset::packet::Contents decodePacket(const QByteArray &bytes, const QString &path)
{
    // The decoder names the offset in every other message.
    if (bytes.isEmpty())
        throw tkt::Error(QStringLiteral("%1: not a data packet: the file is empty (nothing to decode at byte 0)")
                             .arg(shown(path)));
    try {
        return dataset::packet::decode(bytes);
    } catch (const tkt::Error &e) {
        throw tkt::Error(QStringLiteral("%1: not a valid data packet (%2 bytes): %3")
                             .arg(shown(path)).arg(bytes.size()).arg(e.message()));
    }
}

bool isCanonical(const QByteArray &bytes, const dataset::packet::Contents &contents)
{
    return dataset::packet::encode(contents.fields, contents.rows) == bytes;
}

void writeOutput(const QString &path, const QByteArray &bytes)
{
    if (path == u"-") {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
            || std::fflush(stdout) != 0)
            throw tkt::Error(QStringLiteral("cannot write to standard output"));
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw tkt::Error(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw tkt::Error(QStringLiteral("cannot write %1: %2; the file was not replaced").arg(path, file.errorString()));
}

} // namespace cdstool
