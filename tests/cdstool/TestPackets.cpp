#include "TestPackets.h"

#include "contracts/Errors.h"
#include "dataset/DateText.h"

#include <QFile>
#include <cstring>
#include <limits>

using namespace dataset;

namespace {

Field field(const char *name, FieldType type, int width = 0, const QString &label = {}, bool visible = true)
{
    return Field{QString::fromUtf8(name), type, width, label, visible};
}

double bits(quint64 b)
{
    double d = 0;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

} // namespace

packet::Contents everyTypeContents()
{
    packet::Contents c;
    c.fields = {
        field("NMCONSUMIDOR", FieldType::String, 400, QStringLiteral("Nome do consumidor")),
        field("QTITEM", FieldType::Integer),
        field("VRPRECO", FieldType::Float, 0, QStringLiteral("Preço (€)")),
        field("IDATIVO", FieldType::Boolean, 0, {}, false),
        field("DTABERTURA", FieldType::DateTime),
        field("DTNASC", FieldType::Date),
        field("FOTO", FieldType::Blob, 0, {}, false),
        field("CDFILIAL", FieldType::String, 4),
    };
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const auto at = [](int y, int mo, int d, int h, int mi, int s, int ms) {
        return QVariant(datetext::wallClock(QDate(y, mo, d), QTime(h, mi, s, ms)));
    };
    const QString odd = QStringLiteral("São João \U0001F355 \"aspas\" \\ barra\n\ttab\x01 fim");
    c.rows = {
        {odd, qlonglong(std::numeric_limits<qint64>::min()), -0.0, true, at(2024, 5, 6, 19, 30, 0, 250),
         QDate(1, 1, 1), all, QStringLiteral("0001")},
        {QString(""), qlonglong(std::numeric_limits<qint64>::max()), bits(0x7ff8000000000000ULL), false,
         at(9999, 12, 31, 23, 59, 59, 999), QDate(9999, 12, 31), QByteArray(""), QStringLiteral("  a ")},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("<null>"), qlonglong(0), bits(0xfff0000000000001ULL), true, at(1, 1, 1, 0, 0, 0, 0),
         QDate(2024, 2, 29), QByteArray("\0", 1), QStringLiteral("null")},
        {QStringLiteral("0.1"), qlonglong(-1), std::numeric_limits<double>::infinity(), false,
         at(2024, 3, 31, 2, 30, 0, 0), QVariant(), QByteArray("\xff\x10", 2), QVariant()},
        {QStringLiteral("\u00a0"), qlonglong(9007199254740993LL), -std::numeric_limits<double>::infinity(), QVariant(),
         QVariant(), QDate(2000, 1, 1), QVariant(), QStringLiteral("é")},
        {QStringLiteral("x"), qlonglong(42), 0.1, true, QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("y"), qlonglong(43), 1e20, true, QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("z"), qlonglong(44), 4.9406564584124654e-324, true, QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("w"), qlonglong(45), -1.7976931348623157e308, true, QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("v"), qlonglong(46), 3.0, true, QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("u"), qlonglong(47), bits(0xfff8000000000000ULL), true, QVariant(), QVariant(), QVariant(), QVariant()},
    };
    return c;
}

QByteArray everyTypePacket()
{
    const auto c = everyTypeContents();
    return packet::encode(c.fields, c.rows);
}

QByteArray noRowPacket()
{
    const auto c = everyTypeContents();
    return packet::encode(c.fields, {});
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw tkt::Error(QStringLiteral("cannot write %1").arg(path));
}
