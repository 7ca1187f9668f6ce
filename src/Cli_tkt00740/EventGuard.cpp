#include "Cli_tkt00740/EventGuard.h"

#include "contracts/Errors.h"
#include "contracts/Log.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace Cli_tkt00740 {

std::function<void(const QString &text)> plainErrorBox = [](const QString &text) {
    QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::translate("Cli_tkt00740", "Erro"), text);
};

namespace {

void showError(const tkt::ShownText &text)
{
    // Also in the host's log, in the words the code has, so a technician reads what the operator saw.
    qCWarning(lcDialog).noquote() << "error shown:" << text.source;
    plainErrorBox(text.shown);
}

} // namespace

void guardEvent(const std::function<void()> &handler) noexcept
{
    try {
        try {
            handler();
        } catch (const tkt::Abort &) {
        } catch (const std::exception &e) {
            showError(tkt::shownTextOf(e));
        } catch (...) {
            showError(tkt::shownText("Cli_tkt00740", "Erro desconhecido."));
        }
    } catch (...) {
        // The error box itself failed: there is nowhere left to show it.
        std::fputs("tkt00740: an error could not be shown\n", stderr);
    }
}

} // namespace Cli_tkt00740
