#pragma once
// Dialect holder of the shared services library: keeps one SQL text per database dialect for its
// linked query and places the one of the database in use into that query.

#include "contracts/Export.h"

#include <QHash>
#include <QString>

namespace db { class Query; enum class DbKind; }

namespace contracts {

class TKT_SHARED_SERVICES_EXPORT TADOSqlStorage {
public:
    // Dialect keys. SQLORACLE and SQLMSSQL are the stored ones; SQLite and PostgreSQL have their own.
    static inline const QString SQLORACLE = QStringLiteral("SQLORACLE");
    static inline const QString SQLMSSQL = QStringLiteral("SQLMSSQL");
    static inline const QString SQLSQLITE = QStringLiteral("SQLSQLITE");
    static inline const QString SQLPGSQL = QStringLiteral("SQLPGSQL");

    static QString dialectKey(db::DbKind kind);

    void setQuery(db::Query *query) { m_query = query; }
    db::Query *query() const { return m_query; }

    void setText(const QString &dialect, const QString &sql) { m_texts.insert(dialect, sql); }
    QString text(const QString &dialect) const { return m_texts.value(dialect); }
    bool hasText(const QString &dialect) const { return m_texts.contains(dialect); }

    // Places the text of `kind` into the linked query; a dialect without a text is an error.
    void apply(db::DbKind kind) const;

private:
    db::Query *m_query = nullptr;
    QHash<QString, QString> m_texts;
};

} // namespace contracts
