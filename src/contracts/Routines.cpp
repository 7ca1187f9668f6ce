// Storage of the routine variables: one copy in the process, shared by the module, the siblings
// that install them and the tests that replace them.
#include "contracts/CommonUi.h"
#include "contracts/SharedServices.h"

namespace contracts {

namespace {
constexpr const char *kShared = "de serviços compartilhados";
constexpr const char *kUi = "Pkg_Aux00090";
} // namespace

tkt::Routine<MensagemFn> Mensagem("Mensagem", kShared);
tkt::Routine<MensagemMetodoFn> MensagemMetodo("MensagemMetodo", kShared);
tkt::Routine<MontaRodapeGeralFn> MontaRodapeGeral("MontaRodapeGeral", kShared);
tkt::Routine<AjustaFn> Ajusta("Ajusta", kShared);
tkt::Routine<EmptyStringFn> EmptyString("EmptyString", kShared);
tkt::Routine<TradFn> Trad("Trad", kShared);
tkt::Routine<GetStringConexQorFn> _GetStringConexQor("_GetStringConexQor", kShared);
tkt::Routine<SetADODBSessionFn> SetADODBSession("SetADODBSession", kShared);
tkt::Routine<ADOExceptionMessageFn> ADOExceptionMessage("ADOExceptionMessage", kShared);

tkt::Routine<TecladoNumericoFn> TecladoNumerico("TecladoNumerico", kUi);
tkt::Routine<PesquisaFn> Pesquisa("Pesquisa", kUi);
tkt::Routine<PesqConsumidorFn> PesqConsumidor("PesqConsumidor", kUi);
tkt::Routine<CriaCadConsumidorFn> CriaCadConsumidor("CriaCadConsumidor", kUi);
tkt::Routine<ControleSenhOperFn> ControleSenhOper("ControleSenhOper", kUi);
tkt::Routine<RelFiscaisFn> RelFiscais("RelFiscais", kUi);

} // namespace contracts
