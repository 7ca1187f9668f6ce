#pragma once
// Routines of the common UI package Pkg_Aux00090, as the module calls them. The package installs
// them when it loads (host/Pkg_Aux00090); tests install scripted fakes instead.

#include "contracts/Export.h"
#include "contracts/Routine.h"

#include <QString>
#include <QVariant>
#include <array>

namespace dataset { class Table; }

namespace contracts {

// TecladoNumerico(value, title, prompt, missing-value message, maximum length, 0, 0, 0, 0, 0):
// true when the operator confirmed an entry, which is then in value.
using TecladoNumericoFn = bool(QString &value, const QString &title, const QString &prompt,
                               const QString &missingMessage, int maxLength, int a6, int a7, int a8, int a9,
                               int a10);

// Pesquisa(table, "", "N", 0, 0, 0, 0, 0): true when a row was picked; the table then stands on it.
using PesquisaFn = bool(dataset::Table &table, const QString &a2, const QString &a3, int a4, int a5, int a6,
                        int a7, int a8);

// Arguments 3 to 30 of PesqConsumidor, in/out; index 0 is argument 3. Each points at a text of the
// caller (scratch values where the caller does not care).
using PesqConsumidorTexts = std::array<QString *, 28>;
inline constexpr int pesqConsumidorIndex(int argument) { return argument - 3; }

// PesqConsumidor(title, "", texts 3..30, client table, "A", "1"): true when a consumer was chosen;
// argument 7 then holds its code, 8 its name and 10 its client code.
using PesqConsumidorFn = bool(const QString &title, const QString &a2, const PesqConsumidorTexts &texts,
                              dataset::Table &clients, const QString &a32, const QString &a33);

// CriaCadConsumidor(code, name, client, "C"): true when the operator saved; the texts then hold the
// saved values, otherwise they are unchanged.
using CriaCadConsumidorFn = bool(QString &code, QString &name, QString &client, const QString &mode);

// ControleSenhOper([scheme, password setting, false, waiter code], ovSenhaOper): true when the
// operator may go on.
using ControleSenhOperFn = bool(const QVariantList &settings, QVariant &ovSenhaOper);

using RelFiscaisFn = void();

extern TKT_CONTRACTS_EXPORT tkt::Routine<TecladoNumericoFn> TecladoNumerico;
extern TKT_CONTRACTS_EXPORT tkt::Routine<PesquisaFn> Pesquisa;
extern TKT_CONTRACTS_EXPORT tkt::Routine<PesqConsumidorFn> PesqConsumidor;
extern TKT_CONTRACTS_EXPORT tkt::Routine<CriaCadConsumidorFn> CriaCadConsumidor;
extern TKT_CONTRACTS_EXPORT tkt::Routine<ControleSenhOperFn> ControleSenhOper;
extern TKT_CONTRACTS_EXPORT tkt::Routine<RelFiscaisFn> RelFiscais;

} // namespace contracts
