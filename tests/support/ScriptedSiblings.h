#pragma once
// Scripted fakes of both sibling modules. While an instance lives, every routine variable of
// contracts/SharedServices.h and contracts/CommonUi.h is replaced by a fake that records the call
// (routine name and arguments as texts, argument n at index n-1) and answers from a script: per
// routine a queue of actions, used up one per call. An unscripted call gets the default:
// - Ajusta, EmptyString, MensagemMetodo, SetADODBSession, ADOExceptionMessage, MontaRodapeGeral and
//   Trad: the real stand-in behaviour; _GetStringConexQor: setConnectionString's text, else the real one;
// - Mensagem: setMensagemAnswer's answer (false unless changed); the text is recorded;
// - TecladoNumerico, Pesquisa, PesqConsumidor, CriaCadConsumidor: false (cancelled), nothing changed;
// - ControleSenhOper: true; RelFiscais: nothing.
// The destructor puts back whatever was installed before.

#include "contracts/CommonUi.h"
#include "contracts/SharedServices.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <any>
#include <deque>
#include <functional>
#include <memory>
#include <type_traits>

class ScriptedSiblings {
public:
    struct Call {
        QString routine;
        QStringList arguments;
    };

    ScriptedSiblings();
    ~ScriptedSiblings();
    ScriptedSiblings(const ScriptedSiblings &) = delete;
    ScriptedSiblings &operator=(const ScriptedSiblings &) = delete;

    // Queues an action for the next unanswered call of `routine`.
    template <class Sig>
    void script(const tkt::Routine<Sig> &routine, std::type_identity_t<std::function<Sig>> action)
    {
        m_script[QLatin1String(routine.name())].push_back(std::any(std::move(action)));
    }
    // Replaces the default answer of `routine` for every call that finds its queue empty.
    template <class Sig>
    void always(const tkt::Routine<Sig> &routine, std::type_identity_t<std::function<Sig>> action)
    {
        m_defaults[QLatin1String(routine.name())] = std::any(std::move(action));
    }

    // Shortcuts for the usual scripts.
    void answerMensagem(bool yes);                   // next Mensagem answers yes/no
    void setMensagemAnswer(bool yes);                // default answer of Mensagem
    void confirmTeclado(const QString &value);       // next keypad: the operator types value and confirms
    void cancelTeclado();
    void pickRow(int position);                      // next Pesquisa: picks the visible row at position
    void cancelPesquisa();
    void chooseConsumidor(const QString &code, const QString &name, const QString &client);
    void cancelPesqConsumidor();
    void saveCadConsumidor(const QString &code, const QString &name, const QString &client);
    void cancelCadConsumidor();
    void answerSenhaOper(bool allowed);              // next ControleSenhOper
    void setConnectionString(const QString &connectionString);

    // What was called.
    const QList<Call> &allCalls() const { return m_calls; }
    QList<Call> calls(const QString &routine) const;
    int count(const QString &routine) const { return static_cast<int>(calls(routine).size()); }
    QStringList routinesCalled() const; // names in call order
    QStringList messages() const;       // texts shown through Mensagem, in order
    QString lastMessageText() const;    // "" when none was shown
    void clearCalls() { m_calls.clear(); }
    int pendingScripts(const QString &routine) const; // queued actions not used up yet

private:
    struct Saved;

    template <class Sig>
    std::function<Sig> nextAction(const char *routine);
    void record(const char *routine, QStringList arguments);
    void installFakes();

    QList<Call> m_calls;
    QHash<QString, std::deque<std::any>> m_script;
    QHash<QString, std::any> m_defaults;
    bool m_mensagemAnswer = false;
    QString m_connectionString;
    bool m_connectionStringSet = false;
    std::unique_ptr<Saved> m_saved;
};
