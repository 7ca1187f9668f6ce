#pragma once
// A routine variable: an operation that a sibling library installs when it loads and that a test
// may replace with a scripted fake. Calling one that nobody installed is a clear error, not a crash.

#include "contracts/Errors.h"

#include <functional>
#include <utility>

namespace tkt {

template <class Sig>
class Routine;

template <class R, class... Args>
class Routine<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;

    Routine(const char *name, const char *library) : m_name(name), m_library(library) {}

    template <class F>
    Routine &operator=(F &&f)
    {
        m_impl = Function(std::forward<F>(f));
        return *this;
    }
    Routine &operator=(std::nullptr_t)
    {
        m_impl = nullptr;
        return *this;
    }

    R operator()(Args... args) const
    {
        if (!m_impl)
            throw Error(QStringLiteral("%1 não está disponível: a biblioteca %2 não foi carregada.")
                            .arg(QString::fromUtf8(m_name), QString::fromUtf8(m_library)));
        return m_impl(std::forward<Args>(args)...);
    }

    // Empties the routine while it still runs `function`: a library that is unloaded takes back what
    // it installed, but never a fake that a test put in its place meanwhile.
    void uninstall(R (*function)(Args...))
    {
        if (auto *target = m_impl.template target<R (*)(Args...)>(); target && *target == function)
            m_impl = nullptr;
    }

    explicit operator bool() const { return static_cast<bool>(m_impl); }
    const Function &function() const { return m_impl; }
    const char *name() const { return m_name; }

private:
    const char *m_name;
    const char *m_library;
    Function m_impl;
};

} // namespace tkt
