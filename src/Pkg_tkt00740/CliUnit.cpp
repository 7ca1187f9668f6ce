#include "Pkg_tkt00740/CliUnit.h"

#include "Cli_tkt00740/Globals.h"

namespace Pkg_tkt00740 {

void cliInitialization()
{
    Cli_tkt00740::boResult = false;
    Cli_tkt00740::boIdCriado = false;
}

void cliFinalization() {}

} // namespace Pkg_tkt00740
