#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(Clock, VirtualTimeMovesOnlyForward) {
  platform::ClockUseVirtual(5000);
  EXPECT_TRUE(platform::ClockIsVirtual());
  EXPECT_EQ(platform::ClockNow(), 5000u);
  platform::ClockAdvanceTo(7000);
  EXPECT_EQ(platform::ClockNow(), 7000u);
  platform::ClockAdvanceTo(6000);
  EXPECT_EQ(platform::ClockNow(), 7000u);
  platform::ClockSleepUntil(9500);
  EXPECT_EQ(platform::ClockNow(), 9500u);
}

TEST(Clock, RealTimeIgnoresVirtualMoves) {
  platform::ClockUseReal();
  uint64_t before = platform::ClockNow();
  platform::ClockAdvanceTo(before + 1000000);
  EXPECT_LT(platform::ClockNow(), before + 1000000);
  platform::ClockSleepUntil(platform::ClockNow() + 20);
  EXPECT_GE(platform::ClockNow(), before + 20);
}

}  // namespace
