// Query texts with ":NAME" markers, as the sql/ files and the siblings' queries hold them: each
// marker outside literals and comments becomes one "?", and nothing else changes.

#include "FuzzSupport.h"
#include "db/NamedParameters.h"

namespace {

void check(const QString &sql)
{
    const db::PositionalSql out = db::toPositional(sql);
    fuzz::require(out.sql.count(u'?') == sql.count(u'?') + out.occurrences.size(), "one \"?\" per marker", sql);
    for (const QString &name : out.occurrences) {
        fuzz::require(!name.isEmpty() && (name.at(0).isLetter() || name.at(0) == u'_'),
                      "a parameter name starts with a letter or \"_\"", sql + QStringLiteral("\n=> ") + fuzz::listed(out.occurrences));
        fuzz::require(name == name.toUpper(), "parameter names are upper case", sql);
    }
    if (!sql.contains(u':'))
        fuzz::require(out.sql == sql, "a text without a colon stays as it is", sql);
    else
        fuzz::require(out.sql.size() <= sql.size(), "markers only shrink the text", sql);

    // The rewritten text has no markers left, and rewriting it again changes nothing: a "?" put in
    // never opens a literal or comment nor joins a colon into a new marker.
    const db::PositionalSql again = db::toPositional(out.sql);
    fuzz::require(again.occurrences.isEmpty(), "no marker survives the rewriting", sql + QStringLiteral("\n=> ") + out.sql);
    fuzz::require(again.sql == out.sql, "rewriting is idempotent", sql + QStringLiteral("\n=> ") + out.sql);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    check(fuzz::utf8Of(data, size));
    return 0;
}
