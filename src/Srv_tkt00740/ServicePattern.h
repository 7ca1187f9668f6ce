#pragma once
#include "Srv_tkt00740/TrdmConfComanda.h"

#include <QStringList>
#include <QVariant>
#include <functional>

namespace Srv_tkt00740 {

// Runs one service body on the data module and turns its outcome into a result variant: the packet
// it returns, or the error text of whatever it raised. Nothing escapes. With tkt.services debug on,
// the call is logged with its name, its arguments (asked for only then), its answer and duration.
QVariant runServiceBody(const char *name, const std::function<QStringList()> &arguments,
                        const std::function<QByteArray(TrdmConfComanda &)> &body);

// The body and the arguments are handed on by reference: a lambda that captures more than two
// pointers would otherwise be copied to the heap on every call.
template <typename Arguments, typename Body>
QVariant runService(const char *name, const Arguments &arguments, const Body &body)
{
    return runServiceBody(name, std::cref(arguments), std::cref(body));
}

} // namespace Srv_tkt00740
