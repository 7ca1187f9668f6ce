#pragma once
// What the proxy program's tests run: the proxy as a child process, a loopback server that answers
// every newline-ended request in two writes, and a blocking client.

#include <atomic>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace harness {

// Answers "<request>\n" with "got <n>\n" (n: the request's bytes with its newline), sent in two
// writes a few milliseconds apart. A request without its newline is never answered.
class AnswerServer {
public:
    AnswerServer();
    ~AnswerServer();
    int port() const { return m_port; }

private:
    void serve();
    void answer(int client);

    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Exit {
    bool exited = false; // false: still running at the deadline (then killed)
    int code = -1;
    std::string err;
};

class ProxyProcess {
public:
    explicit ProxyProcess(const std::vector<std::string> &arguments);
    ~ProxyProcess();
    // The port from "listening on <port>", or 0 when the line did not come within a few seconds.
    int port() const { return m_port; }
    void terminate();
    Exit waitExit(int seconds);

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    int m_port = 0;
};

// Connects to 127.0.0.1:port; -1 on failure.
int connectTo(int port);
bool sendAll(int socket, const std::string &bytes);
// Reads until a newline (included) or the timeout.
std::string readLine(int socket, int timeoutMs);

std::vector<std::string> readLines(const std::string &path);
// Waits up to timeoutMs for a line starting with prefix to appear in the file.
bool waitForLine(const std::string &path, const std::string &prefix, int timeoutMs);

} // namespace harness
