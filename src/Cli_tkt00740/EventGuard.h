#pragma once
// Every dialog event runs through one guard: the silent Abort ends the event quietly, any other
// exception is shown in the platform's plain error box. Nothing throws through Qt's event loop.

#include <QString>
#include <functional>

namespace Cli_tkt00740 {

// The platform's plain error box. Tests replace it to see what would be shown.
extern std::function<void(const QString &text)> plainErrorBox;

void guardEvent(const std::function<void()> &handler) noexcept;

} // namespace Cli_tkt00740
