#pragma once
// The turn log file. Every line is flushed as it is written: a reader may follow the file while
// the proxy runs, and a proxy that is killed outright loses nothing already written.

#include "TurnMeter.h"

#include <cstdio>
#include <string>

namespace latency {

class TurnLog {
public:
    TurnLog() = default;
    ~TurnLog();
    TurnLog(const TurnLog &) = delete;
    TurnLog &operator=(const TurnLog &) = delete;

    // Appends to path; false with the reason when it cannot be opened. Without a call, writes nothing.
    bool open(const std::string &path, std::string *error);
    void opened(std::uint64_t connection, std::int64_t us);
    void turn(const Turn &turn);
    void closed(std::uint64_t connection, std::int64_t us);
    // False once a write failed: a short log would report fewer turns than there were.
    bool healthy() const { return m_healthy; }

private:
    void line(const char *format, ...) __attribute__((format(printf, 2, 3)));

    std::FILE *m_file = nullptr;
    bool m_healthy = true;
};

} // namespace latency
