// ADO connection strings from the environment, a settings file or the host: mapped or refused with
// a tkt::Error, and redacted for messages without the password.

#include "FuzzSupport.h"
#include "contracts/Errors.h"
#include "db/ConnectionString.h"

namespace {

const QString kMask = QStringLiteral("***");

bool maps(const QString &text, db::ConnectionTarget *target)
{
    try {
        *target = db::mapConnectionString(text);
        return true;
    } catch (const tkt::Error &) {
        return false;
    }
}

void check(const QString &text)
{
    db::ConnectionTarget target;
    const bool mapped = maps(text, &target);
    if (mapped) {
        fuzz::require(target.driver == u"QSQLITE" || target.driver == u"QODBC", "a mapped string names a driver", text);
        fuzz::require(!target.databaseName.isEmpty(), "a mapped string names a database", text);
    }

    const QString redacted = db::redactConnectionString(text);

    // Whatever password the string gives, the redacted string gives none of it: read again, it
    // is refused, or carries the mask where the password was, or no password at all (a password
    // quoted inside another value is masked with the rest of that value).
    db::ConnectionTarget shown;
    if (mapped && !target.password.isEmpty() && maps(redacted, &shown)) {
        fuzz::require(shown.password == kMask || shown.password.isEmpty(), "the redacted string carries no password",
                      text + QStringLiteral("\n=> ") + redacted);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    check(fuzz::utf8Of(data, size));
    return 0;
}
