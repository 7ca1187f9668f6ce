#include "TurnMeter.h"

#include <gtest/gtest.h>

using latency::Turn;
using latency::TurnMeter;

TEST(TurnMeter, ARequestInPiecesAndAnAnswerInPiecesAreOneTurn)
{
    TurnMeter meter(4, 1000);
    EXPECT_FALSE(meter.clientSent(3, 1100));
    EXPECT_FALSE(meter.clientSent(2, 1150)) << "the second write of a request starts no turn";
    meter.serverDelivered(10, 1300);
    meter.serverDelivered(6, 1320);

    const auto first = meter.clientSent(7, 1400);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->connection, 4u);
    EXPECT_EQ(first->startUs, 1100);
    EXPECT_EQ(first->endUs, 1320) << "the turn ends with the last answer byte forwarded";
    EXPECT_EQ(first->bytesUp, 5u);
    EXPECT_EQ(first->bytesDown, 16u);

    meter.serverDelivered(1, 1500);
    const auto second = meter.close(1600);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->startUs, 1400);
    EXPECT_EQ(second->endUs, 1500) << "an answered turn keeps its end at close";
    EXPECT_EQ(second->bytesUp, 7u);
    EXPECT_FALSE(meter.close(1700)) << "nothing is written twice";
}

TEST(TurnMeter, UnansweredAndServerFirstTurns)
{
    TurnMeter unanswered(1, 0);
    EXPECT_FALSE(unanswered.clientSent(5, 200));
    const auto waiting = unanswered.close(900);
    ASSERT_TRUE(waiting);
    EXPECT_EQ(waiting->startUs, 200);
    EXPECT_EQ(waiting->endUs, 900) << "the client waited until the connection closed";
    EXPECT_EQ(waiting->bytesDown, 0u);

    TurnMeter greeting(2, 50);
    greeting.serverDelivered(12, 80);
    const auto hello = greeting.clientSent(3, 120);
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello->startUs, 50) << "a greeting is waited for from the connection's opening";
    EXPECT_EQ(hello->endUs, 80);
    EXPECT_EQ(hello->bytesUp, 0u);
    EXPECT_EQ(hello->bytesDown, 12u);

    TurnMeter silent(3, 0);
    EXPECT_FALSE(silent.close(10)) << "a connection with no traffic has no turn";
}
