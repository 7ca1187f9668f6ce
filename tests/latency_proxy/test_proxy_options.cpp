#include "ProxyOptions.h"

#include <gtest/gtest.h>

using latency::Endpoint;
using latency::ProxyOptions;

TEST(ProxyUpstream, OnlyLoopbackAddressesAreAccepted)
{
    const struct {
        const char *text;
        const char *address;
        bool ipv6;
        int port;
    } accepted[] = {
        {"127.0.0.1:5432", "127.0.0.1", false, 5432},
        {"127.45.6.7:1", "127.45.6.7", false, 1},
        {"[::1]:65535", "::1", true, 65535},
        {"localhost:80", "127.0.0.1", false, 80},
    };
    for (const auto &a : accepted) {
        Endpoint endpoint;
        std::string error;
        EXPECT_TRUE(latency::parseUpstream(a.text, &endpoint, &error)) << a.text << ": " << error;
        EXPECT_EQ(endpoint.address, a.address);
        EXPECT_EQ(endpoint.ipv6, a.ipv6);
        EXPECT_EQ(endpoint.port, a.port);
    }

    for (const char *text : {"10.0.0.1:5432", "128.0.0.1:5432", "0.0.0.0:5432", "192.168.1.9:80", "db.example.com:5432",
                             "[2001:db8::1]:5432", "[::ffff:10.0.0.1]:80", "127.0.0.1.example.com:80"}) {
        Endpoint endpoint;
        std::string error;
        EXPECT_FALSE(latency::parseUpstream(text, &endpoint, &error)) << text;
        EXPECT_NE(error.find("loopback"), std::string::npos) << error;
    }
    for (const char *text : {"127.0.0.1", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:54x", "::1:5432", "[::1]5432"}) {
        Endpoint endpoint;
        std::string error;
        EXPECT_FALSE(latency::parseUpstream(text, &endpoint, &error)) << text;
    }
}

TEST(ProxyOptions, ValuesAndTheirBounds)
{
    ProxyOptions options;
    std::string error;
    ASSERT_TRUE(latency::parseOptions({"--upstream", "127.0.0.1:9", "--listen=0", "--rtt-ms", "41", "--seconds", "3600",
                                       "--turns", "t.log"},
                                      &options, &error))
        << error;
    EXPECT_EQ(options.rttMs, 41);
    EXPECT_EQ(options.seconds, 3600);
    EXPECT_EQ(options.turnsFile, "t.log");

    ProxyOptions defaults;
    ASSERT_TRUE(latency::parseOptions({"--upstream", "127.0.0.1:9"}, &defaults, &error));
    EXPECT_EQ(defaults.seconds, 600);
    EXPECT_EQ(defaults.rttMs, 0);

    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--listen", "0"},
        {"--upstream", "127.0.0.1:9", "--seconds", "0"},
        {"--upstream", "127.0.0.1:9", "--seconds", "3601"},
        {"--upstream", "127.0.0.1:9", "--rtt-ms", "-1"},
        {"--upstream", "127.0.0.1:9", "--listen", "70000"},
        {"--upstream", "127.0.0.1:9", "--turns"},
        {"--upstream", "127.0.0.1:9", "--bogus", "1"},
    };
    for (const auto &arguments : refused) {
        ProxyOptions o;
        std::string why;
        EXPECT_FALSE(latency::parseOptions(arguments, &o, &why)) << (arguments.empty() ? "" : arguments.back());
        EXPECT_FALSE(why.empty());
    }
}
