// The entry as the host calls it: Windows-1252 texts, four of them in/out.
#include "Pkg_tkt00740/tkt00740.h"

#include "Cli_tkt00740/Entry.h"
#include "Pkg_tkt00740/CallRules.h"
#include "Pkg_tkt00740/Texts.h"
#include "contracts/Log.h"
#include "contracts/Windows1252.h"

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

QString fromHost(const char *text)
{
    return text ? tkt::fromWindows1252(QByteArray(text)) : QString();
}

// A text the module hands back: allocated here, whatever its length, freed by tkt_FreeText.
char *toHost(const QString &text)
{
    const QByteArray bytes = tkt::toWindows1252(text);
    char *copy = static_cast<char *>(std::malloc(static_cast<size_t>(bytes.size()) + 1));
    if (copy)
        std::memcpy(copy, bytes.constData(), static_cast<size_t>(bytes.size()) + 1);
    return copy;
}

int32_t entry(const char *comanda, const char *mode, const char *permiteCons, const char *permiteMesa,
              const char *permiteGarcom, char **consumidor, char **cliente, char **vendedor, char **mesa)
{
    try {
        if (!Pkg_tkt00740::refusal("CriaConfComanda").isEmpty())
            return 0;
        // A widget made without QApplication aborts the process: the host keeps running instead.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
            qCWarning(lcAbi).noquote() << "CriaConfComanda refused:" << Pkg_tkt00740::texts::noWidgetApplication();
            return 0;
        }
        QString cdConsumidor = fromHost(consumidor ? *consumidor : nullptr);
        QString cdCliente = fromHost(cliente ? *cliente : nullptr);
        QString cdVendedor = fromHost(vendedor ? *vendedor : nullptr);
        QString nrMesa = fromHost(mesa ? *mesa : nullptr);
        bool handedBack = false;
        const bool confirmed = Cli_tkt00740::CriaConfComanda(fromHost(comanda), fromHost(mode), fromHost(permiteCons),
                                                             fromHost(permiteMesa), fromHost(permiteGarcom),
                                                             cdConsumidor, cdCliente, cdVendedor, nrMesa, &handedBack);

        // The host's texts are replaced only when the dialog handed values back; a failed call
        // leaves the host's own pointers in place.
        const QString after[] = {cdConsumidor, cdCliente, cdVendedor, nrMesa};
        char **targets[] = {consumidor, cliente, vendedor, mesa};
        if (handedBack) {
            for (int i = 0; i < 4; ++i) {
                // An address given twice receives only its last text: an earlier one written
                // there would be lost to the host, and never freed.
                const bool givenAgain = std::find(targets + i + 1, targets + 4, targets[i]) != targets + 4;
                if (targets[i] && !givenAgain)
                    *targets[i] = toHost(after[i]);
            }
        }
        return confirmed ? 1 : 0;
    } catch (const std::exception &e) {
        qCWarning(lcAbi) << "CriaConfComanda failed:" << e.what();
    } catch (...) {
        qCWarning(lcAbi) << "CriaConfComanda failed with an unknown error";
    }
    return 0;
}

} // namespace

extern "C" {

TKT_API int32_t CriaConfComanda(const char *comanda, const char *mode, const char *permiteCons,
                                const char *permiteMesa, const char *permiteGarcom, char **consumidor,
                                char **cliente, char **vendedor, char **mesa)
{
    return entry(comanda, mode, permiteCons, permiteMesa, permiteGarcom, consumidor, cliente, vendedor, mesa);
}

// The same entry under its unit-qualified name.
TKT_API int32_t CriaConfComandaQualified(const char *comanda, const char *mode, const char *permiteCons,
                                         const char *permiteMesa, const char *permiteGarcom, char **consumidor,
                                         char **cliente, char **vendedor, char **mesa)
    __asm__("Cli_tkt00740.CriaConfComanda");
TKT_API int32_t CriaConfComandaQualified(const char *comanda, const char *mode, const char *permiteCons,
                                         const char *permiteMesa, const char *permiteGarcom, char **consumidor,
                                         char **cliente, char **vendedor, char **mesa)
{
    return entry(comanda, mode, permiteCons, permiteMesa, permiteGarcom, consumidor, cliente, vendedor, mesa);
}

TKT_API void tkt_FreeText(char *text)
{
    std::free(text);
}

} // extern "C"
