// Scaffolding: replaced by the validation work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
bool TfrmCriaComanda::Vd_Geral() { throw tkt::Error(QStringLiteral("Vd_Geral: em construção")); }
bool TfrmCriaComanda::validateConsumer() { return false; }
} // namespace Cli_tkt00740
