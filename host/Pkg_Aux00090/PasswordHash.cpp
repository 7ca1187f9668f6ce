#include "PasswordHash.h"

#include "contracts/Errors.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QStringList>

namespace commonui {

namespace {

// Above this a single check would hold the till for many seconds: such a text is damaged, not strong.
constexpr int kMaxIterations = 5000000;
constexpr int kMaxKeyBytes = 1024;

bool isHex(const QString &text)
{
    if (text.isEmpty() || text.size() % 2 != 0)
        return false;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

QByteArray derive(const QString &password, const QByteArray &salt, int iterations, int length)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                              quint64(length));
}

} // namespace

PasswordHash parsePasswordHash(const QString &stored)
{
    const QStringList parts = stored.trimmed().split(QLatin1Char('$'));
    bool numeric = false;
    const int iterations = parts.size() == 4 ? parts[1].toInt(&numeric) : 0;
    if (parts.size() != 4 || parts[0] != QLatin1String("pbkdf2-sha256") || !numeric || iterations < 1
        || iterations > kMaxIterations || !isHex(parts[2]) || !isHex(parts[3]) || parts[3].size() / 2 > kMaxKeyBytes)
        throw tkt::Error(tkt::shownText("ControleSenhOper", "A senha cadastrada do operador está num formato desconhecido."));
    return {iterations, QByteArray::fromHex(parts[2].toLatin1()), QByteArray::fromHex(parts[3].toLatin1())};
}

bool passwordMatches(const QString &password, const PasswordHash &hash)
{
    const QByteArray derived = derive(password, hash.salt, hash.iterations, int(hash.key.size()));
    if (derived.size() != hash.key.size() || hash.key.isEmpty())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < derived.size(); ++i)
        difference |= static_cast<unsigned char>(derived[i] ^ hash.key[i]);
    return difference == 0;
}

} // namespace commonui
