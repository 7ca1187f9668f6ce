#pragma once
#include "Srv_tkt00740/TrdmConfComanda.h"

#include <QVariant>
#include <functional>

namespace Srv_tkt00740 {

// Runs one service body on the data module and turns its outcome into a result variant: the packet
// it returns, or the error text of whatever it raised. Nothing escapes.
QVariant runService(const std::function<QByteArray(TrdmConfComanda &)> &body);

} // namespace Srv_tkt00740
