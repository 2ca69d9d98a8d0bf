// Windows: creation and destruction order, text, lookup, classes, settings.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/system_classes.h"
#include "platform/testing.h"
#include "recorder.h"

namespace {

using usertest::Clear;
using usertest::MakeWindow;
using usertest::MessagesOf;

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ClockUseVirtual(1000000);
    Clear();
    usertest::SetOverride(nullptr);
  }
};

struct CreationCase {
  const char* name;
  LRESULT createAnswer;
  DWORD style;
  bool created;
  std::vector<UINT> expected;  // creation messages, in order
};

std::ostream& operator<<(std::ostream& out, const CreationCase& c) { return out << c.name; }

class Creation : public Windows, public ::testing::WithParamInterface<CreationCase> {};

TEST_P(Creation, FollowsThePlatformOrder) {
  const CreationCase& c = GetParam();
  usertest::SetOverride([&](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != WM_CREATE) return false;
    *result = c.createAnswer;
    return true;
  });
  HWND window = MakeWindow(10, 20, 64, 48, nullptr, c.style);
  EXPECT_EQ(window != nullptr, c.created);
  ASSERT_FALSE(usertest::Log().empty());
  HWND seenAs = usertest::Log().front().window;
  EXPECT_EQ(MessagesOf(seenAs, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_DESTROY,
                                WM_NCDESTROY}),
            c.expected);
  if (!c.created) {
    EXPECT_FALSE(IsWindow(seenAs));
    EXPECT_FALSE(PostMessageA(seenAs, WM_USER, 0, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Creation,
    ::testing::Values(
        CreationCase{"Visible", 0, WS_VISIBLE, true,
                     {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}},
        CreationCase{"Hidden", 0, 0, true, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}},
        CreationCase{"Refused", -1, WS_VISIBLE, false,
                     {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Windows, SizeMessageCarriesTheClientSize) {
  HWND window = MakeWindow(0, 0, 300, 200);
  for (const auto& seen : usertest::Log()) {
    if (seen.window == window && seen.message == WM_SIZE) {
      EXPECT_EQ(LOWORD(seen.lParam), 300);
      EXPECT_EQ(HIWORD(seen.lParam), 200);
    }
  }
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
}

TEST_F(Windows, NotVisibleDuringItsOwnCreation) {
  BOOL visibleInCreate = TRUE;
  usertest::SetOverride([&](HWND window, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_CREATE) visibleInCreate = IsWindowVisible(window);
    return false;
  });
  HWND window = MakeWindow(0, 0, 10, 10);
  EXPECT_FALSE(visibleInCreate);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Windows, RefusedCreationTakesChildrenMadeDuringIt) {
  HWND child = nullptr;
  bool making = false;
  usertest::SetOverride([&](HWND window, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != WM_CREATE || making) return false;
    making = true;
    child = MakeWindow(0, 0, 5, 5, window);
    *result = -1;
    return true;
  });
  EXPECT_EQ(MakeWindow(0, 0, 10, 10), nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(MessagesOf(child, {WM_DESTROY}).size(), 1u);
}

TEST_F(Windows, DestructionGoesParentFirstAndNothingArrivesAfter) {
  HWND parent = MakeWindow(0, 0, 100, 100);
  HWND first = MakeWindow(0, 0, 50, 50, parent);
  HWND grandchild = MakeWindow(0, 0, 10, 10, first);
  HWND second = MakeWindow(50, 50, 50, 50, parent);
  SetTimer(second, 3, 100, nullptr);
  PostMessageA(first, WM_USER + 1, 0, 0);
  usertest::DrainQueue();
  PostMessageA(grandchild, WM_USER + 2, 0, 0);
  Clear();

  ASSERT_TRUE(DestroyWindow(parent));

  std::vector<HWND> destroyed, finished;
  for (const auto& seen : usertest::Log()) {
    if (seen.message == WM_DESTROY) destroyed.push_back(seen.window);
    if (seen.message == WM_NCDESTROY) finished.push_back(seen.window);
  }
  EXPECT_EQ(destroyed, (std::vector<HWND>{parent, first, grandchild, second}));
  EXPECT_EQ(finished, (std::vector<HWND>{grandchild, first, second, parent}));
  for (HWND gone : {parent, first, grandchild, second}) {
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
  }
  Clear();
  platform::ClockAdvanceTo(platform::ClockNow() + 1000);
  usertest::DrainQueue();
  EXPECT_TRUE(usertest::Log().empty()) << "a message reached a destroyed window";
  EXPECT_FALSE(DestroyWindow(parent));
}

TEST_F(Windows, CloseDestroysByDefault) {
  HWND window = MakeWindow(0, 0, 10, 10);
  PostMessageA(window, WM_CLOSE, 0, 0);
  usertest::DrainQueue();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Windows, TextGoesThroughSetTextSoAProcedureCanRefuse) {
  HWND window = MakeWindow(0, 0, 10, 10);
  char text[32];
  ASSERT_TRUE(SetWindowTextA(window, "Changed"));
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Changed");

  usertest::SetOverride([](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != WM_SETTEXT) return false;
    *result = 0;
    return true;
  });
  EXPECT_FALSE(SetWindowTextA(window, "Refused"));
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "Changed");
}

TEST_F(Windows, FindWindowByClassAndTitle) {
  HWND window = CreateWindowExA(WS_EX_TOPMOST, usertest::RecorderClass(), "Screen Saver",
                                WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND child = MakeWindow(0, 0, 5, 5, window);
  EXPECT_EQ(FindWindowA("recorder", "Screen Saver"), window);
  EXPECT_EQ(FindWindowA(nullptr, "Screen Saver"), window);
  EXPECT_EQ(FindWindowA("Recorder", "Preview"), nullptr);
  EXPECT_EQ(FindWindowA("OtherClass", nullptr), nullptr);
  EXPECT_NE(FindWindowA("Recorder", "recorded"), child) << "children are not searched";
  DestroyWindow(window);
  EXPECT_EQ(FindWindowA("Recorder", "Screen Saver"), nullptr);
}

TEST_F(Windows, HierarchyAndLongs) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x400000);
  HWND parent = CreateWindowExA(0, usertest::RecorderClass(), "p", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, instance, nullptr);
  HWND child = MakeWindow(0, 0, 5, 5, parent, WS_VISIBLE | WS_DISABLED);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetParent(parent), nullptr);
  EXPECT_TRUE(IsChild(parent, child));
  EXPECT_EQ(GetWindowLongA(parent, GWL_HINSTANCE), 0x400000);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)) & WS_DISABLED, WS_DISABLED);
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_FALSE(IsWindowVisible(child)) << "a hidden parent hides its child";
  EXPECT_TRUE(IsWindow(GetDesktopWindow()));
  RECT desktop;
  GetClientRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(desktop.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(desktop.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x12345)));
}

TEST_F(Windows, ChildWithoutParentAndUnknownClassFail) {
  EXPECT_EQ(CreateWindowExA(0, usertest::RecorderClass(), "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_EQ(MakeWindow(0, 0, 1, 1, reinterpret_cast<HWND>(0x99999)), nullptr);
}

TEST_F(Windows, ClassRegistration) {
  usertest::RecorderClass();
  WNDCLASSA again{};
  again.lpfnWndProc = DefWindowProcA;
  again.lpszClassName = "RECORDER";
  EXPECT_EQ(RegisterClassA(&again), 0) << "the same name twice for one instance";
  WNDCLASSA unnamed{};
  unnamed.lpfnWndProc = DefWindowProcA;
  EXPECT_EQ(RegisterClassA(&unnamed), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
}

LRESULT CALLBACK SystemClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return 42;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Windows, SystemClassesServeEveryInstance) {
  ASSERT_TRUE(platform::RegisterSystemClass("LISTBOX", SystemClassProc, 0, 8));
  HWND list = CreateWindowExA(0, "ListBox", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              reinterpret_cast<HINSTANCE>(0x1234), nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(list, WM_USER, 0, 0), 42);
  SetWindowLongPtrA(list, 0, 77);
  EXPECT_EQ(GetWindowLongPtrA(list, 0), 77);
  EXPECT_EQ(GetWindowLongPtrA(list, 8), 0) << "beyond the extra bytes";
}

TEST_F(Windows, ScreenSaverSettingsAreKept) {
  EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, SPIF_SENDCHANGE));
  EXPECT_FALSE(platform::ScreenSaverActiveSetting());
  BOOL active = TRUE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_FALSE(active);
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, SPIF_SENDCHANGE);
  EXPECT_TRUE(platform::ScreenSaverActiveSetting());

  BOOL previous = TRUE;
  EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, &previous, 0));
  EXPECT_FALSE(previous);
  EXPECT_TRUE(platform::ScreenSaverRunningSetting());
  EXPECT_FALSE(SystemParametersInfoA(0x7777, 0, nullptr, 0));
}

}  // namespace
