#include "Cli_tkt00740/EventGuard.h"

#include "contracts/Errors.h"
#include "contracts/Log.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace Cli_tkt00740 {

std::function<void(const QString &text)> plainErrorBox = [](const QString &text) {
    // Also in the host's log, so a support technician can read what the operator saw.
    qCWarning(lcDialog).noquote() << "error shown:" << text;
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Erro"), text);
};

void guardEvent(const std::function<void()> &handler) noexcept
{
    try {
        try {
            handler();
        } catch (const tkt::Abort &) {
        } catch (const std::exception &e) {
            plainErrorBox(tkt::messageOf(e));
        } catch (...) {
            plainErrorBox(QStringLiteral("Erro desconhecido."));
        }
    } catch (...) {
        // The error box itself failed: there is nowhere left to show it.
        std::fputs("tkt00740: an error could not be shown\n", stderr);
    }
}

} // namespace Cli_tkt00740
