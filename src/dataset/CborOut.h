#pragma once
// A CBOR writer that appends straight to a byte array. Every service answer is a packet, most of a
// handful of values: QCborStreamWriter pushes each item through a QIODevice, which cost more than
// the query that produced the row. Heads are written in their shortest form and floats as 64-bit
// doubles, as QCborStreamWriter writes them, so the bytes are the same.

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace dataset {

class CborOut {
public:
    explicit CborOut(qsizetype expectedSize) { m_buf.resize(std::max<qsizetype>(expectedSize, 64)); }

    // The bytes written; the writer is spent.
    QByteArray finish()
    {
        m_buf.resize(m_used);
        // A packet may be kept for long (a saved table, a host's copy): no room left over for it.
        if (m_buf.capacity() > m_used + m_used / 4 + 256)
            m_buf.squeeze();
        return std::move(m_buf);
    }

    void startArray(quint64 count) { head(4, count); }
    void startMap(quint64 count) { head(5, count); }
    void tag(quint64 value) { head(6, value); }
    void integer(qint64 value) { value >= 0 ? head(0, quint64(value)) : head(1, quint64(-1 - value)); }
    void boolean(bool value) { *room(1) = char(value ? 0xf5 : 0xf4); }
    void null() { *room(1) = char(0xf6); }

    void float64(double value)
    {
        char *p = room(9);
        p[0] = char(0xfb);
        qToBigEndian(value, p + 1);
    }

    void bytes(const QByteArray &value)
    {
        head(2, quint64(value.size()));
        if (!value.isEmpty())
            std::memcpy(room(value.size()), value.constData(), size_t(value.size()));
    }

    // Bytes that are already CBOR, such as the items another writer wrote.
    void raw(QByteArrayView bytes)
    {
        if (!bytes.isEmpty())
            std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
    }
    QByteArrayView written() const { return QByteArrayView(m_buf.constData(), m_used); }

    // Keys and other texts known to be ASCII.
    void text(QLatin1StringView ascii)
    {
        head(3, quint64(ascii.size()));
        if (!ascii.isEmpty())
            std::memcpy(room(ascii.size()), ascii.data(), size_t(ascii.size()));
    }

    void text(QStringView value)
    {
        // Codes, names and numbers are nearly always ASCII: their UTF-8 is one byte per character,
        // copied in the same pass that finds them to be ASCII. At the first other character, what
        // was written is taken back and the text goes through Qt's UTF-8 encoder.
        const char16_t *s = value.utf16();
        const qsizetype n = value.size();
        const qsizetype start = m_used;
        head(3, quint64(n));
        if (n == 0)
            return;
        char *d = room(n);
        char16_t any = 0;
        for (qsizetype i = 0; i < n; ++i) {
            any |= s[i];
            d[i] = char(s[i]);
        }
        if (any < 0x80)
            return;
        m_used = start;
        const QByteArray utf8 = value.toUtf8();
        head(3, quint64(utf8.size()));
        std::memcpy(room(utf8.size()), utf8.constData(), size_t(utf8.size()));
    }

private:
    // n bytes to write at the end, the buffer grown geometrically when it is full.
    char *room(qsizetype n)
    {
        if (m_buf.size() - m_used < n)
            m_buf.resize(std::max(m_buf.size() * 2, m_used + n));
        char *p = m_buf.data() + m_used;
        m_used += n;
        return p;
    }

    void head(quint8 major, quint64 value)
    {
        const char type = char(major << 5);
        if (value < 24) {
            *room(1) = char(type | char(value));
        } else if (value <= 0xff) {
            char *p = room(2);
            p[0] = char(type | 24);
            p[1] = char(value);
        } else if (value <= 0xffff) {
            char *p = room(3);
            p[0] = char(type | 25);
            qToBigEndian(quint16(value), p + 1);
        } else if (value <= 0xffffffffu) {
            char *p = room(5);
            p[0] = char(type | 26);
            qToBigEndian(quint32(value), p + 1);
        } else {
            char *p = room(9);
            p[0] = char(type | 27);
            qToBigEndian(value, p + 1);
        }
    }

    QByteArray m_buf;
    qsizetype m_used = 0;
};

} // namespace dataset
