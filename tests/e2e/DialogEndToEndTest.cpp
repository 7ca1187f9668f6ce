// The real POS host, the real module and the real stand-ins, driven by operator scripts.
#include "e2e/PosHost.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(EndToEnd, ShortPresetWaiterIsNormalisedAndExitAnswersFalse)
{
    PosHost host;
    const HostRun r = host.run({"--vendedor", "7", "--mesa", "3"}, "wait:200 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "False");
    EXPECT_EQ(r.value("vendedor"), "0007") << "the show handler's normalised code goes back";
    EXPECT_EQ(r.value("mesa"), "0003");
    EXPECT_EQ(r.value("consumidor"), "");
}

TEST(EndToEnd, PresetConsumerIsFoundAndHandedBackWithItsClient)
{
    PosHost host;
    const HostRun r = host.run({"--consumidor", "000000000000000000021", "--cliente", "000000000000000000001"},
                               "wait:200 click:lblSair");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.value("result"), "False");
    EXPECT_EQ(r.value("consumidor"), "000000000000000000021");
    EXPECT_EQ(r.value("cliente"), "000000000000000000001");
}

} // namespace
