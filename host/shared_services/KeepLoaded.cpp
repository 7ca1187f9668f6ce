// Compiled into every target that links the stand-in. A program that reaches the operations only
// through the routine variables refers to no symbol of the library, and a linker working with
// --as-needed would drop it: nothing would load it and nothing would install the operations.
#include "shared_services/StandIn.h"

namespace {
[[gnu::used]] void (*const keepSharedServicesLoaded)(void) = &tkt_shared_services_install;
} // namespace
