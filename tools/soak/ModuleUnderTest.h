#pragma once
// The comanda module as a host loads it (the host's shared services library and common UI package
// first, then the module, none ever unloaded), its exports, and the service calls of the soak
// with the checks of what each answers.

#include "Pkg_tkt00740/tkt00740.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace soak {

struct Exports {
    decltype(&::Initialize) initialize = nullptr;
    decltype(&::Finalize) finalize = nullptr;
    decltype(&::CriaConfComanda) criaConfComanda = nullptr;
    decltype(&::tkt_FreeText) freeText = nullptr;
    decltype(&::tkt_FreeResult) freeResult = nullptr;
    decltype(&::getValidaGarcom) getValidaGarcom = nullptr;
    decltype(&::getValMesa) getValMesa = nullptr;
    decltype(&::getValidaCons) getValidaCons = nullptr;
    decltype(&::getConsComan) getConsComan = nullptr;
    decltype(&::getValComanda) getValComanda = nullptr;
};

// False with a message naming the library or export that is missing.
bool loadModule(const QString &folder, Exports *exports, QString *error);

// The calls a host makes between comandas, with the demo store's branch, store, waiter, tables,
// consumer and comanda, taken in turn.
class ServiceCalls {
public:
    explicit ServiceCalls(const Exports &exports);

    // Makes the next call of the cycle. False with a message when it failed: an error text, no
    // result, bytes that are not a data packet, or a packet other than that call's first answer
    // (the module never writes, so the store answers the same all day).
    bool callNext(QString *failure);

private:
    struct Kind {
        const char *name;
        std::function<TktResult *()> call;
        bool mustFindRows;
    };

    const Exports &m_exports;
    QList<Kind> m_kinds;
    QList<QByteArray> m_firstAnswers;
    qsizetype m_next = 0;
};

} // namespace soak
