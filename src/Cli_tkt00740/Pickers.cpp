// Scaffolding: replaced by the pickers work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
void TfrmCriaComanda::spbPesqConsClick() { throw tkt::Error(QStringLiteral("pesquisa: em construção")); }
void TfrmCriaComanda::spbCredPesClick() { throw tkt::Error(QStringLiteral("cadastro: em construção")); }
void TfrmCriaComanda::spbVendedorClick() { throw tkt::Error(QStringLiteral("pesquisa: em construção")); }
void TfrmCriaComanda::spbPesqMesaClick() { throw tkt::Error(QStringLiteral("pesquisa: em construção")); }
} // namespace Cli_tkt00740
