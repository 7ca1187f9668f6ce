#pragma once
// Module-global state of the dialog unit; it outlives every call of the entry.

namespace Cli_tkt00740 {

class TfrmCriaComanda;

extern TfrmCriaComanda *frmCriaComanda; // the dialog of the call in progress; empty between calls
extern bool boResult;                   // outcome of the dialog; what the entry returns
extern bool boIdCriado;                 // true while a dialog instance exists

} // namespace Cli_tkt00740
