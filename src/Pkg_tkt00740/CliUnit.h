#pragma once
namespace Pkg_tkt00740 {
// Initialization and finalization of the dialog unit.
void cliInitialization();
void cliFinalization();
} // namespace Pkg_tkt00740
