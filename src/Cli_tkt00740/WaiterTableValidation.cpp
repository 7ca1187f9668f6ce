// Scaffolding: replaced by the validation work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
bool TfrmCriaComanda::Vd_Informacoes() { throw tkt::Error(QStringLiteral("Vd_Informacoes: em construção")); }
bool TfrmCriaComanda::validateWaiter() { return false; }
bool TfrmCriaComanda::validateTable() { return false; }
} // namespace Cli_tkt00740
