#pragma once
// A CBOR writer that appends straight to a byte array. Every service answer is a packet, most of a
// handful of values: QCborStreamWriter pushes each item through a QIODevice, which cost more than
// the query that produced the row. Heads are written in their shortest form and floats as 64-bit
// doubles, as QCborStreamWriter writes them, so the bytes are the same.

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <QtEndian>
#include <cstring>

namespace dataset {

class CborOut {
public:
    explicit CborOut(QByteArray &out) : m_out(out) {}

    void startArray(quint64 count) { head(4, count); }
    void startMap(quint64 count) { head(5, count); }
    void tag(quint64 value) { head(6, value); }
    void integer(qint64 value) { value >= 0 ? head(0, quint64(value)) : head(1, quint64(-1 - value)); }
    void boolean(bool value) { m_out.append(char(value ? 0xf5 : 0xf4)); }
    void null() { m_out.append(char(0xf6)); }

    void float64(double value)
    {
        char bytes[9];
        bytes[0] = char(0xfb);
        qToBigEndian(value, bytes + 1);
        m_out.append(bytes, sizeof bytes);
    }

    void bytes(const QByteArray &value)
    {
        head(2, quint64(value.size()));
        m_out.append(value);
    }

    // Keys and other texts known to be ASCII.
    void text(QLatin1StringView ascii)
    {
        head(3, quint64(ascii.size()));
        m_out.append(ascii.data(), ascii.size());
    }

    void text(QStringView value)
    {
        // Codes, names and numbers are nearly always ASCII: their UTF-8 is one byte per character,
        // written without a temporary. Anything else goes through Qt's UTF-8 encoder.
        const char16_t *s = value.utf16();
        const qsizetype n = value.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (s[i] >= 0x80) {
                const QByteArray utf8 = value.toUtf8();
                head(3, quint64(utf8.size()));
                m_out.append(utf8);
                return;
            }
        }
        head(3, quint64(n));
        const qsizetype at = m_out.size();
        m_out.resize(at + n);
        char *d = m_out.data() + at;
        for (qsizetype i = 0; i < n; ++i)
            d[i] = char(s[i]);
    }

private:
    void head(quint8 major, quint64 value)
    {
        const char type = char(major << 5);
        char buf[9];
        if (value < 24) {
            m_out.append(char(type | char(value)));
            return;
        }
        int size;
        if (value <= 0xff) {
            buf[0] = char(type | 24);
            buf[1] = char(value);
            size = 2;
        } else if (value <= 0xffff) {
            buf[0] = char(type | 25);
            qToBigEndian(quint16(value), buf + 1);
            size = 3;
        } else if (value <= 0xffffffffu) {
            buf[0] = char(type | 26);
            qToBigEndian(quint32(value), buf + 1);
            size = 5;
        } else {
            buf[0] = char(type | 27);
            qToBigEndian(value, buf + 1);
            size = 9;
        }
        m_out.append(buf, size);
    }

    QByteArray &m_out;
};

} // namespace dataset
