// The entry's texts in the host's code page, both ways: bytes from the host and texts back to it.

#include "FuzzSupport.h"
#include "contracts/Windows1252.h"

#include <QSet>

namespace {

// The characters the code page holds, learnt from its own decoder: any text made of them must
// come back whole from a trip through the bytes.
const QSet<char16_t> &codePage()
{
    static const QSet<char16_t> chars = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        QSet<char16_t> set;
        for (const QChar c : tkt::fromWindows1252(all))
            set.insert(c.unicode());
        return set;
    }();
    return chars;
}

void bytesSurvive(const QByteArray &bytes)
{
    const QString text = tkt::fromWindows1252(bytes);
    fuzz::require(text.size() == bytes.size(), "every byte is one character", text);
    fuzz::require(tkt::toWindows1252(text) == bytes, "any byte string survives a trip through text", text);
}

void textSurvivesWhereTheCodePageHoldsIt(const QString &text)
{
    const QByteArray bytes = tkt::toWindows1252(text);
    const QString back = tkt::fromWindows1252(bytes);
    qsizetype at = 0; // position in back
    for (qsizetype i = 0; i < text.size(); ++i, ++at) {
        fuzz::require(at < back.size(), "one byte per character, a surrogate pair being one", text);
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            fuzz::require(back.at(at) == u'?', "a character outside the BMP becomes one '?'", text);
        } else if (!c.isSurrogate() && codePage().contains(c.unicode())) {
            fuzz::require(back.at(at) == c, "a character of the code page comes back unchanged", text);
        } else {
            fuzz::require(back.at(at) == u'?', "a character outside the code page becomes '?'", text);
        }
    }
    fuzz::require(at == back.size(), "no byte beyond the text's characters", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    bytesSurvive(fuzz::bytesOf(data, size));
    textSurvivesWhereTheCodePageHoldsIt(fuzz::utf16Of(data, size));
    textSurvivesWhereTheCodePageHoldsIt(fuzz::utf8Of(data, size));
    return 0;
}
