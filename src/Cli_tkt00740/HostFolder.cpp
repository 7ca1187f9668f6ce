#include "Cli_tkt00740/HostFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace Cli_tkt00740 {

QString hostProgramFolder()
{
    const QString configured = qEnvironmentVariable("TKT_HOST_DIR");
    const QString folder = configured.isEmpty() ? QCoreApplication::applicationDirPath() : configured;
    return QDir::cleanPath(folder);
}

} // namespace Cli_tkt00740
