// SQL scripts (schema, demo data, test fixtures) cut into statements.

#include "FuzzSupport.h"
#include "db/SqlText.h"

namespace {

void check(const QString &script)
{
    const QStringList statements = db::splitStatements(script);
    for (qsizetype i = 0; i < statements.size(); ++i) {
        const QString &s = statements.at(i);
        fuzz::require(!s.isEmpty() && s == s.trimmed(), "statements are trimmed and never empty",
                      script + QStringLiteral("\n=> ") + fuzz::listed(statements));
        // Every statement but the last ended outside quotes and without a comment: on its own with
        // its ";" it is one statement again, itself. The last may end inside an open quote.
        if (i + 1 < statements.size()) {
            const QStringList alone = db::splitStatements(s + u';');
            fuzz::require(alone.size() == 1 && alone.first() == s, "a statement cut out cuts to itself",
                          script + QStringLiteral("\n=> ") + fuzz::listed(statements) + QStringLiteral("\nalone: ") + fuzz::listed(alone));
        }
    }
    if (script.trimmed().isEmpty())
        fuzz::require(statements.isEmpty(), "a blank script has no statements", script);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    check(fuzz::utf8Of(data, size));
    return 0;
}
