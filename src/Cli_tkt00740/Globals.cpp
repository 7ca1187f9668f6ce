#include "Cli_tkt00740/Globals.h"

namespace Cli_tkt00740 {

TfrmCriaComanda *frmCriaComanda = nullptr;
bool boResult = false;
bool boIdCriado = false;

} // namespace Cli_tkt00740
