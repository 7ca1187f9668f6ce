#pragma once
// The five validation services. Each takes read-only texts and returns one result variant: a
// QByteArray holding the data packet on success (also without rows), or a QString holding the
// error text. They never throw and never show anything.

#include <QString>
#include <QVariant>

namespace Srv_tkt00740 {

// code ("T": the list of all waiters whose operator is active), branch, till, mode ("1": judge).
QVariant getValidaGarcom(const QString &code, const QString &branch, const QString &till, const QString &mode);
// branch, store, table number ("T": every table of the branch's store).
QVariant getValMesa(const QString &branch, const QString &store, const QString &table);
// consumer code (badge, external code or own code), client code.
QVariant getValidaCons(const QString &consumer, const QString &client);
// branch: consumers with comandas in the branch's sales.
QVariant getConsComan(const QString &branch);
// branch, store, comanda code, all-flag ("T": any code and state), excluded comanda state.
QVariant getValComanda(const QString &branch, const QString &store, const QString &comanda, const QString &all,
                       const QString &excludedState);

} // namespace Srv_tkt00740
