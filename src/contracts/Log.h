#pragma once
// The logging categories of the module and its siblings' stand-ins. Debug lines are off unless
// turned on with QT_LOGGING_RULES (for instance "tkt.*.debug=true"); warnings are always on. A host
// that installs its own Qt message handler receives them like any Qt message.
//
//   tkt.abi       calls across the C ABI, and the calls refused there
//   tkt.db        server connections: opened, kept, taken back, replaced
//   tkt.services  every service call: arguments, answer size or error, duration
//   tkt.dialog    the comanda dialog: validations, and every error the operator is shown
//   tkt.standin   the stand-ins of the host's libraries

#include "contracts/Export.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

TKT_CONTRACTS_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcAbi)
TKT_CONTRACTS_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcDb)
TKT_CONTRACTS_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcServices)
TKT_CONTRACTS_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcDialog)
TKT_CONTRACTS_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcStandIn)

namespace tkt {

// Milliseconds since the timer started, as a log line writes them ("3.2 ms").
inline QString elapsedText(const QElapsedTimer &timer)
{
    return QStringLiteral("%1 ms").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 1);
}

} // namespace tkt
