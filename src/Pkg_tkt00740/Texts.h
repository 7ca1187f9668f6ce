#pragma once
// The texts this library words for the host and the operator, in one place.

#include <QString>

namespace Pkg_tkt00740::texts {

inline QString notInitialized(const QString &call)
{
    return QStringLiteral("O módulo de comandas não foi inicializado: o sistema deve chamar Initialize antes de %1.")
        .arg(call);
}

inline QString finalized(const QString &call)
{
    return QStringLiteral("O módulo de comandas já foi finalizado (Finalize): %1 não pode mais ser chamada.").arg(call);
}

inline QString wrongThread(const QString &call)
{
    return QStringLiteral("%1 foi chamada de uma linha de execução (thread) diferente da que chamou Initialize; "
                          "o módulo de comandas só atende a linha de execução que o inicializou.")
        .arg(call);
}

inline QString noWidgetApplication()
{
    return QStringLiteral("O processo não tem uma aplicação Qt com interface (QApplication): a tela da comanda não "
                          "pode ser mostrada.");
}

inline QString unknownServiceFailure()
{
    return QStringLiteral("Erro desconhecido ao executar o serviço.");
}

} // namespace Pkg_tkt00740::texts
