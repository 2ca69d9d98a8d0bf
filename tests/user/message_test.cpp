// The message loop: retrieval order, filters, waking, quitting, painting and
// scheduled clock events.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/scheduler.h"
#include "platform/testing.h"
#include "recorder.h"

namespace {

using usertest::MakeWindow;

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClockUseVirtual(1000000);
    usertest::Clear();
    usertest::SetOverride(nullptr);
    window = MakeWindow(0, 0, 100, 100);
    usertest::DrainQueue();  // creation's own paint and activation
    usertest::Clear();
  }
  HWND window = nullptr;
};

// Which sources have something waiting, and what GetMessageA returns, in order.
struct OrderCase {
  const char* name;
  bool posted, input, paint, timer;
  std::vector<UINT> expected;
};

std::ostream& operator<<(std::ostream& out, const OrderCase& c) { return out << c.name; }

class RetrievalOrder : public Messages, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(RetrievalOrder, PostedThenInputThenPaintThenTimer) {
  const OrderCase& c = GetParam();
  if (c.timer) {
    SetTimer(window, 1, 50, nullptr);
    platform::ClockAdvanceTo(platform::ClockNow() + 50);
  }
  if (c.paint) InvalidateRect(window, nullptr, FALSE);
  if (c.input) platform::InjectKey('A', true);
  if (c.posted) PostMessageA(window, WM_USER, 0, 0);

  std::vector<UINT> got;
  MSG msg;
  for (size_t i = 0; i < c.expected.size(); ++i) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    got.push_back(msg.message);
    if (msg.message == WM_TIMER) KillTimer(window, 1);
    DispatchMessageA(&msg);  // the default paint validates
  }
  EXPECT_EQ(got, c.expected);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RetrievalOrder,
    ::testing::Values(OrderCase{"All", true, true, true, true, {WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}},
                      OrderCase{"InputPaintTimer", false, true, true, true, {WM_KEYDOWN, WM_PAINT, WM_TIMER}},
                      OrderCase{"PostedTimer", true, false, false, true, {WM_USER, WM_TIMER}},
                      OrderCase{"PaintTimer", false, false, true, true, {WM_PAINT, WM_TIMER}},
                      OrderCase{"PostedPaint", true, false, true, false, {WM_USER, WM_PAINT}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Messages, PostedMessagesKeepTheirOrder) {
  for (UINT i = 0; i < 5; ++i) PostMessageA(window, WM_USER + i, i, 0);
  MSG msg;
  for (UINT i = 0; i < 5; ++i) {
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + i);
    EXPECT_EQ(msg.wParam, i);
  }
}

TEST_F(Messages, QuitEndsTheLoopAfterPostedMessages) {
  PostQuitMessage(7);
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
}

struct FilterCase {
  const char* name;
  int filter;  // 0 none, 1 the parent, 2 the other window, 3 thread messages only
  UINT low, high;
  UINT remove;
  std::vector<UINT> expected;  // what successive PeekMessageA calls return
};

std::ostream& operator<<(std::ostream& out, const FilterCase& c) { return out << c.name; }

class PeekFilters : public Messages, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(PeekFilters, ChooseByWindowAndRange) {
  const FilterCase& c = GetParam();
  HWND child = MakeWindow(0, 0, 10, 10, window);
  HWND other = MakeWindow(200, 0, 10, 10);
  usertest::DrainQueue();
  PostMessageA(child, WM_USER + 1, 0, 0);
  PostMessageA(other, WM_USER + 2, 0, 0);
  PostMessageA(window, WM_TIMER, 9, 0);
  PostMessageA(nullptr, WM_USER + 3, 0, 0);
  HWND filters[] = {nullptr, window, other, reinterpret_cast<HWND>(static_cast<intptr_t>(-1))};
  std::vector<UINT> got;
  MSG msg;
  while (got.size() < 8 && PeekMessageA(&msg, filters[c.filter], c.low, c.high, c.remove)) {
    got.push_back(msg.message);
    if ((c.remove & PM_REMOVE) == 0) break;  // the same message again
  }
  EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeekFilters,
    ::testing::Values(
        FilterCase{"AllRemoved", 0, 0, 0, PM_REMOVE, {WM_USER + 1, WM_USER + 2, WM_TIMER, WM_USER + 3}},
        FilterCase{"ParentTakesChildren", 1, 0, 0, PM_REMOVE, {WM_USER + 1, WM_TIMER}},
        FilterCase{"OtherWindow", 2, 0, 0, PM_REMOVE, {WM_USER + 2}},
        FilterCase{"ThreadOnly", 3, 0, 0, PM_REMOVE, {WM_USER + 3}},
        FilterCase{"TimerRangeTwiceRemovesOne", 1, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD, {WM_TIMER}},
        FilterCase{"RangeUser", 0, WM_USER + 2, WM_USER + 3, PM_REMOVE, {WM_USER + 2, WM_USER + 3}},
        FilterCase{"NoRemoveLeavesIt", 0, 0, 0, PM_NOREMOVE, {WM_USER + 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Messages, NoRemoveLeavesTheMessageQueued) {
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessagesRealClock, PostFromAnotherThreadWakesABlockedLoop) {
  platform::ClockUseReal();
  HWND window = MakeWindow(0, 0, 10, 10);
  usertest::DrainQueue();
  auto start = std::chrono::steady_clock::now();
  std::thread poster([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PostMessageA(window, WM_USER + 5, 1, 2);
  });
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  poster.join();
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(msg.message, WM_USER + 5);
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_GE(waited, std::chrono::milliseconds(40));
  EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(MessagesRealClock, ScheduledEventWakesABlockedLoopOnTime) {
  platform::ClockUseReal();
  HWND window = MakeWindow(0, 0, 10, 10);
  usertest::DrainQueue();
  uint64_t start = platform::ClockNow();
  platform::ScheduleEvent(start + 60, [window] { PostMessageA(window, WM_USER + 6, 0, 0); });
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER + 6);
  EXPECT_GE(platform::ClockNow(), start + 60);
}

TEST_F(Messages, VirtualClockJumpsToAScheduledEvent) {
  uint64_t start = platform::ClockNow();
  uint64_t ranAt = 0;
  platform::ScheduleEvent(start + 90000, [&] {
    ranAt = platform::ClockNow();
    PostMessageA(window, WM_USER + 7, 0, 0);
  });
  uint64_t cancelled = platform::ScheduleEvent(start + 50, [&] { ADD_FAILURE() << "cancelled event ran"; });
  EXPECT_TRUE(platform::CancelEvent(cancelled));
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER + 7);
  EXPECT_EQ(ranAt, start + 90000);
  EXPECT_FALSE(platform::CancelEvent(cancelled));
}

TEST_F(Messages, PaintErasesWhenAskedAndValidates) {
  InvalidateRect(window, nullptr, TRUE);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PAINT);
  DispatchMessageA(&msg);
  EXPECT_EQ(usertest::MessagesOf(window, {WM_PAINT, WM_ERASEBKGND}),
            (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "BeginPaint validated the window";

  usertest::Clear();
  InvalidateRect(window, nullptr, FALSE);
  usertest::DrainQueue();
  EXPECT_EQ(usertest::MessagesOf(window, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT}));
}

TEST_F(Messages, PaintRectangleIsTheUnionOfInvalidAreas) {
  RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
  InvalidateRect(window, &a, FALSE);
  InvalidateRect(window, &b, FALSE);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  EXPECT_EQ(paint.rcPaint.left, 10);
  EXPECT_EQ(paint.rcPaint.top, 5);
  EXPECT_EQ(paint.rcPaint.right, 40);
  EXPECT_EQ(paint.rcPaint.bottom, 20);
  RECT after;
  EXPECT_FALSE(GetUpdateRect(window, &after, FALSE));
}

TEST_F(Messages, UpdateWindowPaintsAtOnceAndValidateRectCancels) {
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(usertest::MessagesOf(window, {WM_PAINT}).size(), 1u);
  InvalidateRect(window, nullptr, FALSE);
  ValidateRect(window, nullptr);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, TimerProcedureIsCalledOnlyWhenRegistered) {
  static int calls = 0;
  TIMERPROC proc = [](HWND, UINT, UINT_PTR, DWORD) { ++calls; };
  SetTimer(window, 4, 100, proc);
  platform::ClockAdvanceTo(platform::ClockNow() + 100);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  DispatchMessageA(&msg);
  EXPECT_EQ(calls, 1);
  // A posted timer message naming a procedure that no timer has is dropped.
  PostMessageA(window, WM_TIMER, 5, reinterpret_cast<LPARAM>(proc));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  DispatchMessageA(&msg);
  EXPECT_EQ(calls, 1);
}

TEST_F(Messages, RegisteredMessagesAreStable) {
  UINT first = RegisterWindowMessageA("QueryCancelAutoPlay");
  EXPECT_GE(first, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("querycancelautoplay"), first);
  EXPECT_NE(RegisterWindowMessageA("Another"), first);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

}  // namespace
