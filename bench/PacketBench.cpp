// The data packet codec on consumer rows, beside plain CBOR: writing the same values with Qt's
// stream writer and no checks, and Qt's generic parse of the same bytes.
#include "Benchmarks.h"
#include "Environment.h"
#include "Paired.h"

#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "db/Connection.h"
#include "db/Query.h"

#include <QCborStreamWriter>
#include <QCborValue>
#include <QDateTime>
#include <benchmark/benchmark.h>

namespace bench {

namespace {

struct Rows {
    dataset::FieldList fields;
    QList<dataset::Row> rows;
};

const Rows &consumerRows(const Database &database, int count)
{
    static std::map<int, Rows> cache;
    auto it = cache.find(count);
    if (it != cache.end())
        return it->second;
    db::Connection connection;
    connection.setConnectionString(database.connectionString());
    connection.open();
    dataset::Table table;
    {
        db::Query query(connection);
        query.setSql(QStringLiteral("SELECT * FROM CONSUMIDOR ORDER BY CDCONSUMIDOR LIMIT CAST(:P_N AS INTEGER)"));
        query.setParam(QStringLiteral("P_N"), QString::number(count));
        query.open();
        table = query.fetchAll();
    }
    connection.close();
    Rows &rows = cache[count];
    rows.fields = table.fields();
    rows.rows = table.allRows();
    return rows;
}

void writePlain(QCborStreamWriter &w, const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QString: w.append(*static_cast<const QString *>(v.constData())); break;
    case QMetaType::Double: w.append(*static_cast<const double *>(v.constData())); break;
    case QMetaType::LongLong: w.append(qint64(*static_cast<const qlonglong *>(v.constData()))); break;
    case QMetaType::QDateTime: w.append(v.toDateTime().toString(Qt::ISODate)); break;
    case QMetaType::QDate: w.append(v.toDate().toString(Qt::ISODate)); break;
    default: w.appendNull(); break;
    }
}

QByteArray plainCbor(const Rows &r)
{
    QByteArray out;
    QCborStreamWriter w(&out);
    w.startArray(quint64(r.rows.size()));
    for (const dataset::Row &row : r.rows) {
        w.startArray(quint64(row.size()));
        for (const QVariant &v : row)
            writePlain(w, v);
        w.endArray();
    }
    w.endArray();
    return out;
}

std::pair<Run, Run> encodeRuns(const Database &database, int count)
{
    const Rows &r = consumerRows(database, count);
    return {[&r] { benchmark::DoNotOptimize(dataset::packet::encode(r.fields, r.rows)); },
            [&r] { benchmark::DoNotOptimize(plainCbor(r)); }};
}

std::pair<Run, Run> decodeRuns(const Database &database, int count)
{
    const Rows &r = consumerRows(database, count);
    const QByteArray packet = dataset::packet::encode(r.fields, r.rows);
    return {[packet] { benchmark::DoNotOptimize(dataset::Table::fromPacket(packet)); },
            [packet] { benchmark::DoNotOptimize(QCborValue::fromCbor(packet)); }};
}

} // namespace

void registerPacketBenchmarks(const Database &database)
{
    for (int count : {10, 10000}) {
        const std::string n = std::to_string(count);
        registerPaired("packet/encode/" + n, [database, count] { return encodeRuns(database, count); });
        registerPaired("packet/decode/" + n, [database, count] { return decodeRuns(database, count); });
    }
}

} // namespace bench
