// Memory device contexts, DIB sections, PatBlt, objects and palettes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gdi/section.h"

namespace {

using gdi_test::Section;

TEST(DibSection, RowsRunAsTheHeightSays) {
  // A bottom-up section keeps its top row last in memory, a top-down one first.
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown);
    Section s(3, 2, topDown, 0);
    ASSERT_NE(s.bits, nullptr);
    EXPECT_TRUE(PatBlt(s.dc, 0, 0, 3, 1, WHITENESS));
    const uint32_t* topRow = topDown ? s.bits : s.bits + 3;
    const uint32_t* bottomRow = topDown ? s.bits + 3 : s.bits;
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(topRow[x], 0x00FFFFFFu);
      EXPECT_EQ(bottomRow[x], 0u);
    }
  }
}

TEST(DibSection, RefusesFormsItDoesNotMake) {
  struct Case { const char* what; LONG width, height; WORD bits; DWORD compression; HANDLE section; } cases[] = {
      {"24 bits", 4, 4, 24, BI_RGB, nullptr},
      {"zero width", 0, 4, 32, BI_RGB, nullptr},
      {"zero height", 4, 0, 32, BI_RGB, nullptr},
      {"file mapping", 4, 4, 32, BI_RGB, reinterpret_cast<HANDLE>(5)},
      {"too large", 70000, 70000, 32, BI_RGB, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), c.width, c.height, 1, c.bits, c.compression, 0, 0, 0, 0, 0};
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, c.section, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
  }
}

TEST(PatBlt, FillsWithTheOperationClippedToTheBitmap) {
  struct Case { const char* what; int x, y, w, h; DWORD rop; HBRUSH brush; uint32_t before, inside; } cases[] = {
      {"blackness", 1, 1, 2, 2, BLACKNESS, nullptr, 0x123456, 0x000000},
      {"whiteness", 1, 1, 2, 2, WHITENESS, nullptr, 0x123456, 0xFFFFFF},
      {"brush", 1, 1, 2, 2, PATCOPY, CreateSolidBrush(RGB(0x11, 0x22, 0x33)), 0x123456, 0x112233},
      {"stock brush", 1, 1, 2, 2, PATCOPY, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), 0, 0x808080},
      {"hollow brush", 1, 1, 2, 2, PATCOPY, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), 0x123456, 0x123456},
      {"invert", 1, 1, 2, 2, DSTINVERT, nullptr, 0x123456, 0xEDCBA9},
      {"negative extents", 3, 3, -2, -2, BLACKNESS, nullptr, 0x123456, 0x000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Section s(4, 4, false, c.before);
    if (c.brush != nullptr) SelectObject(s.dc, c.brush);
    EXPECT_TRUE(PatBlt(s.dc, c.x, c.y, c.w, c.h, c.rop));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(s.At(x, y), (x >= 1 && x < 3 && y >= 1 && y < 3) ? c.inside : c.before) << x << "," << y;
  }
  // Past every edge at once: the whole bitmap, nothing beyond it.
  Section s(2, 2);
  EXPECT_TRUE(PatBlt(s.dc, -5, -5, 20, 20, WHITENESS));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(s.At(x, y), 0x00FFFFFFu);
  EXPECT_FALSE(PatBlt(reinterpret_cast<HDC>(0x4321), 0, 0, 1, 1, BLACKNESS));
}

TEST(Objects, SelectReturnsThePreviousAndSelectedObjectsStay) {
  Section s(2, 2);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ first = SelectObject(s.dc, red);
  EXPECT_EQ(first, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(s.dc, GetStockObject(BLACK_BRUSH)), red);
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_FALSE(DeleteObject(red)) << "a deleted handle stays stale";
  EXPECT_EQ(SelectObject(s.dc, red), nullptr);

  // A bitmap selected into a context is not deleted under it, nor selected
  // into a second one.
  EXPECT_FALSE(DeleteObject(s.bitmap));
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, s.bitmap), nullptr);
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_FALSE(DeleteDC(other));
  EXPECT_EQ(GetObjectType(s.bitmap), static_cast<DWORD>(OBJ_BITMAP));
  BITMAP info{};
  EXPECT_EQ(GetObjectA(s.bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmBitsPixel, 32);
}

TEST(Objects, ColoursAndModesReturnThePreviousValue) {
  Section s(1, 1);
  EXPECT_EQ(GetBkMode(s.dc), OPAQUE);
  EXPECT_EQ(SetBkColor(s.dc, RGB(1, 2, 3)), RGB(255, 255, 255));
  EXPECT_EQ(SetBkColor(s.dc, RGB(4, 5, 6)), RGB(1, 2, 3));
  EXPECT_EQ(SetTextColor(s.dc, RGB(7, 8, 9)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(s.dc, 0), RGB(7, 8, 9));
  EXPECT_EQ(SetBkMode(s.dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetStretchBltMode(s.dc, COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(SetBkColor(reinterpret_cast<HDC>(0x999), 0), CLR_INVALID);
  RECT box{};
  EXPECT_EQ(GetClipBox(s.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 1);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  EXPECT_TRUE(GdiFlush());
}

TEST(Palettes, EntriesAndRealizationOnTrueColour) {
  unsetenv("GLIMMER_PIXEL_FORMAT");
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 3;
  for (int i = 0; i < 3; ++i) log->palPalEntry[i] = PALETTEENTRY{BYTE(i), BYTE(10 + i), BYTE(20 + i), 0};
  HPALETTE palette = CreatePalette(log);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY out[4]{};
  EXPECT_EQ(GetPaletteEntries(palette, 1, 4, out), 2u);
  EXPECT_EQ(out[0].peGreen, 11);
  EXPECT_EQ(out[1].peBlue, 22);

  Section s(1, 1);
  EXPECT_EQ(GetDeviceCaps(s.dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(s.dc, PLANES), 1);
  HPALETTE previous = SelectPalette(s.dc, palette, FALSE);
  EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(s.dc), 0u);
  EXPECT_FALSE(DeleteObject(palette)) << "still selected";
  EXPECT_EQ(SelectPalette(s.dc, previous, TRUE), palette);
  EXPECT_EQ(SelectObject(s.dc, palette), previous) << "SelectObject takes palettes too";
  EXPECT_EQ(SelectObject(s.dc, previous), palette);
  EXPECT_TRUE(DeleteObject(palette));
  log->palVersion = 0x200;
  EXPECT_EQ(CreatePalette(log), nullptr);
}

TEST(Palettes, AnEightBitDisplayMapsTheForegroundPalette) {
  setenv("GLIMMER_PIXEL_FORMAT", "8", 1);
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) log->palPalEntry[i] = PALETTEENTRY{BYTE(i), BYTE(i), BYTE(255 - i), 0};
  HPALETTE palette = CreatePalette(log);
  Section s(1, 1);
  EXPECT_EQ(GetDeviceCaps(s.dc, BITSPIXEL), 8);
  EXPECT_NE(GetDeviceCaps(s.dc, RASTERCAPS) & RC_PALETTE, 0);
  SelectPalette(s.dc, palette, TRUE);
  EXPECT_EQ(RealizePalette(s.dc), 0u) << "a background palette takes no entries";
  SelectPalette(s.dc, palette, FALSE);
  EXPECT_EQ(RealizePalette(s.dc), 236u) << "the free entries between the reserved colours";
  EXPECT_EQ(RealizePalette(s.dc), 0u) << "already realized";
  PALETTEENTRY system[256]{};
  EXPECT_EQ(GetSystemPaletteEntries(s.dc, 0, 256, system), 256u);
  EXPECT_EQ(system[10].peBlue, 255);
  EXPECT_EQ(system[255].peRed, 255) << "white stays reserved";
  SelectPalette(s.dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  EXPECT_TRUE(DeleteObject(palette));
  unsetenv("GLIMMER_PIXEL_FORMAT");
}

}  // namespace
