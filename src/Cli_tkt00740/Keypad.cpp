// Scaffolding: replaced by the keypad work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
void TfrmCriaComanda::spbTecladoConsClick() { throw tkt::Error(QStringLiteral("teclado: em construção")); }
} // namespace Cli_tkt00740
