#pragma once
class QKeyEvent;

namespace Cli_tkt00740 {

// The Windows virtual-key code of a key event (Enter 13, Backspace 8, Esc 27, letters their upper-case
// code, F1 112), the codes the dialog's key handler dispatches on; 0 for keys it has no code for.
int virtualKeyOf(const QKeyEvent *event);

} // namespace Cli_tkt00740
