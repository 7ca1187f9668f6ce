// Installation of the stand-in's operations into the routine variables, when the library loads.
#include "shared_services/StandIn.h"

namespace sharedservices {

namespace {

template <class Sig>
void installOne(tkt::Routine<Sig> &routine, Sig *function)
{
    routine = function;
}

// At unload, a routine still pointing into this library would call code that is gone: empty it,
// unless someone (a test fake) replaced it meanwhile.
template <class Sig>
void removeOne(tkt::Routine<Sig> &routine, Sig *function)
{
    routine.uninstall(function);
}

template <class Action>
void forEachOperation(Action &&action)
{
    action(contracts::Mensagem, &mensagem);
    action(contracts::MensagemMetodo, &mensagemMetodo);
    action(contracts::MontaRodapeGeral, &montaRodapeGeral);
    action(contracts::Ajusta, &ajusta);
    action(contracts::EmptyString, &emptyString);
    action(contracts::Trad, &trad);
    action(contracts::_GetStringConexQor, &getStringConexQor);
    action(contracts::SetADODBSession, &setADODBSession);
    action(contracts::ADOExceptionMessage, &adoExceptionMessage);
}

struct LoadHook {
    LoadHook() { install(); }
    ~LoadHook()
    {
        forEachOperation([](auto &routine, auto *function) { removeOne(routine, function); });
    }
};

const LoadHook loadHook;

} // namespace

void install()
{
    forEachOperation([](auto &routine, auto *function) { installOne(routine, function); });
}

} // namespace sharedservices

extern "C" void tkt_shared_services_install(void)
{
    try {
        sharedservices::install();
    } catch (...) {
        // Only an allocation failure can land here; the routines then keep what they had.
    }
}
