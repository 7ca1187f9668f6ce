// Installation of the package's dialogs into the routine variables, when the library loads.
#include "Pkg_Aux00090/StandIn.h"

namespace commonui {

namespace {

template <class Action>
void forEachRoutine(Action &&action)
{
    action(contracts::TecladoNumerico, &tecladoNumerico);
    action(contracts::Pesquisa, &pesquisa);
    action(contracts::PesqConsumidor, &pesqConsumidor);
    action(contracts::CriaCadConsumidor, &criaCadConsumidor);
    action(contracts::ControleSenhOper, &controleSenhOper);
    action(contracts::RelFiscais, &relFiscais);
}

// At unload the routines must not keep pointing into code that is gone.
struct LoadHook {
    LoadHook() { install(); }
    ~LoadHook()
    {
        forEachRoutine([](auto &routine, auto *function) { routine.uninstall(function); });
    }
};

const LoadHook loadHook;

} // namespace

void install()
{
    forEachRoutine([](auto &routine, auto *function) { routine = function; });
}

} // namespace commonui

extern "C" void tkt_pkg_aux00090_install(void)
{
    try {
        commonui::install();
    } catch (...) {
        // Only an allocation failure can land here; the routines then keep what they had.
    }
}
