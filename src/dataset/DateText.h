#pragma once
// ISO 8601 texts of dates and date-times without a zone, as packets carry them and as lists show
// them. Kept apart from QDateTime::fromString, which accepts zones and loose forms a packet must not.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QLatin1StringView>
#include <array>
#include <optional>

namespace dataset::datetext {

// Years outside this range have no four-digit ISO form.
inline bool inRange(QDate date) { return date.isValid() && date.year() >= 1 && date.year() <= 9999; }

// A date-time is a wall-clock reading with no zone. It is kept as a UTC reading: no local-time rule
// applies to it, so a time the store's clock skipped (a daylight-saving gap) stays the time recorded,
// and equal readings are equal values wherever they were made.
inline QDateTime wallClock(QDate date, QTime time) { return QDateTime(date, time, Qt::UTC); }
inline bool isWallClock(const QDateTime &value) { return value.timeSpec() == Qt::UTC; }

QString dateText(QDate date);                                         // yyyy-MM-dd
QString dateTimeText(const QDateTime &value, bool withMilliseconds);  // yyyy-MM-ddTHH:mm:ss[.zzz]
// The same texts written into a caller's buffer, for writers that copy them on at once.
using TextBuffer = std::array<char, 24>;
QLatin1StringView dateText(QDate date, TextBuffer &buffer);
QLatin1StringView dateTimeText(const QDateTime &value, bool withMilliseconds, TextBuffer &buffer);

// Strict forms: "yyyy-MM-dd", and "yyyy-MM-ddTHH:mm:ss" with an optional fraction of a second
// (kept to the millisecond). `loose` also takes a blank instead of the "T", minutes without
// seconds and a bare date (midnight), the forms databases hand out as text.
std::optional<QDate> parseDate(QStringView text);
std::optional<QDateTime> parseDateTime(QStringView text, bool loose = false);

} // namespace dataset::datetext
