// The check of a service's result variant.
#include "shared_services/StandIn.h"

namespace sharedservices {

QByteArray mensagemMetodo(const QVariant &result, bool show, int a3, const QString &service,
                          const QString &unit, const QString &arguments, const QString &scheme)
{
    Q_UNUSED(a3)
    Q_UNUSED(scheme)
    // The error is raised, not shown here: the caller's guard shows the raised text once. Showing it
    // here as well would put the same message on screen twice.
    Q_UNUSED(show)

    tkt::ShownText reason;
    switch (result.typeId()) {
    case QMetaType::QByteArray:
        return result.toByteArray();
    case QMetaType::QString:
        // The service's own words come as they are: a database's message has no catalogue.
        reason = tkt::untranslated(result.toString().trimmed());
        if (reason.source.isEmpty())
            reason = tkt::shownText("MensagemMetodo", "o serviço falhou sem informar o motivo");
        break;
    default:
        reason = tkt::shownText("MensagemMetodo", "resultado inválido");
        break;
    }

    if (arguments.trimmed().isEmpty())
        throw tkt::Error(tkt::shownText("MensagemMetodo", "Erro em %1 (%2): %3").arg(service, unit, reason));
    throw tkt::Error(
        tkt::shownText("MensagemMetodo", "Erro em %1 (%2) com os argumentos %3: %4").arg(service, unit, arguments, reason));
}

} // namespace sharedservices
