#include "pos_host/Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace poshost {

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void Watchdog::arm(int milliseconds, int exitCode, const QString &message)
{
    {
        std::lock_guard lock(m_mutex);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        if (m_armed && m_deadline <= deadline)
            return;
        m_armed = true;
        m_deadline = deadline;
        m_exitCode = exitCode;
        m_message = message.toUtf8().append('\n');
        if (!m_thread.joinable())
            m_thread = std::thread(&Watchdog::run, this);
    }
    m_wake.notify_all();
}

void Watchdog::disarm()
{
    {
        std::lock_guard lock(m_mutex);
        m_armed = false;
    }
    m_wake.notify_all();
}

void Watchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (!m_armed) {
            m_wake.wait(lock);
            continue;
        }
        if (m_wake.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed && !m_quit
            && std::chrono::steady_clock::now() >= m_deadline) {
            std::fputs(m_message.constData(), stderr);
            std::fflush(stdout);
            std::fflush(stderr);
            std::_Exit(m_exitCode);
        }
    }
}

} // namespace poshost
