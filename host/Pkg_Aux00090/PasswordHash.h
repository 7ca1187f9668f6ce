#pragma once
// Operator passwords as OPERADOR.CDSENHOPER keeps them:
// "pbkdf2-sha256$<iterations>$<salt hex>$<key hex>", the key being PBKDF2-HMAC-SHA256 of the
// password's UTF-8 bytes with the salt's bytes.

#include <QByteArray>
#include <QString>

namespace commonui {

struct PasswordHash {
    int iterations = 0;
    QByteArray salt;
    QByteArray key;
};

// Throws tkt::Error for a text that is not of that form.
PasswordHash parsePasswordHash(const QString &stored);

// Compares the derived key in time that does not depend on where the keys differ.
bool passwordMatches(const QString &password, const PasswordHash &hash);

} // namespace commonui
