#pragma once
#include <QString>

namespace Cli_tkt00740 {

// The entry: builds the comanda dialog, fills it, shows it modally, hands its four values back and
// tears everything down. True when the operator confirmed. A failure of the exception family is
// shown and answers false with the in/out texts as they were; any other raised object propagates
// after the clean-up. handedBack, when given, tells whether the dialog closed and its values were
// copied into the four in/out texts.
bool CriaConfComanda(const QString &nrComanda, const QString &mode, const QString &permiteCons,
                     const QString &permiteMesa, const QString &permiteGarcom, QString &cdConsumidor,
                     QString &cdCliente, QString &cdVendedor, QString &nrMesa, bool *handedBack = nullptr);

} // namespace Cli_tkt00740
