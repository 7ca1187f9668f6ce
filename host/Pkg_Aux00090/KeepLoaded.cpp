// Compiled into every target that links the package. A program that reaches the dialogs only
// through the routine variables refers to no symbol of the library, and a linker working with
// --as-needed would drop it: nothing would load it and nothing would install the dialogs.
#include "Pkg_Aux00090/StandIn.h"

namespace {
[[gnu::used]] void (*const keepCommonUiLoaded)(void) = &tkt_pkg_aux00090_install;
} // namespace
