#pragma once
// The marks file: when each dialog was opened and closed and when each marked script step was
// reached, on the wall clock, so that other logs of the same machine (a proxy's turns) can be laid
// against the operator's actions. Lines: <microseconds since the epoch> <dialog number> <label>.

#include <QString>
#include <cstdio>

namespace poshost {

class MarkLog {
public:
    MarkLog() = default;
    ~MarkLog();
    MarkLog(const MarkLog &) = delete;
    MarkLog &operator=(const MarkLog &) = delete;

    // Appends to the file; false with the reason. Until then every write is dropped.
    bool open(const QString &path, QString *error);
    // Flushed line by line: the watchdog may end the process at any moment.
    void write(int dialog, const QString &label);

private:
    std::FILE *m_file = nullptr;
};

} // namespace poshost
