#include "Pkg_tkt00740/CallRules.h"

#include "Pkg_tkt00740/Texts.h"
#include "contracts/Log.h"

#include <mutex>
#include <thread>

namespace Pkg_tkt00740 {

namespace {

enum class State { NotInitialized, Initialized, Finalized };

// Calls may come from any thread, a wrong one included: the state is read and written under a lock.
std::mutex stateLock;
State state = State::NotInitialized;
std::thread::id owner;

QString refuse(const char *call, const QString &reason)
{
    qCWarning(lcAbi).noquote() << call << "refused:" << reason;
    return reason;
}

} // namespace

bool beginInitialize()
{
    std::lock_guard lock(stateLock);
    if (state == State::Initialized) {
        qCWarning(lcAbi) << "Initialize called again: the module is already initialized; nothing done";
        return false;
    }
    state = State::Initialized;
    owner = std::this_thread::get_id();
    qCDebug(lcAbi) << "Initialize";
    return true;
}

bool beginFinalize()
{
    std::lock_guard lock(stateLock);
    if (state != State::Initialized) {
        qCWarning(lcAbi) << "Finalize called without Initialize; nothing done";
        return false;
    }
    if (std::this_thread::get_id() != owner) {
        qCWarning(lcAbi) << "Finalize called from a thread other than Initialize's; nothing done";
        return false;
    }
    state = State::Finalized;
    qCDebug(lcAbi) << "Finalize";
    return true;
}

QString refusal(const char *call)
{
    std::lock_guard lock(stateLock);
    switch (state) {
    case State::NotInitialized:
        return refuse(call, texts::notInitialized(QString::fromLatin1(call)));
    case State::Finalized:
        return refuse(call, texts::finalized(QString::fromLatin1(call)));
    case State::Initialized:
        break;
    }
    if (std::this_thread::get_id() != owner)
        return refuse(call, texts::wrongThread(QString::fromLatin1(call)));
    return {};
}

} // namespace Pkg_tkt00740
