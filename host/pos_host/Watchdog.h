#pragma once
// Last resort when the process must end and the event loops do not (a module stuck outside its
// event loop): after the deadline, report and end the process with the given code.

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace poshost {

class Watchdog {
public:
    Watchdog() = default;
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    // Re-arming keeps the earlier deadline.
    void arm(int milliseconds, int exitCode, const QString &message);
    void disarm();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    bool m_armed = false;
    bool m_quit = false;
    std::chrono::steady_clock::time_point m_deadline;
    int m_exitCode = 0;
    QByteArray m_message;
};

} // namespace poshost
