#include "ShowTable.h"

#include "dataset/DateText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <algorithm>

namespace cdstool {

namespace {

constexpr qsizetype kMaxCell = 40;
constexpr qsizetype kBlobBytesShown = 16;
constexpr QLatin1StringView kNull("<null>");

QString quoted(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

bool needsQuotes(const QString &text)
{
    if (text.isEmpty() || text == kNull || text.startsWith(u'"') || text.front().isSpace() || text.back().isSpace())
        return true;
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

QString cut(const QString &text)
{
    return text.size() <= kMaxCell ? text : text.left(kMaxCell - 1) + QChar(0x2026);
}

// Rows of cells printed in columns two blanks apart, each line without trailing blanks.
QString columns(const QList<QStringList> &lines)
{
    QList<qsizetype> widths;
    for (const QStringList &line : lines)
        for (qsizetype c = 0; c < line.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = std::max(widths[c], line[c].size());
        }
    QString out;
    for (const QStringList &line : lines) {
        QString text = QStringLiteral("  ");
        for (qsizetype c = 0; c < line.size(); ++c)
            text += c + 1 < line.size() ? line[c].leftJustified(widths[c] + 2) : line[c];
        while (text.endsWith(u' '))
            text.chop(1);
        out += text + u'\n';
    }
    return out;
}

} // namespace

QString cellText(const dataset::Field &field, const QVariant &value)
{
    using dataset::FieldType;
    if (dataset::isNullValue(value))
        return kNull;
    switch (field.type) {
    case FieldType::String: {
        const QString text = value.toString();
        return cut(needsQuotes(text) ? quoted(text) : text);
    }
    case FieldType::DateTime:
        return dataset::datetext::dateTimeText(value.toDateTime(), true);
    case FieldType::Blob: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.size() <= kBlobBytesShown)
            return bytes.isEmpty() ? QStringLiteral("(0 bytes)") : QString::fromLatin1(bytes.toHex());
        return QStringLiteral("%1%2 (%3 bytes)").arg(QString::fromLatin1(bytes.left(kBlobBytesShown).toHex()))
            .arg(QChar(0x2026)).arg(bytes.size());
    }
    default:
        return dataset::valueText(field.type, value);
    }
}

QString showText(const QString &title, const dataset::packet::Contents &contents)
{
    const auto &fields = contents.fields;
    const auto &rows = contents.rows;
    QString out = QStringLiteral("%1: %2 %3, %4 %5\n\nFields:\n")
                      .arg(title).arg(fields.size()).arg(fields.size() == 1 ? u"field" : u"fields")
                      .arg(rows.size()).arg(rows.size() == 1 ? u"row" : u"rows");
    QList<QStringList> list{{QStringLiteral("#"), QStringLiteral("NAME"), QStringLiteral("TYPE"),
                             QStringLiteral("WIDTH"), QStringLiteral("LABEL")}};
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const dataset::Field &f = fields.at(i);
        QString label = f.displayLabel.isEmpty() ? QString() : quoted(f.displayLabel);
        if (!f.visible)
            label += label.isEmpty() ? QStringLiteral("(hidden)") : QStringLiteral(" (hidden)");
        list.append({QString::number(i + 1), f.name, dataset::fieldTypeName(f.type), QString::number(f.width), label});
    }
    out += columns(list);

    out += QStringLiteral("\nRows:\n");
    if (rows.isEmpty())
        return out + QStringLiteral("  (none)\n");
    if (fields.isEmpty())
        return out + QStringLiteral("  (%1 without values, as there are no fields)\n").arg(rows.size());
    QList<QStringList> table;
    QStringList header;
    for (const dataset::Field &f : fields)
        header.append(f.name);
    table.append(header);
    for (const dataset::Row &row : rows) {
        QStringList cells;
        for (qsizetype c = 0; c < fields.size(); ++c)
            cells.append(cellText(fields.at(c), row.at(c)));
        table.append(cells);
    }
    return out + columns(table);
}

} // namespace cdstool
