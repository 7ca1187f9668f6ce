#pragma once
// What keeps a catalogue from shipping: an entry not translated yet, an empty translation, an entry
// whose source text is gone, a translation that drops or invents a %1-style place of a value.

#include <QString>
#include <QStringList>

namespace catalogue {

// One line per fault, "context: «source»: what is wrong"; empty when the catalogue may ship.
QStringList faultsOf(const QByteArray &tsContent);

} // namespace catalogue
