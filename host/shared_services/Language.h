#pragma once
// The host's language: which one the host is set to, and the translators of every catalogue the
// loaded libraries embed for it.
//
// The setting is TKT_LANGUAGE, else the first non-empty line of tkt00740.lang beside the host
// program: "pt_BR", "es" or "en" (a region such as "es_AR" or "en-US" is accepted and ignored).
// Without a setting, or with one naming another language, it is Portuguese (Brazil), the language
// the texts are written in; the machine's locale plays no part.
//
// Each library embeds its catalogues as :/i18n/<catalogue>_<language>.qm, Qt's own as
// :/i18n/qtbase_<language>.qm.

#include "contracts/Export.h"

#include <QString>

namespace sharedservices {

// The language the texts are written in.
inline QString sourceLanguage()
{
    return QStringLiteral("pt_BR");
}

// "pt_BR", "es" or "en".
TKT_SHARED_SERVICES_EXPORT QString languageFor(const QString &programDir);
TKT_SHARED_SERVICES_EXPORT QString hostLanguage();

// Installs the translators of `language` for every catalogue embedded so far (a library loaded
// since the last call brings its own), after removing those of another language. Portuguese
// installs none. Needs the application object; without one it does nothing.
TKT_SHARED_SERVICES_EXPORT void useLanguage(const QString &language);
TKT_SHARED_SERVICES_EXPORT void useHostLanguage();

} // namespace sharedservices
