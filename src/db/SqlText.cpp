#include "db/SqlText.h"

#include "contracts/Errors.h"

#include <QFile>

namespace db {

QString dialectSuffix(DbKind kind)
{
    switch (kind) {
    case DbKind::Oracle: return QStringLiteral("oracle");
    case DbKind::SqlServer: return QStringLiteral("mssql");
    case DbKind::SQLite: return QStringLiteral("sqlite");
    case DbKind::PostgreSQL: return QStringLiteral("postgresql");
    case DbKind::Unknown: break;
    }
    return {};
}

namespace {

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString sqlText(const QString &folder, const QString &query, const QString &dialect)
{
    const QString base = folder + QLatin1Char('/') + query;
    if (!dialect.isEmpty()) {
        const QString text = readResource(base + QLatin1Char('.') + dialect + QStringLiteral(".sql"));
        if (!text.isEmpty())
            return text;
    }
    const QString text = readResource(base + QStringLiteral(".sql"));
    if (text.isEmpty())
        throw tkt::Error(QStringLiteral("Texto SQL da consulta %1 não encontrado.").arg(query));
    return text;
}

QString sqlText(const QString &folder, const QString &query, DbKind kind)
{
    return sqlText(folder, query, dialectSuffix(kind));
}

namespace {

// After a ";" only blanks or a comment may follow on the line for it to end a statement, so that a
// semicolon inside a longer line (a procedure body, say) is not taken for the end.
bool restOfLineIsBlank(const QString &text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\n')
            return true;
        if (ch == u'-' && i + 1 < text.size() && text.at(i + 1) == u'-')
            return true;
        if (ch != u' ' && ch != u'\t' && ch != u'\r')
            return false;
    }
    return true;
}

} // namespace

QStringList splitStatements(const QString &text)
{
    QStringList result;
    QString current;
    const auto push = [&] {
        const QString statement = current.trimmed();
        if (!statement.isEmpty())
            result.append(statement);
        current.clear();
    };

    QChar quote; // the quote character while inside quoted text; null outside
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (!quote.isNull()) {
            current += ch;
            // A doubled quote closes and at once reopens the quoted text, so it needs no case.
            if (ch == quote)
                quote = QChar();
            continue;
        }
        if (ch == u'\'' || ch == u'"') {
            quote = ch;
            current += ch;
        } else if (ch == u'-' && i + 1 < n && text.at(i + 1) == u'-') {
            while (i < n && text.at(i) != u'\n')
                ++i;
            current += u'\n';
        } else if (ch == u';' && restOfLineIsBlank(text, i + 1)) {
            push();
        } else {
            current += ch;
        }
    }
    push();
    return result;
}

} // namespace db
