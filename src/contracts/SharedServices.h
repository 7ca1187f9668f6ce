#pragma once
// Operations of the host's shared services library, as the module calls them. The library installs
// them when it loads (host/shared_services); tests install scripted fakes instead.
// Texts are QString inside; the 8-bit form exists only at the module's C boundary.

#include "contracts/Export.h"
#include "contracts/Routine.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

class QWidget;
namespace dataset { class Table; }
namespace db { class Connection; }

namespace contracts {

// Second argument of Mensagem's fifth position: the kind of message box.
enum class TTipoMsg : int { Normal = 0, Informacao = 3 };

// Mensagem(text, a2, a3, ask, kind, a6, scheme, a8, table): shows the text modally; in the question
// forms it answers true for yes. The three call forms the module uses are in MessageForms.h.
using MensagemFn = bool(const QString &text, const QString &a2, const QString &a3, const QString &ask,
                        int kind, const QString &a6, const QString &scheme, int a8, dataset::Table *table);

// MensagemMetodo(result, show, 0, service, unit, arguments, scheme): the data packet of a service's
// result variant; a result holding an error text ends in a raised tkt::Error naming the service.
using MensagemMetodoFn = QByteArray(const QVariant &result, bool show, int a3, const QString &service,
                                    const QString &unit, const QString &arguments, const QString &scheme);

using MontaRodapeGeralFn = QString(bool usesFiscalPrinter, const QString &caption, const QString &flag);
using AjustaFn = QString(const QString &code, int width);
using EmptyStringFn = bool(const QString &text);
using TradFn = void(QWidget *form);
using GetStringConexQorFn = QString(const QString &key);
using SetADODBSessionFn = void(db::Connection &connection);
using ADOExceptionMessageFn = QString(const std::exception &error, db::Connection *connection,
                                      const QString &extra);

extern TKT_CONTRACTS_EXPORT tkt::Routine<MensagemFn> Mensagem;
extern TKT_CONTRACTS_EXPORT tkt::Routine<MensagemMetodoFn> MensagemMetodo;
extern TKT_CONTRACTS_EXPORT tkt::Routine<MontaRodapeGeralFn> MontaRodapeGeral;
extern TKT_CONTRACTS_EXPORT tkt::Routine<AjustaFn> Ajusta;
extern TKT_CONTRACTS_EXPORT tkt::Routine<EmptyStringFn> EmptyString;
extern TKT_CONTRACTS_EXPORT tkt::Routine<TradFn> Trad;
extern TKT_CONTRACTS_EXPORT tkt::Routine<GetStringConexQorFn> _GetStringConexQor;
extern TKT_CONTRACTS_EXPORT tkt::Routine<SetADODBSessionFn> SetADODBSession;
extern TKT_CONTRACTS_EXPORT tkt::Routine<ADOExceptionMessageFn> ADOExceptionMessage;

} // namespace contracts
