#pragma once
// When a host may call the module. Every entry and service call needs Initialize done, and not
// undone by Finalize, on the thread that called Initialize: the dialog and the database
// connections are Qt objects of that thread, and Qt forbids using them from any other.

#include <QString>

namespace Pkg_tkt00740 {

// Initialize and Finalize record the state; each answers whether the hooks should run (Initialize
// twice, or Finalize without Initialize or from another thread, runs nothing and is logged).
bool beginInitialize();
bool beginFinalize();

// Empty when the call may go on; otherwise the reason, in the operator's words, already logged
// once on tkt.abi with the call's name.
QString refusal(const char *call);

} // namespace Pkg_tkt00740
