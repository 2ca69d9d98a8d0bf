// Window and screen device contexts over the window system's backing
// stores, and PNG snapshots of what they show.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "gdi/test_windows.h"
#include "platform/clock.h"
#include "platform/snapshot.h"
#include "platform/testing.h"

namespace {

using gdi_test::MakeWindow;

void Fill(HWND window, COLORREF color) {
  HDC dc = GetDC(window);
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ old = SelectObject(dc, brush);
  PatBlt(dc, -1000, -1000, 3000, 3000, PATCOPY);
  SelectObject(dc, old);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

bool Inside(int x, int y, const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

TEST(WindowDc, DrawingIsClippedToTheChildWindow) {
  HWND top = MakeWindow(0, 0, 40, 30);
  HWND child = MakeWindow(10, 5, 8, 6, top);
  ASSERT_NE(child, nullptr);
  Fill(top, RGB(0, 0, 255));
  HDC dc = GetDC(child);
  ASSERT_NE(dc, nullptr);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 8);
  EXPECT_EQ(box.bottom, 6);
  EXPECT_TRUE(PatBlt(dc, -50, -50, 200, 200, WHITENESS));
  // Device context coordinates start at the child's corner.
  EXPECT_EQ(SetPixel(dc, 1, 2, RGB(255, 0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(SetPixel(dc, 9, 2, RGB(255, 0, 0)), CLR_INVALID) << "outside the child";
  EXPECT_EQ(GetPixel(dc, 1, 2), RGB(255, 0, 0));
  EXPECT_EQ(ReleaseDC(child, dc), 1);
  EXPECT_EQ(ReleaseDC(child, dc), 0) << "released once";
  RECT childArea{10, 5, 18, 11};
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint32_t want = x == 11 && y == 7 ? 0xFF0000 : Inside(x, y, childArea) ? 0xFFFFFF : 0x0000FF;
      EXPECT_EQ(platform::ScreenPixel(x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  }
  DestroyWindow(top);
  EXPECT_EQ(GetDC(child), nullptr) << "a destroyed window has no device context";
}

TEST(WindowDc, TheScreenContextDrawsOnWhateverCoversThePixels) {
  HWND left = MakeWindow(2, 2, 10, 10);
  HWND right = MakeWindow(20, 4, 10, 10);
  Fill(left, RGB(0, 255, 0));
  Fill(right, RGB(0, 255, 0));
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  RECT box{};
  GetClipBox(screen, &box);
  EXPECT_EQ(box.right, width);
  EXPECT_EQ(box.bottom, height);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), width);
  // A strip across both windows and the black gap between them.
  EXPECT_TRUE(PatBlt(screen, 0, 6, 40, 3, WHITENESS));
  ReleaseDC(nullptr, screen);
  // The desktop window's context is the screen's too; a class brush may name
  // a system colour as its index plus one.
  HDC desktop = GetDC(GetDesktopWindow());
  RECT corner{21, 12, 23, 14};
  EXPECT_EQ(FillRect(desktop, &corner, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 1);
  ReleaseDC(GetDesktopWindow(), desktop);
  RECT leftArea{2, 2, 12, 12}, rightArea{20, 4, 30, 14}, strip{0, 6, 40, 9};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 40; ++x) {
      bool covered = Inside(x, y, leftArea) || Inside(x, y, rightArea);
      uint32_t want = !covered ? 0 : Inside(x, y, strip) ? 0xFFFFFF : Inside(x, y, corner) ? 0xC0C0C0 : 0x00FF00;
      EXPECT_EQ(platform::ScreenPixel(x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  }
}

std::vector<uint8_t> ReadPng(const std::string& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> rgb;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
  image.format = PNG_FORMAT_RGB;
  rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return rgb;
}

std::string TempPath(const char* name) {
  return ::testing::TempDir() + "/" + name + std::to_string(getpid()) + ".png";
}

TEST(Snapshot, WritesTheScreenAndOneWindowAsShown) {
  HWND window = MakeWindow(5, 3, 6, 4);
  Fill(window, RGB(10, 20, 30));
  HDC dc = GetDC(window);
  SetPixel(dc, 0, 0, RGB(200, 100, 50));
  ReleaseDC(window, dc);

  std::string windowPath = TempPath("window"), screenPath = TempPath("screen");
  ASSERT_TRUE(platform::WriteSnapshotPng(windowPath.c_str(), window));
  int w = 0, h = 0;
  std::vector<uint8_t> rgb = ReadPng(windowPath, &w, &h);
  ASSERT_EQ(w, 6);
  ASSERT_EQ(h, 4);
  EXPECT_EQ(rgb[0], 200);
  EXPECT_EQ(rgb[1], 100);
  EXPECT_EQ(rgb[2], 50);
  EXPECT_EQ(rgb[3], 10);
  EXPECT_EQ(rgb[5], 30);

  ASSERT_TRUE(platform::WriteSnapshotPng(screenPath.c_str(), nullptr));
  rgb = ReadPng(screenPath, &w, &h);
  ASSERT_EQ(w, GetSystemMetrics(SM_CXSCREEN));
  ASSERT_EQ(h, GetSystemMetrics(SM_CYSCREEN));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 14; ++x) {
      uint32_t p = platform::ScreenPixel(x, y) & 0xFFFFFF;
      const uint8_t* px = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      EXPECT_EQ((uint32_t(px[0]) << 16) | (uint32_t(px[1]) << 8) | px[2], p) << x << "," << y;
    }
  }
  EXPECT_FALSE(platform::WriteSnapshotPng(screenPath.c_str(), reinterpret_cast<HWND>(0x7654)));
  EXPECT_FALSE(platform::WriteSnapshotPng("/nonexistent-folder/x.png", nullptr));
  std::remove(windowPath.c_str());
  std::remove(screenPath.c_str());
}

LRESULT CALLBACK TurnsWhiteThenQuits(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcA(window, message, wParam, lParam);
  KillTimer(window, wParam);
  if (wParam == 1) {
    HDC dc = GetDC(window);
    PatBlt(dc, 0, 0, 8, 8, WHITENESS);
    ReleaseDC(window, dc);
  } else {
    PostQuitMessage(0);
  }
  return 0;
}

TEST(Snapshot, ConfiguredSnapshotsAreTakenAtTheirClockTimes) {
  std::string early = TempPath("early"), late = TempPath("late");
  platform::ClockUseVirtual(0);
  setenv("GLIMMER_SNAPSHOT", ("100:" + early + ",500:" + late).c_str(), 1);
  WNDCLASSA wc{};
  wc.lpfnWndProc = TurnsWhiteThenQuits;
  wc.lpszClassName = "SnapshotTimes";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "SnapshotTimes", "", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // The first drawing starts the clock of the snapshots; white comes at 300 ms.
  HDC dc = GetDC(window);
  PatBlt(dc, 0, 0, 8, 8, BLACKNESS);
  ReleaseDC(window, dc);
  SetTimer(window, 1, 300, nullptr);
  SetTimer(window, 2, 700, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  int w = 0, h = 0;
  std::vector<uint8_t> first = ReadPng(early, &w, &h), second = ReadPng(late, &w, &h);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(first[0], 0) << "black at 100 ms";
  EXPECT_EQ(second[0], 255) << "white at 500 ms";
  std::remove(early.c_str());
  std::remove(late.c_str());
}

}  // namespace
