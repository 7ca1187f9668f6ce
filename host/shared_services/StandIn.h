#pragma once
// The operations of the shared services stand-in, as plain functions. Loading the library installs
// them into the routine variables of contracts/SharedServices.h; the scripted test fakes call them
// directly when a test wants the real behaviour behind a recorded call.

#include "contracts/Export.h"
#include "contracts/SharedServices.h"

#include <QString>

namespace sharedservices {

TKT_SHARED_SERVICES_EXPORT QString ajusta(const QString &code, int width);
TKT_SHARED_SERVICES_EXPORT bool emptyString(const QString &text);
TKT_SHARED_SERVICES_EXPORT QString montaRodapeGeral(bool usesFiscalPrinter, const QString &caption,
                                                    const QString &flag);
TKT_SHARED_SERVICES_EXPORT void trad(QWidget *form);

TKT_SHARED_SERVICES_EXPORT QByteArray mensagemMetodo(const QVariant &result, bool show, int a3,
                                                     const QString &service, const QString &unit,
                                                     const QString &arguments, const QString &scheme);

// The connection string: TKT_CONNECTION_STRING, else the first non-empty line of tkt00740.conn in
// programDir, else the demo SQLite database in programDir.
TKT_SHARED_SERVICES_EXPORT QString connectionStringFor(const QString &programDir);
TKT_SHARED_SERVICES_EXPORT QString getStringConexQor(const QString &key);

TKT_SHARED_SERVICES_EXPORT void setADODBSession(db::Connection &connection);
TKT_SHARED_SERVICES_EXPORT QString adoExceptionMessage(const std::exception &error,
                                                       db::Connection *connection, const QString &extra);

// The message dialog. MensagemPlain.cpp gives a plain message box; the touch-style dialog in
// widgets/ replaces that file when it is built.
TKT_SHARED_SERVICES_EXPORT bool mensagem(const QString &text, const QString &a2, const QString &a3,
                                         const QString &ask, int kind, const QString &a6,
                                         const QString &scheme, int a8, dataset::Table *table);

// Puts every operation above into its routine variable.
TKT_SHARED_SERVICES_EXPORT void install();

} // namespace sharedservices

// The same for a caller that loads the library at run time, e.g. to restore the operations after a
// test replaced them. Never throws.
extern "C" TKT_SHARED_SERVICES_EXPORT void tkt_shared_services_install(void);
