#pragma once
// What every fuzz target shares: the input as text, and a broken property reported with its
// detail before abort(), so that libFuzzer keeps the input that broke it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Invalid UTF-8 becomes U+FFFD, as it would in a text file read by the host.
inline QString utf8Of(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Raw UTF-16 code units, unpaired surrogates and all, as a caller of the C ABI may hand them in.
inline QString utf16Of(const uint8_t *data, size_t size)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
}

inline QByteArray printable(const QString &text)
{
    return text.toUtf8().toPercentEncoding(" !#$&'()*+,/:;<=>?@[]^`{|}~\"");
}

[[noreturn]] inline void broken(const char *property, const QString &detail = {})
{
    std::fprintf(stderr, "\n*** property broken: %s\n%s\n", property, printable(detail).constData());
    std::abort();
}

inline void require(bool holds, const char *property, const QString &detail = {})
{
    if (!holds)
        broken(property, detail);
}

inline QString listed(const QStringList &items)
{
    return u'[' + items.join(QStringLiteral("] [")) + u']';
}

} // namespace fuzz
