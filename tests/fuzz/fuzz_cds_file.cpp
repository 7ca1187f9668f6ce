// .cds files as the host's folders hold them, damaged or not: loading one agrees with the packet
// codec on the same bytes, a damaged file leaves the table as it was, and a loaded table saves
// to a file that loads back the same.

#include "FuzzSupport.h"
#include "PacketCompare.h"
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using dataset::Field;
using dataset::FieldType;
using dataset::Table;

QTemporaryDir *folder = nullptr;
QString inputPath;
QString savedPath;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

Table standing()
{
    Table table(dataset::FieldList{Field{QStringLiteral("CDFILIAL"), FieldType::String, 4},
                                   Field{QStringLiteral("DTABERTURA"), FieldType::Date, 0}},
                {{QStringLiteral("0001"), QDate(2026, 12, 8)}});
    return table;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    folder = new QTemporaryDir();
    if (!folder->isValid()) {
        std::fprintf(stderr, "no temporary folder for the table files\n");
        std::exit(2);
    }
    inputPath = folder->filePath(QStringLiteral("input.cds"));
    savedPath = folder->filePath(QStringLiteral("saved.cds"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    writeFile(inputPath, bytes);

    bool decodes = true;
    try {
        dataset::packet::decode(bytes);
    } catch (const tkt::Error &) {
        decodes = false;
    }

    Table table = standing();
    const QByteArray before = table.toPacket();
    try {
        table.loadFromFile(inputPath);
    } catch (const tkt::Error &e) {
        fuzz::require(!decodes, "a file loads when its bytes are a packet", e.message());
        fuzz::require(e.message().contains(inputPath), "the message names the damaged file", e.message());
        fuzz::require(table.toPacket() == before, "a damaged file leaves the table unchanged", e.message());
        return 0;
    }
    fuzz::require(decodes, "a file is refused when its bytes are not a packet");

    try {
        table.saveToFile(savedPath);
    } catch (const tkt::Error &e) {
        fuzz::broken("a loaded table saves", e.message());
    }
    Table reloaded;
    try {
        reloaded.loadFromFile(savedPath);
    } catch (const tkt::Error &e) {
        fuzz::broken("a saved table loads", e.message());
    }
    fuzz::require(reloaded.fields() == table.fields() && fuzz::sameRows(reloaded.allRows(), table.allRows()),
                  "a saved table loads back the same", fuzz::describe(table.fields(), table.allRows()));
    return 0;
}
