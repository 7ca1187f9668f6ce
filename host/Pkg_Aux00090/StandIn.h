#pragma once
// The dialogs of the common UI package stand-in, as plain functions. Loading the library installs
// them into the routine variables of contracts/CommonUi.h; tests call them directly while scripted
// fakes stand in the routine variables.
//
// Every routine is a modal touch-style dialog over the active modal window. None throws: a failure
// is shown through Mensagem and the routine answers false.

#include "contracts/CommonUi.h"

#include <QtCore/qglobal.h>

#if defined(TKT_PKG_AUX00090_LIBRARY)
#define TKT_PKG_AUX00090_EXPORT Q_DECL_EXPORT
#else
#define TKT_PKG_AUX00090_EXPORT Q_DECL_IMPORT
#endif

namespace commonui {

// Digits only; maxLength <= 0 sets no limit. An empty confirmation shows missingMessage and keeps
// the keypad open.
TKT_PKG_AUX00090_EXPORT bool tecladoNumerico(QString &value, const QString &title, const QString &prompt,
                                             const QString &missingMessage, int maxLength, int a6, int a7,
                                             int a8, int a9, int a10);

// Lists the table's visible rows; the filter line narrows them through the table's own predicate,
// which is put back afterwards. On a pick the table stands on the picked row.
TKT_PKG_AUX00090_EXPORT bool pesquisa(dataset::Table &table, const QString &a2, const QString &a3, int a4,
                                      int a5, int a6, int a7, int a8);

// Consumers by name, code, badge or CPF among the clients of `clients` (all when it has no rows).
TKT_PKG_AUX00090_EXPORT bool pesqConsumidor(const QString &title, const QString &a2,
                                            const contracts::PesqConsumidorTexts &texts,
                                            dataset::Table &clients, const QString &a32, const QString &a33);

// Registers the consumer, or edits it when the code already exists under the client.
TKT_PKG_AUX00090_EXPORT bool criaCadConsumidor(QString &code, QString &name, QString &client,
                                               const QString &mode);

// Asks the password of the waiter's operator when the password setting (settings[1]) is "S".
TKT_PKG_AUX00090_EXPORT bool controleSenhOper(const QVariantList &settings, QVariant &ovSenhaOper);

TKT_PKG_AUX00090_EXPORT void relFiscais();

// Puts every routine above into its routine variable.
TKT_PKG_AUX00090_EXPORT void install();

} // namespace commonui

// The same for a caller that loads the library at run time. Never throws.
extern "C" TKT_PKG_AUX00090_EXPORT void tkt_pkg_aux00090_install(void);
