#include "dataset/DateText.h"

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

char *putDigits(char *p, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        p[i] = char('0' + value % 10);
    return p + count;
}

char *putDate(char *p, QDate date)
{
    p = putDigits(p, date.year(), 4);
    *p++ = '-';
    p = putDigits(p, date.month(), 2);
    *p++ = '-';
    return putDigits(p, date.day(), 2);
}

} // namespace

QLatin1StringView dateText(QDate date, TextBuffer &buffer)
{
    return QLatin1StringView(buffer.data(), putDate(buffer.data(), date));
}

QLatin1StringView dateTimeText(const QDateTime &value, bool withMilliseconds, TextBuffer &buffer)
{
    const QTime t = value.time();
    char *p = putDate(buffer.data(), value.date());
    *p++ = 'T';
    p = putDigits(p, t.hour(), 2);
    *p++ = ':';
    p = putDigits(p, t.minute(), 2);
    *p++ = ':';
    p = putDigits(p, t.second(), 2);
    if (withMilliseconds && t.msec() != 0) {
        *p++ = '.';
        p = putDigits(p, t.msec(), 3);
    }
    return QLatin1StringView(buffer.data(), p);
}

QString dateText(QDate date)
{
    TextBuffer buffer;
    return dateText(date, buffer);
}

QString dateTimeText(const QDateTime &value, bool withMilliseconds)
{
    TextBuffer buffer;
    return dateTimeText(value, withMilliseconds, buffer);
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
