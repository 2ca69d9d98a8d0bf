// Timers under the virtual clock.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "platform/clock.h"
#include "recorder.h"

namespace {

class Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClockUseVirtual(5000000);
    usertest::Clear();
    window = usertest::MakeWindow(0, 0, 10, 10);
    usertest::DrainQueue();
  }

  // Runs the loop until the clock passes `end`; counts WM_TIMER by id.
  std::map<UINT_PTR, int> RunUntil(uint64_t end) {
    std::map<UINT_PTR, int> ticks;
    SetTimer(window, 999, static_cast<UINT>(end - platform::ClockNow()) + 1, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER && msg.wParam == 999) break;
      if (msg.message == WM_TIMER) ++ticks[msg.wParam];
      DispatchMessageA(&msg);
    }
    KillTimer(window, 999);
    return ticks;
  }

  HWND window = nullptr;
};

TEST_F(Timers, TwoTimersOverTenVirtualSecondsTickExactly) {
  auto wallStart = std::chrono::steady_clock::now();
  uint64_t start = platform::ClockNow();
  ASSERT_EQ(SetTimer(window, 55, 200, nullptr), 55u);
  ASSERT_EQ(SetTimer(window, 7, 1000, nullptr), 7u);
  auto ticks = RunUntil(start + 10000);
  EXPECT_EQ(ticks[55], 50);
  EXPECT_EQ(ticks[7], 10);
  EXPECT_EQ(platform::ClockNow(), start + 10001);
  EXPECT_LT(std::chrono::steady_clock::now() - wallStart, std::chrono::milliseconds(500));
}

TEST_F(Timers, ALateLoopGetsOneTick) {
  SetTimer(window, 1, 100, nullptr);
  platform::ClockAdvanceTo(platform::ClockNow() + 1050);  // ten intervals late
  MSG msg;
  int ticks = 0;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) ++ticks;
  }
  EXPECT_EQ(ticks, 1);
  // The timer runs on from the late tick.
  uint64_t lateTick = platform::ClockNow();
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(platform::ClockNow(), lateTick + 100);
}

TEST_F(Timers, SameIdReplacesAndKillStops) {
  uint64_t start = platform::ClockNow();
  SetTimer(window, 3, 100, nullptr);
  SetTimer(window, 3, 400, nullptr);  // replaces: one timer at 400 ms
  auto ticks = RunUntil(start + 1000);
  EXPECT_EQ(ticks[3], 2);
  EXPECT_TRUE(KillTimer(window, 3));
  EXPECT_FALSE(KillTimer(window, 3));
  ticks = RunUntil(platform::ClockNow() + 1000);
  EXPECT_EQ(ticks[3], 0);
}

TEST_F(Timers, TimersOfADestroyedWindowStop) {
  SetTimer(window, 3, 100, nullptr);
  DestroyWindow(window);
  EXPECT_FALSE(KillTimer(window, 3));
  EXPECT_EQ(SetTimer(window, 4, 100, nullptr), 0u);
}

TEST_F(Timers, ThreadTimerWithoutWindow) {
  UINT_PTR id = SetTimer(nullptr, 0, 30, nullptr);
  ASSERT_NE(id, 0u);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.wParam, id);
  EXPECT_TRUE(KillTimer(nullptr, id));
}

}  // namespace
