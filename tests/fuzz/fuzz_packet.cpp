// Data packets as services, hosts and .cds files hand them in: any bytes are read or refused with
// a tkt::Error, and whatever is read can be written again and reads back the same.

#include "FuzzSupport.h"
#include "PacketCompare.h"
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"

namespace {

using dataset::Field;
using dataset::FieldType;
using dataset::Table;
namespace packet = dataset::packet;

// A table that holds something, so that a refused load can be seen to leave it alone.
Table standing()
{
    Table table(dataset::FieldList{Field{QStringLiteral("CDCONSUMIDOR"), FieldType::String, 10},
                                   Field{QStringLiteral("VRLIMITE"), FieldType::Float, 0}},
                {{QStringLiteral("22"), 1.5}, {QStringLiteral("23"), QVariant()}});
    table.next();
    return table;
}

void readBackTheSame(const packet::Contents &read, const QByteArray &input)
{
    QByteArray written;
    try {
        written = packet::encode(read.fields, read.rows);
    } catch (const tkt::Error &e) {
        fuzz::broken("a packet that was read can be written again", e.message());
    }
    packet::Contents again;
    try {
        again = packet::decode(written);
    } catch (const tkt::Error &e) {
        fuzz::broken("a packet the codec wrote reads back", e.message());
    }
    fuzz::require(again.fields == read.fields, "the field list reads back the same",
                  fuzz::describe(read.fields, read.rows) + QStringLiteral(" / ") + fuzz::describe(again.fields, again.rows));
    fuzz::require(fuzz::sameRows(again.rows, read.rows), "the rows read back the same",
                  fuzz::describe(read.fields, read.rows));
    fuzz::require(packet::encode(again.fields, again.rows) == written, "writing is deterministic",
                  QString::fromLatin1(input.toHex()));
}

void tableAgrees(const QByteArray &input, const packet::Contents *read)
{
    Table table = standing();
    const QByteArray before = table.toPacket();
    const int beforeRecNo = table.recNo();
    try {
        table.loadPacket(input);
    } catch (const tkt::Error &e) {
        fuzz::require(!read, "a table loads what the codec reads", e.message());
        fuzz::require(table.toPacket() == before && table.recNo() == beforeRecNo,
                      "a refused packet leaves the table unchanged", e.message());
        return;
    }
    fuzz::require(read != nullptr, "a table refuses what the codec refuses");
    fuzz::require(table.fields() == read->fields && fuzz::sameRows(table.allRows(), read->rows),
                  "a table holds what the codec reads", fuzz::describe(read->fields, read->rows));
    fuzz::require(table.recNo() == (read->rows.isEmpty() ? -1 : 0), "a loaded table stands on its first row");
    fuzz::require(table.eof() == read->rows.isEmpty(), "a loaded table is at its end only when empty");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    packet::Contents read;
    bool ok = false;
    try {
        read = packet::decode(input);
        ok = true;
    } catch (const tkt::Error &) {
    }
    if (ok)
        readBackTheSame(read, input);
    tableAgrees(input, ok ? &read : nullptr);
    return 0;
}
