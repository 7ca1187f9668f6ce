// The proxy program between a client and the answering server, as a client of the store sees it.
#include "Harness.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace harness;

namespace {

struct TurnLine {
    int connection = 0;
    long long start = 0;
    long long end = 0;
    long long up = 0;
    long long down = 0;
};

std::vector<TurnLine> turnsIn(const std::vector<std::string> &lines)
{
    std::vector<TurnLine> turns;
    for (const std::string &line : lines) {
        if (line.rfind("open ", 0) == 0 || line.rfind("close ", 0) == 0)
            continue;
        TurnLine t;
        std::istringstream in(line);
        in >> t.connection >> t.start >> t.end >> t.up >> t.down;
        EXPECT_TRUE(in && in.eof()) << "not a turn line: " << line;
        turns.push_back(t);
    }
    return turns;
}

std::string tempPath(const char *name)
{
    return ::testing::TempDir() + name + std::to_string(getpid());
}

} // namespace

TEST(LatencyProxy, CountsTurnsAndBytesAndAddsTheRoundTrip)
{
    AnswerServer server;
    const std::string log = tempPath("turns-exchange-");
    std::remove(log.c_str());
    ProxyProcess proxy({"--upstream", "127.0.0.1:" + std::to_string(server.port()), "--rtt-ms", "60", "--seconds",
                        "60", "--turns", log});
    ASSERT_GT(proxy.port(), 0);

    const int client = connectTo(proxy.port());
    ASSERT_GE(client, 0);
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(sendAll(client, "abc\n"));
    EXPECT_EQ(readLine(client, 5000), "got 4\n");
    EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(60));
    ASSERT_TRUE(sendAll(client, "de"));
    usleep(30000);
    ASSERT_TRUE(sendAll(client, "f\n"));
    EXPECT_EQ(readLine(client, 5000), "got 4\n");
    ASSERT_TRUE(sendAll(client, "ghijklmnopq\n"));
    EXPECT_EQ(readLine(client, 5000), "got 12\n");
    close(client);

    ASSERT_TRUE(waitForLine(log, "close 1 ", 5000)) << "the connection's end reaches the log";
    proxy.terminate();
    const Exit exit = proxy.waitExit(5);
    ASSERT_TRUE(exit.exited);
    EXPECT_EQ(exit.code, 0) << exit.err;

    const std::vector<std::string> lines = readLines(log);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind("open 1 ", 0), 0u) << lines.front();
    EXPECT_EQ(lines.back().rfind("close 1 ", 0), 0u) << lines.back();
    const std::vector<TurnLine> turns = turnsIn(lines);
    ASSERT_EQ(turns.size(), 3u);
    const long long up[] = {4, 4, 12};
    const long long down[] = {6, 6, 7};
    for (std::size_t i = 0; i < turns.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(turns[i].connection, 1);
        EXPECT_EQ(turns[i].up, up[i]);
        EXPECT_EQ(turns[i].down, down[i]);
        EXPECT_GE(turns[i].end - turns[i].start, 60000) << "the added round trip is in every turn";
        if (i > 0) {
            EXPECT_GT(turns[i].start, turns[i - 1].end);
        }
    }
    std::remove(log.c_str());
}

TEST(LatencyProxy, StopsByItselfAndWritesTheUnansweredTurn)
{
    AnswerServer server;
    const std::string log = tempPath("turns-stop-");
    std::remove(log.c_str());
    ProxyProcess proxy({"--upstream", "127.0.0.1:" + std::to_string(server.port()), "--seconds", "1", "--turns", log});
    ASSERT_GT(proxy.port(), 0);
    const int client = connectTo(proxy.port());
    ASSERT_GE(client, 0);
    ASSERT_TRUE(sendAll(client, "no newline, no answer"));

    const Exit exit = proxy.waitExit(5);
    close(client);
    ASSERT_TRUE(exit.exited) << "still running 5 s after --seconds 1";
    EXPECT_EQ(exit.code, 0) << exit.err;
    const std::vector<TurnLine> turns = turnsIn(readLines(log));
    ASSERT_EQ(turns.size(), 1u);
    EXPECT_EQ(turns[0].up, 21);
    EXPECT_EQ(turns[0].down, 0);
    EXPECT_GE(turns[0].end, turns[0].start);
    std::remove(log.c_str());
}

TEST(LatencyProxy, RefusesAnUpstreamOffThisMachine)
{
    for (const char *upstream : {"10.0.0.1:5432", "[2001:db8::1]:5432", "db.example.com:5432"}) {
        SCOPED_TRACE(upstream);
        ProxyProcess proxy({"--upstream", upstream});
        EXPECT_EQ(proxy.port(), 0) << "it must not listen";
        const Exit exit = proxy.waitExit(5);
        ASSERT_TRUE(exit.exited);
        EXPECT_EQ(exit.code, 2);
        EXPECT_NE(exit.err.find("only loopback"), std::string::npos) << exit.err;
    }
}
