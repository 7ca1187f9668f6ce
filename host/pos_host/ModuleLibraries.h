#pragma once
// Loads the host's shared services library, its common UI package and the comanda module from the
// host program's folder, in that order, as a point-of-sale installation does, and finds the
// module's exports.

#include "Pkg_tkt00740/tkt00740.h"

#include <QLibrary>
#include <QString>
#include <memory>

namespace poshost {

struct ModuleExports {
    decltype(&::Initialize) initialize = nullptr;
    decltype(&::Finalize) finalize = nullptr;
    decltype(&::CriaConfComanda) criaConfComanda = nullptr;
    decltype(&::tkt_FreeText) freeText = nullptr;
};

class ModuleLibraries {
public:
    explicit ModuleLibraries(QString folder);

    // False with a message naming the library or export that is missing. A missing common UI
    // package is only a warning (appended to `warnings`): the module reports its own calls into it.
    bool load(QString *error, QStringList *warnings);
    const ModuleExports &exports() const { return m_exports; }
    // Any other export of the loaded module, by name; null, with a message naming it, when missing.
    QFunctionPointer moduleExport(const char *symbol, QString *error);

    // "libtkt00740.so" on Linux, "tkt00740.dll" on Windows.
    static QString fileNameOf(const QString &baseName);

private:
    bool loadOne(QLibrary &library, const QString &baseName, const QString &what, QString *error);

    QString m_folder;
    // Never unloaded: the module's static state must outlive every call, as in a real host.
    QLibrary m_shared;
    QLibrary m_commonUi;
    QLibrary m_module;
    ModuleExports m_exports;
};

} // namespace poshost
