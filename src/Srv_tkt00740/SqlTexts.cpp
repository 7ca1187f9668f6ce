#include "Srv_tkt00740/SqlTexts.h"

#include "contracts/Errors.h"

#include <QFile>

namespace Srv_tkt00740 {

QString dialectSuffix(db::DbKind kind)
{
    switch (kind) {
    case db::DbKind::Oracle: return QStringLiteral("oracle");
    case db::DbKind::SqlServer: return QStringLiteral("mssql");
    case db::DbKind::SQLite: return QStringLiteral("sqlite");
    case db::DbKind::PostgreSQL: return QStringLiteral("postgresql");
    case db::DbKind::Unknown: break;
    }
    return {};
}

static QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

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

QString sqlText(const QString &folder, const QString &query, db::DbKind kind)
{
    return sqlText(folder, query, dialectSuffix(kind));
}

} // namespace Srv_tkt00740
