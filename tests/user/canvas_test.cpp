// Backing stores: where a window draws, and what the screen shows.
#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"
#include "platform/testing.h"
#include "platform/window_canvas.h"
#include "recorder.h"

namespace {

using usertest::MakeWindow;

void Fill(HWND window, uint32_t colour) {
  platform::WindowCanvas canvas;
  ASSERT_TRUE(platform::GetWindowCanvas(window, &canvas));
  for (LONG y = canvas.clip.top; y < canvas.clip.bottom; ++y) {
    for (LONG x = canvas.clip.left; x < canvas.clip.right; ++x) {
      canvas.surface->pixels[y * canvas.surface->stride + x] = colour;
    }
  }
  platform::MarkCanvasChanged(window, canvas.clip);
}

class Canvas : public ::testing::Test {
 protected:
  void SetUp() override { platform::ClockUseVirtual(1000000); }
};

TEST_F(Canvas, ChildIsARectangleOfItsTopLevelStore) {
  HWND top = MakeWindow(100, 50, 80, 60);
  HWND child = MakeWindow(10, 20, 100, 100, top);  // reaches past the parent
  platform::WindowCanvas canvas;
  ASSERT_TRUE(platform::GetWindowCanvas(child, &canvas));
  EXPECT_EQ(canvas.surface->width, 80);
  EXPECT_EQ(canvas.surface->height, 60);
  EXPECT_EQ(canvas.client.left, 10);
  EXPECT_EQ(canvas.client.top, 20);
  EXPECT_EQ(canvas.clip.right, 80);
  EXPECT_EQ(canvas.clip.bottom, 60);
  EXPECT_EQ(canvas.screen.left, 110);
  EXPECT_EQ(canvas.screen.top, 70);
  EXPECT_FALSE(platform::GetWindowCanvas(reinterpret_cast<HWND>(0x5555), &canvas));
}

TEST_F(Canvas, ScreenShowsTheTopWindowOverBlack) {
  HWND low = MakeWindow(0, 0, 40, 40);
  HWND high = MakeWindow(20, 20, 40, 40, nullptr, WS_VISIBLE, WS_EX_TOPMOST);
  HWND later = MakeWindow(30, 30, 40, 40);  // not topmost: stays below `high`
  Fill(low, 0xFF0000FFu);
  Fill(high, 0xFF00FF00u);
  Fill(later, 0xFFFF0000u);
  EXPECT_EQ(platform::ScreenPixel(5, 5), 0x0000FFu);
  EXPECT_EQ(platform::ScreenPixel(35, 35), 0x00FF00u);
  EXPECT_EQ(platform::ScreenPixel(65, 65), 0xFF0000u);
  EXPECT_EQ(platform::ScreenPixel(200, 200), 0u);

  HWND list[4];
  EXPECT_EQ(platform::ListShownTopLevelWindows(list, 4), 3);
  EXPECT_EQ(list[2], high);

  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  platform::Surface screen{width, height, width, pixels.data()};
  platform::ComposeScreen(&screen);
  EXPECT_EQ(pixels[35 * width + 35] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(pixels[5 * width + 5] & 0xFFFFFF, 0x0000FFu);

  ShowWindow(high, SW_HIDE);
  EXPECT_EQ(platform::ScreenPixel(35, 35), 0xFF0000u);
}

TEST_F(Canvas, ChildOfAForeignHostHasItsOwnStoreOverTheHost) {
  HWND host = platform::CreateForeignWindow(RECT{200, 100, 352, 212});
  ASSERT_TRUE(IsWindow(host));
  RECT area;
  ASSERT_TRUE(GetClientRect(host, &area));
  EXPECT_EQ(area.right, 152);
  EXPECT_EQ(area.bottom, 112);
  HWND preview = MakeWindow(0, 0, area.right, area.bottom, host);
  ASSERT_NE(preview, nullptr);
  Fill(preview, 0xFF123456u);
  EXPECT_EQ(platform::ScreenPixel(200, 100), 0x123456u);
  EXPECT_EQ(platform::ScreenPixel(351, 211), 0x123456u);
  EXPECT_EQ(platform::ScreenPixel(199, 100), 0u);
  EXPECT_EQ(GetParent(preview), host);
  EXPECT_FALSE(DestroyWindow(host)) << "another program's window is not ours to destroy";
  EXPECT_TRUE(PostMessageA(host, WM_HELP, 0, 0));
}

}  // namespace

namespace {

TEST_F(Canvas, DefaultEraseFillsWithTheClassBrush) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = "WhiteBackground";
  ASSERT_NE(RegisterClassA(&cls), 0);
  HWND window = CreateWindowExA(0, "WhiteBackground", "", WS_POPUP | WS_VISIBLE, 10, 10, 20, 20, nullptr,
                                nullptr, nullptr, nullptr);
  usertest::DrainQueue();  // the first paint erases
  EXPECT_EQ(platform::ScreenPixel(15, 15), 0xFFFFFFu);
  Fill(window, 0xFF0000FFu);
  EXPECT_EQ(platform::ScreenPixel(15, 15), 0x0000FFu);
  InvalidateRect(window, nullptr, TRUE);
  usertest::DrainQueue();
  EXPECT_EQ(platform::ScreenPixel(15, 15), 0xFFFFFFu);
  EXPECT_EQ(platform::ScreenPixel(5, 5), 0u) << "outside the window";
}

}  // namespace
