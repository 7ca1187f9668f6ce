// Scaffolding: replaced by the confirmation work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
void TfrmCriaComanda::enterStep() { throw tkt::Error(QStringLiteral("enterStep: em construção")); }
void TfrmCriaComanda::spdEnterClick() { throw tkt::Error(QStringLiteral("spdEnterClick: em construção")); }
} // namespace Cli_tkt00740
