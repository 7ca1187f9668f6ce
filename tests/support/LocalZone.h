#pragma once
// Runs a test as a store in another time zone would: TZ is set for the process while the guard
// lives, and put back afterwards.
#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>
#include <ctime>

namespace testzone {

class LocalZone {
public:
    explicit LocalZone(const char *zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

// Brazil's daylight-saving time began at midnight: 2018-11-04 00:00 to 00:59 never happened on a
// clock in São Paulo, so a local-time QDateTime of those minutes is invalid.
inline const char *kSaoPaulo = "America/Sao_Paulo";
inline bool inDaylightGap(QDate date, QTime time) { return !QDateTime(date, time).isValid(); }

} // namespace testzone
