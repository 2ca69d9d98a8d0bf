// The "LISTBOX" class as the playlist uses it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32.h"

namespace {

class ListBoxTest : public testing::Test {
 protected:
  HWND Make(DWORD style) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "ListBoxTestParent";
    RegisterClassA(&cls);
    parent_ = CreateWindowExA(0, "ListBoxTestParent", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
    return CreateWindowExA(0, "LISTBOX", "list", WS_CHILD | LBS_HASSTRINGS | style, 0, 0, 0, 0, parent_,
                           nullptr, nullptr, nullptr);
  }

  static LRESULT Add(HWND list, const char* text) {
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }

  static std::vector<std::string> Items(HWND list) {
    std::vector<std::string> items;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::string text(SendMessageA(list, LB_GETTEXTLEN, i, 0), '\0');
      char buffer[300];
      EXPECT_EQ(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer)),
                static_cast<LRESULT>(text.size()));
      items.push_back(buffer);
    }
    return items;
  }

  void TearDown() override { DestroyWindow(parent_); }

  HWND parent_ = nullptr;
};

TEST_F(ListBoxTest, SortedAddsIgnoreCaseAndReturnTheirPlace) {
  HWND list = Make(LBS_SORT);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Add(list, "b.wav"), 0);
  EXPECT_EQ(Add(list, "C.wav"), 1);
  EXPECT_EQ(Add(list, "A.wav"), 0);
  EXPECT_EQ(Add(list, "a.mid"), 0);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a.mid", "A.wav", "b.wav", "C.wav"}));
}

TEST_F(ListBoxTest, UnsortedAddsAppendAndInsertNeverSorts) {
  for (DWORD style : {0L, LBS_SORT}) {
    HWND list = Make(style);
    ASSERT_NE(list, nullptr);
    Add(list, "m");
    Add(list, "n");
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("z")), 0);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("a")), 3);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("q")), LB_ERR);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"z", "m", "n", "a"})) << style;
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 1, 0), 3);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"z", "n", "a"}));
    DestroyWindow(parent_);
  }
}

TEST_F(ListBoxTest, BadIndicesGiveLbErr) {
  HWND list = Make(LBS_SORT);
  Add(list, "only");
  char buffer[16];
  for (WPARAM bad : {WPARAM(1), WPARAM(-1), WPARAM(1000)}) {
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, bad, 0), LB_ERR) << bad;
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, bad, reinterpret_cast<LPARAM>(buffer)), LB_ERR) << bad;
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, bad, 0), LB_ERR) << bad;
  }
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
}

}  // namespace
