// Scaffolding: replaced by the keyboard work in progress.
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"
namespace Cli_tkt00740 {
void TfrmCriaComanda::FormKeyDown(int &, Qt::KeyboardModifiers) {}
void TfrmCriaComanda::FormKeyPress(QChar &) {}
void TfrmCriaComanda::postaTexto(int, const QString &, bool) {}
void TfrmCriaComanda::bsdConsumidorClick() {}
void TfrmCriaComanda::bdsGarcomClick() {}
void TfrmCriaComanda::bdsMesaClick() {}
void TfrmCriaComanda::lblDadosConsClick() {}
} // namespace Cli_tkt00740
