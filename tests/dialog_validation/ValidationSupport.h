#pragma once
// What the validation tests share: demo codes, rows written straight into a demo database, and the
// PostgreSQL server log read back to count what the dialog sent.

#include <QString>
#include <QStringList>

namespace validation {

inline const QString kClient1 = QStringLiteral("000000000000000000001");
inline const QString kClient2 = QStringLiteral("000000000000000000002");
inline const QString kClient3 = QStringLiteral("000000000000000000003");

// A consumer code of the demo in its stored 21-character form ("21" -> "000...021").
QString consumer(int shortCode);

struct NewConsumer {
    QString client;
    QString code;
    QString name;
    QString situation = QStringLiteral("1");
    QString badge;
    QString external;
};

// Writes / removes a consumer through a connection of its own, as the registration dialog would.
void insertConsumer(const QString &connectionString, const NewConsumer &consumer);
void deleteConsumer(const QString &connectionString, const QString &client, const QString &code);

// The PostgreSQL server log (TKT_PG_LOG): lines written for one database after a mark.
class ServerLog {
public:
    explicit ServerLog(const QString &connectionString); // the database named in the ODBC string
    bool available() const { return !m_path.isEmpty(); }
    void mark();                             // later reads start here
    QStringList linesSinceMark() const;      // this database's lines only

private:
    QString m_path;
    QString m_database;
    qint64 m_offset = 0;
};

} // namespace validation
