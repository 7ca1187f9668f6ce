#pragma once
#include <QString>

namespace Cli_tkt00740 {

// The folder of the host's executable, where the parameters file and the client file live.
// TKT_HOST_DIR names another folder (tests, and hosts that keep their files elsewhere).
QString hostProgramFolder();

} // namespace Cli_tkt00740
