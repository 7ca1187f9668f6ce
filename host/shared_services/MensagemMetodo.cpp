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

    QString reason;
    switch (result.typeId()) {
    case QMetaType::QByteArray:
        return result.toByteArray();
    case QMetaType::QString:
        reason = result.toString().trimmed();
        if (reason.isEmpty())
            reason = QStringLiteral("o serviço falhou sem informar o motivo");
        break;
    default:
        reason = QStringLiteral("resultado inválido");
        break;
    }

    QString where = QStringLiteral("Erro em %1 (%2)").arg(service, unit);
    if (!arguments.trimmed().isEmpty())
        where += QStringLiteral(" com os argumentos %1").arg(arguments);
    throw tkt::Error(QStringLiteral("%1: %2").arg(where, reason));
}

} // namespace sharedservices
