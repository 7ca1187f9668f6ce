#include "Commands.h"

#include "Assignment.h"
#include "PacketFile.h"
#include "ShowTable.h"
#include "Usage.h"
#include "contracts/Errors.h"
#include "dataset/PacketJson.h"

#include <cstdio>

namespace cdstool {

namespace {

void expectCount(const QStringList &arguments, qsizetype count, const char *usage)
{
    if (arguments.size() != count)
        throw UsageError(QStringLiteral("the command takes %1").arg(QLatin1StringView(usage)));
}

void note(const QString &text)
{
    std::fputs(QStringLiteral("cdstool: note: %1\n").arg(text).toLocal8Bit().constData(), stderr);
}

} // namespace

void show(const QStringList &arguments)
{
    expectCount(arguments, 1, "one FILE: cdstool show FILE");
    const QString &path = arguments[0];
    writeOutput(QStringLiteral("-"), showText(path, decodePacket(readInput(path), path)).toUtf8());
}

void toJson(const QStringList &arguments)
{
    expectCount(arguments, 1, "one FILE: cdstool json FILE");
    const QString &path = arguments[0];
    const QByteArray bytes = readInput(path);
    const auto contents = decodePacket(bytes, path);
    const QByteArray json = dataset::packet::toJson(contents);
    if (!isCanonical(bytes, contents))
        note(QStringLiteral("%1 is a valid packet in a form this codec does not write; from-json will give "
                            "the same values in this codec's form, not these very bytes").arg(path));
    writeOutput(QStringLiteral("-"), json);
}

void fromJson(const QStringList &arguments)
{
    expectCount(arguments, 2, "IN and OUT: cdstool from-json IN OUT");
    const QString &in = arguments[0];
    dataset::packet::Contents contents;
    try {
        contents = dataset::packet::fromJson(readInput(in));
    } catch (const tkt::Error &e) {
        throw tkt::Error(QStringLiteral("%1: %2").arg(in == u"-" ? QStringLiteral("standard input") : in, e.message()));
    }
    writeOutput(arguments[1], dataset::packet::encode(contents.fields, contents.rows));
}

void set(const QStringList &arguments)
{
    if (arguments.size() < 2)
        throw UsageError(QStringLiteral("the command takes FILE and at least one FIELD=VALUE: "
                                        "cdstool set FILE FIELD=VALUE..."));
    const QString &path = arguments[0];
    if (path == u"-")
        throw UsageError(QStringLiteral("set changes a file in place; standard input cannot be changed"));
    const QList<Assignment> assignments = parseAssignments(arguments.mid(1));
    const QByteArray bytes = readInput(path);
    auto contents = decodePacket(bytes, path);
    const bool canonical = isCanonical(bytes, contents);
    try {
        applyToFirstRow(contents, assignments);
    } catch (const tkt::Error &e) {
        throw tkt::Error(QStringLiteral("%1: %2; the file is unchanged").arg(path, e.message()));
    }
    writeOutput(path, dataset::packet::encode(contents.fields, contents.rows));
    if (!canonical)
        note(QStringLiteral("%1 was in a form this codec does not write; it now holds the same values, "
                            "with the changes, in this codec's form").arg(path));
}

} // namespace cdstool
