#include "dataset/DateText.h"

#include <cstdio>

namespace dataset::datetext {

namespace {

// Reads exactly `count` decimal digits at `pos`; -1 when any is missing.
int digits(QStringView text, qsizetype pos, int count)
{
    if (pos < 0 || pos + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text[pos + i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<QDate> datePart(QStringView text)
{
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    const int y = digits(text, 0, 4), m = digits(text, 5, 2), d = digits(text, 8, 2);
    if (y < 0 || m < 0 || d < 0)
        return std::nullopt;
    const QDate date(y, m, d);
    if (!inRange(date))
        return std::nullopt;
    return date;
}

} // namespace

QString dateText(QDate date)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    return QString::fromLatin1(buf);
}

QString dateTimeText(const QDateTime &value, bool withMilliseconds)
{
    const QDate d = value.date();
    const QTime t = value.time();
    char buf[40];
    if (withMilliseconds && t.msec() != 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", d.year(), d.month(), d.day(),
                      t.hour(), t.minute(), t.second(), t.msec());
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", d.year(), d.month(), d.day(),
                      t.hour(), t.minute(), t.second());
    return QString::fromLatin1(buf);
}

std::optional<QDate> parseDate(QStringView text)
{
    if (text.size() != 10)
        return std::nullopt;
    return datePart(text);
}

std::optional<QDateTime> parseDateTime(QStringView text, bool loose)
{
    const auto date = datePart(text);
    if (!date)
        return std::nullopt;
    if (text.size() == 10)
        return loose ? std::optional<QDateTime>(wallClock(*date, QTime(0, 0))) : std::nullopt;
    const QChar sep = text[10];
    if (sep != u'T' && !(loose && sep == u' '))
        return std::nullopt;
    if (text.size() < 16 || text[13] != u':')
        return std::nullopt;
    const int h = digits(text, 11, 2), mi = digits(text, 14, 2);
    int s = 0, ms = 0;
    qsizetype pos = 16;
    if (text.size() == 16) {
        if (!loose)
            return std::nullopt;
    } else {
        if (text[16] != u':')
            return std::nullopt;
        s = digits(text, 17, 2);
        pos = 19;
        if (pos < text.size()) {
            if (text[pos] != u'.' || pos + 1 == text.size())
                return std::nullopt;
            int scale = 100;
            for (++pos; pos < text.size(); ++pos) {
                const QChar c = text[pos];
                if (c < u'0' || c > u'9')
                    return std::nullopt;
                ms += (c.unicode() - u'0') * scale;
                scale /= 10;
            }
        }
    }
    if (h < 0 || mi < 0 || s < 0)
        return std::nullopt;
    const QTime time(h, mi, s, ms);
    if (!time.isValid())
        return std::nullopt;
    return wallClock(*date, time);
}

} // namespace dataset::datetext
