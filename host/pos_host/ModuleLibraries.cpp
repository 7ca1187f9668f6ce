#include "pos_host/ModuleLibraries.h"

#include <QDir>
#include <QFileInfo>

namespace poshost {

namespace {

const QString kSharedServices = QStringLiteral("shared_services");
const QString kCommonUi = QStringLiteral("Pkg_Aux00090");
const QString kModule = QStringLiteral("tkt00740");

template <class Fn>
bool resolve(QLibrary &library, const char *symbol, Fn *target, QString *error)
{
    *target = reinterpret_cast<Fn>(library.resolve(symbol));
    if (!*target)
        *error = QStringLiteral("The module %1 does not export %2.")
                     .arg(QDir::toNativeSeparators(library.fileName()), QString::fromLatin1(symbol));
    return *target != nullptr;
}

// A build tree keeps the libraries beside the program; an installed tree keeps the program in bin/
// and the libraries in lib/ beside it. The program's own folder wins, so a library copied next to
// the program overrides the installed one, and a missing library is reported there.
QString libraryFolder(const QString &programFolder)
{
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(ModuleLibraries::fileNameOf(kSharedServices))))
        return programFolder;
    const QString installed = QDir::cleanPath(program.filePath(QStringLiteral("../lib")));
    if (QFileInfo::exists(QDir(installed).filePath(ModuleLibraries::fileNameOf(kSharedServices))))
        return installed;
    return programFolder;
}

} // namespace

ModuleLibraries::ModuleLibraries(QString folder) : m_folder(libraryFolder(folder)) {}

QString ModuleLibraries::fileNameOf(const QString &baseName)
{
#if defined(Q_OS_WIN)
    return baseName + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("lib") + baseName + QStringLiteral(".dylib");
#else
    return QStringLiteral("lib") + baseName + QStringLiteral(".so");
#endif
}

bool ModuleLibraries::loadOne(QLibrary &library, const QString &baseName, const QString &what, QString *error)
{
    const QString path = QDir(m_folder).filePath(fileNameOf(baseName));
    library.setFileName(path);
    if (library.load())
        return true;
    *error = QFileInfo::exists(path)
                 ? QStringLiteral("Cannot load %1 (%2): %3").arg(what, QDir::toNativeSeparators(path), library.errorString())
                 : QStringLiteral("Cannot load %1: %2 is missing.").arg(what, QDir::toNativeSeparators(path));
    return false;
}

QFunctionPointer ModuleLibraries::moduleExport(const char *symbol, QString *error)
{
    QFunctionPointer target = nullptr;
    resolve(m_module, symbol, &target, error);
    return target;
}

bool ModuleLibraries::load(QString *error, QStringList *warnings)
{
    if (!loadOne(m_shared, kSharedServices, QStringLiteral("the shared services library"), error))
        return false;

    const QString commonUi = QDir(m_folder).filePath(fileNameOf(kCommonUi));
    if (QFileInfo::exists(commonUi)) {
        if (!loadOne(m_commonUi, kCommonUi, QStringLiteral("the common UI package"), error))
            return false;
    } else {
        warnings->append(QStringLiteral("The common UI package %1 is missing; its operations are unavailable.")
                             .arg(QDir::toNativeSeparators(commonUi)));
    }

    if (!loadOne(m_module, kModule, QStringLiteral("the comanda module"), error))
        return false;

    if (!resolve(m_module, "Initialize", &m_exports.initialize, error)
        || !resolve(m_module, "Finalize", &m_exports.finalize, error)
        || !resolve(m_module, "tkt_FreeText", &m_exports.freeText, error))
        return false;
    // The unit-qualified name is the same entry; a module may carry only one of the two.
    QString plainError;
    if (!resolve(m_module, "CriaConfComanda", &m_exports.criaConfComanda, &plainError)
        && !resolve(m_module, "Cli_tkt00740.CriaConfComanda", &m_exports.criaConfComanda, error)) {
        *error = plainError;
        return false;
    }
    return true;
}

} // namespace poshost
