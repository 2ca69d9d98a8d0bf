// Input routing, keys, focus and activation, the cursor.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/testing.h"
#include "recorder.h"

namespace {

using usertest::MakeWindow;
using usertest::MessagesOf;

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClockUseVirtual(1000000);
    usertest::Clear();
    usertest::SetOverride(nullptr);
  }

  // The first queued message, removed and dispatched.
  MSG Next() {
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return msg;
  }
};

// A top-level window at (100, 50) holds child A at (10, 10) and child B at
// (60, 10), both 40 x 40; A holds a grandchild G at (5, 5), 10 x 10.
struct RouteCase {
  const char* name;
  bool disableA, disableG, disableTop;
  int x, y;        // screen point
  int target;      // 0 top, 1 A, 2 B, 3 G, -1 none
  int clientX, clientY;
};

std::ostream& operator<<(std::ostream& out, const RouteCase& c) { return out << c.name; }

class Routing : public Input, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(Routing, DisabledWindowsPassInputToTheirEnabledAncestor) {
  const RouteCase& c = GetParam();
  HWND top = MakeWindow(100, 50, 200, 100);
  HWND a = MakeWindow(10, 10, 40, 40, top, WS_VISIBLE | (c.disableA ? WS_DISABLED : 0));
  HWND b = MakeWindow(60, 10, 40, 40, top);
  HWND g = MakeWindow(5, 5, 10, 10, a, WS_VISIBLE | (c.disableG ? WS_DISABLED : 0));
  if (c.disableTop) EnableWindow(top, FALSE);
  usertest::DrainQueue();
  HWND windows[] = {top, a, b, g};

  platform::InjectMouseMove(c.x, c.y);
  MSG msg;
  if (c.target < 0) {
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
    return;
  }
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(msg.hwnd, windows[c.target]);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(msg.lParam)), c.clientX);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(msg.lParam)), c.clientY);
  EXPECT_EQ(WindowFromPoint(POINT{c.x, c.y}), windows[c.target]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Routing,
    ::testing::Values(RouteCase{"EnabledChild", false, false, false, 140, 90, 1, 30, 30},
                      RouteCase{"DisabledChild", true, false, false, 140, 90, 0, 40, 40},
                      RouteCase{"DisabledGrandchild", false, true, false, 116, 66, 1, 6, 6},
                      RouteCase{"DisabledChain", true, true, false, 116, 66, 0, 16, 16},
                      RouteCase{"EnabledGrandchild", false, false, false, 116, 66, 3, 1, 1},
                      RouteCase{"OtherChild", true, false, false, 170, 70, 2, 10, 10},
                      RouteCase{"TopItself", false, false, false, 105, 55, 0, 5, 5},
                      RouteCase{"DisabledTopGetsNothing", false, false, true, 105, 55, -1, 0, 0},
                      RouteCase{"Outside", false, false, false, 10, 10, -1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Input, SetCursorComesBeforeTheMouseMessage) {
  HWND top = MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  usertest::Clear();
  platform::InjectMouseButton(platform::MouseButton::kLeft, true, 5, 6);
  usertest::DrainQueue();
  EXPECT_EQ(MessagesOf(top, {WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN}),
            (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE, WM_SETCURSOR, WM_LBUTTONDOWN}));
  POINT at;
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 5);
  EXPECT_EQ(at.y, 6);
}

TEST_F(Input, MovesCoalesceToTheLatest) {
  MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  platform::InjectMouseMove(1, 1);
  platform::InjectMouseMove(2, 2);
  platform::InjectMouseMove(3, 4);
  MSG msg = Next();
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(msg.lParam, MAKELPARAM(3, 4));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

struct KeyCase {
  const char* name;
  std::vector<std::pair<UINT, bool>> keys;  // virtual key, down
  std::vector<std::pair<UINT, WPARAM>> expected;  // message, wParam
};

std::ostream& operator<<(std::ostream& out, const KeyCase& c) { return out << c.name; }

class Keys : public Input, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, BecomeKeyAndCharacterMessages) {
  HWND top = MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  ASSERT_EQ(GetFocus(), top);
  for (auto [key, down] : GetParam().keys) platform::InjectKey(key, down);
  std::vector<std::pair<UINT, WPARAM>> got;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    got.emplace_back(msg.message, msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Keys,
    ::testing::Values(
        KeyCase{"Letter", {{'A', true}, {'A', false}}, {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        KeyCase{"Shifted",
                {{VK_SHIFT, true}, {'1', true}},
                {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, '1'}, {WM_CHAR, '!'}}},
        KeyCase{"AltMakesSystemKeys",
                {{VK_MENU, true}, {'X', true}, {'X', false}, {VK_MENU, false}},
                {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'},
                 {WM_SYSKEYUP, VK_MENU}}},
        KeyCase{"Escape", {{VK_ESCAPE, true}}, {{WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 0x1B}}},
        KeyCase{"NoCharForArrows", {{VK_LEFT, true}}, {{WM_KEYDOWN, VK_LEFT}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Input, KeyRepeatAndReleaseBits) {
  MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  platform::InjectKey('Q', true, 0x10);
  platform::InjectKey('Q', true, 0x10);
  platform::InjectKey('Q', false, 0x10);
  MSG first, repeat, up;
  ASSERT_TRUE(PeekMessageA(&first, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&repeat, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&up, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  EXPECT_EQ(static_cast<DWORD>(first.lParam), 0x00100001u);
  EXPECT_EQ(static_cast<DWORD>(repeat.lParam), 0x40100001u);
  EXPECT_EQ(static_cast<DWORD>(up.lParam), 0xC0100001u);
}

TEST_F(Input, FocusAndActivationFollowTheSystemFocus) {
  HWND top = MakeWindow(0, 0, 50, 50);
  HWND child = MakeWindow(0, 0, 10, 10, top, WS_VISIBLE | WS_DISABLED);
  usertest::DrainQueue();
  EXPECT_EQ(GetForegroundWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  const std::vector<UINT> focusMessages{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS,
                                        WM_KILLFOCUS};
  usertest::Clear();

  platform::InjectFocus(nullptr);
  EXPECT_EQ(MessagesOf(top, focusMessages),
            (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}));
  for (const auto& seen : usertest::Log()) {
    if (seen.message == WM_ACTIVATEAPP) {
      EXPECT_EQ(seen.wParam, 0u);
    }
    if (seen.message == WM_ACTIVATE) {
      EXPECT_EQ(LOWORD(seen.wParam), WA_INACTIVE);
    }
  }
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  usertest::Clear();

  platform::InjectFocus(top);
  EXPECT_EQ(MessagesOf(top, focusMessages),
            (std::vector<UINT>{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(GetFocus(), top);
  EXPECT_EQ(SetFocus(child), nullptr) << "a disabled window takes no focus";
  EXPECT_TRUE(MessagesOf(child).empty());
}

TEST_F(Input, ActivationMovingBetweenOurWindowsKeepsTheProgramActive) {
  HWND first = MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  usertest::Clear();
  HWND second = MakeWindow(60, 0, 50, 50);
  EXPECT_EQ(MessagesOf(first, {WM_ACTIVATEAPP, WM_ACTIVATE, WM_KILLFOCUS}),
            (std::vector<UINT>{WM_ACTIVATE, WM_KILLFOCUS}));
  EXPECT_EQ(MessagesOf(second, {WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}),
            (std::vector<UINT>{WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(GetFocus(), second);
}

TEST_F(Input, DestroyingTheFocusWindowTellsItFirst) {
  HWND top = MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  usertest::Clear();
  DestroyWindow(top);
  EXPECT_EQ(MessagesOf(top, {WM_ACTIVATEAPP, WM_KILLFOCUS, WM_DESTROY}),
            (std::vector<UINT>{WM_ACTIVATEAPP, WM_KILLFOCUS, WM_DESTROY}));
}

TEST_F(Input, KeysWithoutAFocusGoNowhere) {
  MakeWindow(0, 0, 50, 50);
  usertest::DrainQueue();
  platform::InjectFocus(nullptr);
  platform::InjectKey('A', true);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Input, NullCursorHidesIt) {
  EXPECT_TRUE(platform::CursorShown() || GetCursor() == nullptr);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  SetCursor(arrow);
  EXPECT_TRUE(platform::CursorShown());
  EXPECT_EQ(SetCursor(nullptr), arrow);
  EXPECT_FALSE(platform::CursorShown());
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(0x400000), MAKEINTRESOURCEA(100)), nullptr);
}

}  // namespace
