#pragma once
// The data packet codec: a CBOR document (RFC 8949) holding a format version, the field list and
// every row in order. docs/data-packet.md describes the format for hosts in other languages.

#include "dataset/Field.h"
#include "dataset/Table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

namespace dataset {
class CborOut;
}

namespace dataset::packet {

inline constexpr int kFormatVersion = 1;

struct Contents {
    FieldList fields;
    QList<Row> rows;
};

QByteArray encode(const FieldList &fields, const QList<Row> &rows);

// A packet whose rows are written as they are read, before the field list is final (a text
// field's width may still grow with the rows): rows go first, and finish() puts the field list
// before them. Values are checked against their field's type as encode checks them.
class RowWriter {
public:
    explicit RowWriter(qsizetype expectedSize);
    ~RowWriter();
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void startRow(int width);
    // Throws tkt::Error naming the row and field for a value that does not fit the field's type.
    void value(const Field &field, const QVariant &value);
    // A String field's value given as ASCII text.
    void asciiText(QByteArrayView text);
    // The packet with these fields and the rows written; the writer is spent.
    QByteArray finish(const FieldList &fields);

private:
    std::unique_ptr<CborOut> m_rows;
    qsizetype m_count = 0;
};

// Throws tkt::Error with a clear text for anything malformed; never reads out of bounds.
Contents decode(const QByteArray &packet);

} // namespace dataset::packet
