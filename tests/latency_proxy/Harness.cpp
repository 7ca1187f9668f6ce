#include "Harness.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace harness {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

std::string drain(int fd, int timeoutMs)
{
    std::string text;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    for (int i = 0; i < 1000; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, remainingMs(deadline)) <= 0)
            break;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

} // namespace

AnswerServer::AnswerServer()
{
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    bind(m_listen, reinterpret_cast<sockaddr *>(&address), length);
    listen(m_listen, 8);
    getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread(&AnswerServer::serve, this);
}

AnswerServer::~AnswerServer()
{
    m_stop = true;
    m_thread.join();
    close(m_listen);
}

void AnswerServer::serve()
{
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!m_stop && Clock::now() < deadline) {
        pollfd p{m_listen, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const int client = accept(m_listen, nullptr, nullptr);
        if (client >= 0) {
            answer(client);
            close(client);
        }
    }
}

void AnswerServer::answer(int client)
{
    const int on = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::string pending;
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (!m_stop && Clock::now() < deadline) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(client, buffer, sizeof buffer);
        if (got <= 0)
            return;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string reply = "got " + std::to_string(end + 1) + "\n";
            sendAll(client, reply.substr(0, 3));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sendAll(client, reply.substr(3));
            pending.erase(0, end + 1);
        }
    }
}

ProxyProcess::ProxyProcess(const std::vector<std::string> &arguments)
{
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> all{TKT_LATENCY_PROXY};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, TKT_LATENCY_PROXY, &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];

    // Only the first line matters; the proxy prints nothing else on stdout.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    std::string line;
    while (m_pid > 0 && line.find('\n') == std::string::npos && remainingMs(deadline) > 0) {
        pollfd p{m_out, POLLIN, 0};
        if (poll(&p, 1, remainingMs(deadline)) <= 0)
            break;
        char c = 0;
        if (read(m_out, &c, 1) != 1)
            break;
        line += c;
    }
    if (line.rfind("listening on ", 0) == 0)
        m_port = std::stoi(line.substr(13));
}

ProxyProcess::~ProxyProcess()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0)
        close(m_out);
    if (m_err >= 0)
        close(m_err);
}

void ProxyProcess::terminate()
{
    if (m_pid > 0)
        kill(m_pid, SIGTERM);
}

Exit ProxyProcess::waitExit(int seconds)
{
    Exit result;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (m_pid > 0 && Clock::now() < deadline) {
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            result.exited = true;
            result.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (result.exited)
        result.err = drain(m_err, 200);
    return result;
}

int connectTo(int port)
{
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    if (connect(s, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        close(s);
        return -1;
    }
    const int on = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return s;
}

bool sendAll(int socket, const std::string &bytes)
{
    std::size_t sent = 0;
    for (int i = 0; i < 100 && sent < bytes.size(); ++i) {
        const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return sent == bytes.size();
}

std::string readLine(int socket, int timeoutMs)
{
    std::string line;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (line.find('\n') == std::string::npos && remainingMs(deadline) > 0) {
        pollfd p{socket, POLLIN, 0};
        if (poll(&p, 1, remainingMs(deadline)) <= 0)
            break;
        char buffer[256];
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line;
}

std::vector<std::string> readLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool waitForLine(const std::string &path, const std::string &prefix, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        for (const std::string &line : readLines(path))
            if (line.rfind(prefix, 0) == 0)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (Clock::now() < deadline);
    return false;
}

} // namespace harness
