#pragma once
#include "Srv_tkt00740/TrdmConfComanda.h"

#include <QVariant>
#include <functional>

namespace Srv_tkt00740 {

// Runs one service body on the data module and turns its outcome into a result variant: the packet
// it returns, or the error text of whatever it raised. Nothing escapes.
QVariant runServiceBody(const std::function<QByteArray(TrdmConfComanda &)> &body);

// The body is handed on by reference: a body that captures more than two pointers would otherwise
// be copied to the heap on every call.
template <typename Body>
QVariant runService(const Body &body)
{
    return runServiceBody(std::cref(body));
}

} // namespace Srv_tkt00740
