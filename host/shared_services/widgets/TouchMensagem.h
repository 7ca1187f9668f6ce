#pragma once
// The shared services' message box in the touch style of the host's forms: a modal, frameless
// white window with the orange border, the text in a large font and big answer buttons.

#include "contracts/Export.h"

#include <QString>

namespace dataset { class Table; }

namespace tkt {

// Mensagem(text, a2, a3, ask, kind, a6, scheme, a8, table). `ask` "S" asks a question with the
// buttons "Sim" (objectName btnSim) and "Não" (btnNao); anything else shows a notice with "OK"
// (btnOK). `a2` "S" marks the badge question, shown under a badge title. Keys: Enter, S and Y
// answer yes (or close the notice), Esc and N answer no. Returns true only for a yes (or OK);
// never throws.
TKT_SHARED_SERVICES_EXPORT bool touchMensagem(const QString &text, const QString &a2, const QString &a3,
                                              const QString &ask, int kind, const QString &a6,
                                              const QString &scheme, int a8, dataset::Table *table);

} // namespace tkt
