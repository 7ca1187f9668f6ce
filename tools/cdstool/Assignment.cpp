#include "Assignment.h"

#include "Usage.h"
#include "contracts/Errors.h"
#include "dataset/DateText.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace cdstool {

using dataset::Field;
using dataset::FieldType;

namespace {

[[noreturn]] void refuse(const Field &field, const QString &text, const QString &rule)
{
    throw tkt::Error(QStringLiteral("refused %1=%2: field %1 (%3, width %4) %5")
                         .arg(field.name, text, dataset::fieldTypeName(field.type)).arg(field.width).arg(rule));
}

} // namespace

QList<Assignment> parseAssignments(const QStringList &arguments)
{
    QList<Assignment> out;
    QSet<QString> seen;
    for (const QString &argument : arguments) {
        const qsizetype eq = argument.indexOf(u'=');
        if (eq <= 0)
            throw UsageError(QStringLiteral("\"%1\" is not FIELD=VALUE").arg(argument));
        const Assignment a{argument.left(eq), argument.mid(eq + 1)};
        if (seen.contains(dataset::foldedName(a.field)))
            throw UsageError(QStringLiteral("the field %1 is given twice").arg(a.field));
        seen.insert(dataset::foldedName(a.field));
        out.append(a);
    }
    return out;
}

QVariant valueFor(const Field &field, const QString &text)
{
    switch (field.type) {
    case FieldType::String: {
        const qsizetype characters = text.toUcs4().size();
        if (field.width > 0 && characters > field.width)
            refuse(field, text, QStringLiteral("takes at most %1 characters; this value has %2")
                                    .arg(field.width).arg(characters));
        return text;
    }
    case FieldType::Integer: {
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok);
        if (!ok || text.trimmed() != text)
            refuse(field, text, QStringLiteral("takes a whole number from %1 to %2")
                                    .arg(std::numeric_limits<qlonglong>::min()).arg(std::numeric_limits<qlonglong>::max()));
        return n;
    }
    case FieldType::Float: {
        bool ok = false;
        const double d = text.toDouble(&ok);
        if (!ok || !std::isfinite(d) || text.trimmed() != text)
            refuse(field, text, QStringLiteral("takes a finite number such as 12.5 or -3 (a dot before the decimals)"));
        return d;
    }
    case FieldType::Boolean:
        if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1")
            return true;
        if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
            return false;
        refuse(field, text, QStringLiteral("takes true or false (or 1 or 0)"));
    case FieldType::DateTime:
        if (const auto dt = dataset::datetext::parseDateTime(text, true))
            return *dt;
        refuse(field, text, QStringLiteral("takes a date and time yyyy-MM-ddTHH:mm:ss, from year 0001 to 9999"));
    case FieldType::Date:
        if (const auto d = dataset::datetext::parseDate(text))
            return *d;
        refuse(field, text, QStringLiteral("takes a date yyyy-MM-dd, from year 0001 to 9999"));
    case FieldType::Blob: {
        const auto bytes = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!bytes || text.toLatin1() != text.toUtf8())
            refuse(field, text, QStringLiteral("takes base64 text"));
        if (field.width > 0 && bytes.decoded.size() > field.width)
            refuse(field, text, QStringLiteral("takes at most %1 bytes; this value has %2")
                                    .arg(field.width).arg(bytes.decoded.size()));
        return *bytes;
    }
    }
    refuse(field, text, QStringLiteral("has a type this tool cannot set"));
}

void applyToFirstRow(dataset::packet::Contents &contents, const QList<Assignment> &assignments)
{
    if (contents.rows.isEmpty())
        throw tkt::Error(QStringLiteral("refused: the file has no row to change"));
    dataset::Row row = contents.rows.first();
    for (const Assignment &a : assignments) {
        const auto it = std::find_if(contents.fields.cbegin(), contents.fields.cend(), [&](const Field &f) {
            return dataset::foldedName(f.name) == dataset::foldedName(a.field);
        });
        if (it == contents.fields.cend()) {
            QStringList names;
            for (const Field &f : contents.fields)
                names.append(f.name);
            throw tkt::Error(QStringLiteral("refused %1=%2: there is no field %1; the fields are %3")
                                 .arg(a.field, a.value, names.isEmpty() ? QStringLiteral("none") : names.join(u", ")));
        }
        row[it - contents.fields.cbegin()] = valueFor(*it, a.value);
    }
    contents.rows.first() = std::move(row);
}

} // namespace cdstool
