#include "Srv_tkt00740/ServicePattern.h"

#include "contracts/Log.h"
#include "contracts/SharedServices.h"

namespace Srv_tkt00740 {

namespace {

QString errorText(const std::exception &error, db::Connection *connection)
{
    try {
        return contracts::ADOExceptionMessage(error, connection, QString());
    } catch (...) {
        // The library that words database errors is missing or failed: the error's own text still
        // tells the caller what went wrong, and a service must answer with a text, not a failure.
        return tkt::messageOf(error);
    }
}

QVariant answerOf(const std::function<QByteArray(TrdmConfComanda &)> &body)
{
    TrdmConfComanda *dm = rdmConfComanda;
    try {
        if (!dm)
            throw tkt::Error(QStringLiteral("O módulo de dados das validações não foi criado."));
        return QVariant(body(*dm));
    } catch (const std::exception &e) {
        return QVariant(errorText(e, dm ? &dm->adcConfComanda : nullptr));
    } catch (...) {
        return QVariant(QStringLiteral("Erro desconhecido ao executar o serviço."));
    }
}

} // namespace

QVariant runServiceBody(const char *name, const std::function<QStringList()> &arguments,
                        const std::function<QByteArray(TrdmConfComanda &)> &body)
{
    const bool logging = lcServices().isDebugEnabled();
    QElapsedTimer timer;
    if (logging)
        timer.start();
    QVariant answer = answerOf(body);
    if (logging) {
        const QString outcome = answer.typeId() == QMetaType::QByteArray
                                    ? QStringLiteral("packet of %1 bytes").arg(answer.toByteArray().size())
                                    : QStringLiteral("error: %1").arg(answer.toString());
        qCDebug(lcServices).noquote() << QStringLiteral("%1(%2)").arg(QLatin1String(name), arguments().join(QStringLiteral(", ")))
                                      << outcome << "in" << tkt::elapsedText(timer);
    }
    return answer;
}

} // namespace Srv_tkt00740
