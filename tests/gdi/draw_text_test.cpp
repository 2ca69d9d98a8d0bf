// DrawTextA with the device context's default font: measuring, wrapping,
// alignment, opaque cells and the '&' prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "gdi/section.h"

namespace {

using gdi_test::Section;

constexpr uint32_t kUntouched = 0x00ABCDEF;

int Width(HDC dc, const char* text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size));
  return size.cx;
}

RECT Measure(HDC dc, const char* text, UINT format, int width = 0) {
  RECT r{10, 20, 10 + width, 20};
  DrawTextA(dc, text, -1, &r, format | DT_CALCRECT);
  return r;
}

// The rectangle of pixels that are no longer `kUntouched`.
RECT Painted(Section& s) {
  RECT box{s.width, s.height, 0, 0};
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (s.At(x, y) != kUntouched) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

TEST(Fonts, DefaultFontIsABoldSixteenPixelLineAndDialogFontIsSmaller) {
  Section s(1, 1);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(s.dc, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, 16);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_GT(tm.tmAveCharWidth, 4);

  HFONT dialog = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(s.dc, dialog);
  TEXTMETRICA small{};
  ASSERT_TRUE(GetTextMetricsA(s.dc, &small));
  EXPECT_EQ(small.tmHeight, 13);
  EXPECT_EQ(small.tmWeight, FW_NORMAL);
  EXPECT_LT(small.tmAveCharWidth, tm.tmAveCharWidth);
  SelectObject(s.dc, old);
  DeleteObject(dialog);
}

TEST(DrawText, CalcRectMeasuresKnownStrings) {
  Section s(1, 1);
  int a = Width(s.dc, "a"), b = Width(s.dc, "b"), amp = Width(s.dc, "&");
  struct Case { const char* text; UINT format; int width; int height; } cases[] = {
      {"ab", DT_SINGLELINE | DT_NOPREFIX, a + b, 16},
      {"a\nb", 0, std::max(a, b), 32},
      {"a\r\nb\rab", 0, a + b, 48},
      {"a\nb", DT_SINGLELINE, a + b, 16},  // breaks show nothing on one line
      {"a&b", DT_NOPREFIX, a + amp + b, 16},
      {"a&b", 0, a + b, 16},  // the prefix marks b
      {"a&&b", 0, a + amp + b, 16},
      {"", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    RECT r = Measure(s.dc, c.text, c.format);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);
  }
  // The banner's measure: flags 0xF20 answer the line height.
  RECT banner{0, 0, 0, 0};
  EXPECT_EQ(DrawTextA(s.dc, "Welcome", -1, &banner, 0xF20), 16);
  EXPECT_EQ(banner.right, Width(s.dc, "Welcome"));
  EXPECT_LT(Width(s.dc, "ii"), Width(s.dc, "WW"));
}

TEST(DrawText, OpaqueCellIsPaintedInTheBackgroundColour) {
  Section s(120, 30, false, kUntouched);
  SetBkColor(s.dc, RGB(0, 0, 0));
  SetTextColor(s.dc, RGB(255, 255, 255));
  RECT r{5, 3, 0, 0};
  EXPECT_EQ(DrawTextA(s.dc, "Hello", -1, &r, 0xB20), 16);
  RECT painted = Painted(s);
  EXPECT_EQ(painted.left, 5);
  EXPECT_EQ(painted.top, 3);
  EXPECT_EQ(painted.right, 5 + Width(s.dc, "Hello"));
  EXPECT_EQ(painted.bottom, 3 + 16);
  int ink = 0;
  for (int y = painted.top; y < painted.bottom; ++y) {
    for (int x = painted.left; x < painted.right; ++x) {
      uint32_t p = s.At(x, y);
      // Grey levels only: black cells, white text, smoothed edges between.
      EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);
      EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
      ink += p == 0x00FFFFFF;
    }
  }
  EXPECT_GT(ink, 20);

  // Transparent: no cell, only the letters.
  Section t(120, 30, false, kUntouched);
  SetBkMode(t.dc, TRANSPARENT);
  RECT r2{5, 3, 0, 0};
  DrawTextA(t.dc, "Hello", -1, &r2, 0xB20);
  EXPECT_EQ(t.At(5, 3), kUntouched);
  EXPECT_NE(Painted(t).right, 0);
}

TEST(DrawText, CentredWordBreakWrapsAtSpacesAndCentresEachLine) {
  Section s(200, 60, true, kUntouched);
  SetBkColor(s.dc, RGB(10, 20, 30));
  int oneTwo = Width(s.dc, "one two"), three = Width(s.dc, "three");
  int boxWidth = oneTwo + 4;  // "one two three" does not fit
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT calc = Measure(s.dc, "one two three", format, boxWidth);
  EXPECT_EQ(calc.right - calc.left, oneTwo);
  EXPECT_EQ(calc.bottom - calc.top, 32);

  RECT box{0, 0, boxWidth, 60};
  EXPECT_EQ(DrawTextA(s.dc, "one two three", -1, &box, format), 32);
  auto rowSpan = [&](int y) {
    int first = -1, last = -1;
    for (int x = 0; x < s.width; ++x)
      if (s.At(x, y) != kUntouched) {
        if (first < 0) first = x;
        last = x + 1;
      }
    return std::pair<int, int>(first, last);
  };
  EXPECT_EQ(rowSpan(0), std::make_pair((boxWidth - oneTwo) / 2, (boxWidth - oneTwo) / 2 + oneTwo));
  EXPECT_EQ(rowSpan(16), std::make_pair((boxWidth - three) / 2, (boxWidth - three) / 2 + three));
  EXPECT_EQ(rowSpan(32), std::make_pair(-1, -1));

  // A word wider than the box stays whole; it is clipped to the box.
  RECT narrow = Measure(s.dc, "extraordinary", format, 10);
  EXPECT_EQ(narrow.right - narrow.left, Width(s.dc, "extraordinary"));
  EXPECT_EQ(narrow.bottom - narrow.top, 16);
}

TEST(DrawText, PrefixUnderlinesItsLetterAndNoPrefixShowsTheAmpersand) {
  Section plain(80, 20, true, kUntouched), prefixed(80, 20, true, kUntouched), literal(80, 20, true, kUntouched);
  for (Section* s : {&plain, &prefixed, &literal}) SetBkColor(s->dc, RGB(255, 255, 255));
  RECT r1{0, 0, 80, 20}, r2{0, 0, 80, 20}, r3{0, 0, 80, 20};
  DrawTextA(plain.dc, "ab", -1, &r1, DT_SINGLELINE);
  DrawTextA(prefixed.dc, "a&b", -1, &r2, DT_SINGLELINE);
  DrawTextA(literal.dc, "a&b", -1, &r3, DT_SINGLELINE | DT_NOPREFIX);
  TEXTMETRICA tm{};
  GetTextMetricsA(plain.dc, &tm);
  int a = Width(plain.dc, "a"), b = Width(plain.dc, "b");
  int differ = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x)
      if (plain.At(x, y) != prefixed.At(x, y)) {
        ++differ;
        EXPECT_EQ(y, tm.tmAscent + 1) << "only the underline differs";
        EXPECT_GE(x, a);
        EXPECT_LT(x, a + b);
      }
  EXPECT_EQ(differ, b);
  EXPECT_EQ(Painted(literal).right, Width(literal.dc, "a&b"));
}

TEST(DrawText, AnsiBytesShowTheirOwnGlyphs) {
  // 0x80 is the euro sign in the ANSI code page, 0xE9 an e with acute.
  Section euro(40, 20, true, kUntouched), e(40, 20, true, kUntouched), eAcute(40, 20, true, kUntouched);
  RECT r{0, 0, 40, 20};
  RECT r1 = r, r2 = r, r3 = r;
  DrawTextA(euro.dc, "\x80", -1, &r1, DT_SINGLELINE);
  DrawTextA(e.dc, "e", -1, &r2, DT_SINGLELINE);
  DrawTextA(eAcute.dc, "\xE9", -1, &r3, DT_SINGLELINE);
  EXPECT_EQ(Width(e.dc, "e"), Width(e.dc, "\xE9"));
  TEXTMETRICA tm{};
  GetTextMetricsA(e.dc, &tm);
  // The accent is the only difference between e and é: above the x-height.
  int above = 0, below = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if (e.At(x, y) != eAcute.At(x, y)) (y < tm.tmAscent / 2 ? above : below)++;
  EXPECT_GT(above, 0);
  EXPECT_EQ(below, 0);
  EXPECT_GT(Width(euro.dc, "\x80"), 0);
  EXPECT_NE(Painted(euro).right, 0);
}

}  // namespace
