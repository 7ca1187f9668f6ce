#include "db/NamedParameters.h"

namespace db {

namespace {

bool startsName(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool continuesName(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}

} // namespace

PositionalSql toPositional(const QString &sql)
{
    PositionalSql result;
    result.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    qsizetype copied = 0; // sql[copied, i) is still to be copied
    auto skipQuoted = [&](QChar quote) {
        ++i;
        while (i < n) {
            if (sql[i] == quote) {
                if (i + 1 < n && sql[i + 1] == quote) {
                    i += 2;
                    continue;
                }
                ++i;
                return;
            }
            ++i;
        }
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            skipQuoted(c);
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == u':') {
            if (i + 1 < n && sql[i + 1] == u':') {
                i += 2;
                while (i < n && sql[i] == u':')
                    ++i;
            } else if (i + 1 < n && startsName(sql[i + 1])) {
                qsizetype end = i + 2;
                while (end < n && continuesName(sql[end]))
                    ++end;
                result.sql.append(QStringView(sql).mid(copied, i - copied));
                result.sql.append(u'?');
                result.occurrences.append(sql.mid(i + 1, end - i - 1).toUpper());
                i = end;
                copied = end;
            } else {
                ++i;
            }
        } else {
            ++i;
        }
    }
    result.sql.append(QStringView(sql).mid(copied));
    return result;
}

} // namespace db
