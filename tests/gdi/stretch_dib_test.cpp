// StretchDIBits from every DIB form into a DIB section, growing (2 x 2 into
// 5 x 5) and shrinking (5 x 5 into 2 x 2), every destination pixel checked
// against the source pixel the nearest-pixel rule picks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gdi/section.h"

namespace {

using gdi_test::Section;

// The colour (0x00RRGGBB) of table entry or colour number i.
uint32_t TableColor(int i) { return (uint32_t(10 * i) << 16) | (uint32_t(255 - 9 * i) << 8) | uint32_t(i * 37 % 256); }

// A 5-bit or 6-bit field value widened to 8 bits by repeating its top bits.
uint32_t Widen(uint32_t v, int bits) { return bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4); }

struct Form {
  const char* name;
  int bits;
  DWORD compression;
  bool topDown;
  DWORD masks[3];  // bit fields only
};

// A DIB in one block: header, colour table or masks, rows. `expected` gets
// the colours of the image, top row first.
std::vector<uint8_t> MakeDib(const Form& form, int w, int h, std::vector<uint32_t>* expected,
                             size_t* bitsOffset) {
  int tableSize = form.bits <= 8 ? (1 << form.bits) : 0;
  int distinct = form.bits == 1 ? 2 : form.bits == 4 ? 16 : 25;
  size_t header = sizeof(BITMAPINFOHEADER) + tableSize * 4 + (form.compression == BI_BITFIELDS ? 12 : 0);
  size_t rowBytes = ((form.bits * w + 31) / 32) * 4;
  std::vector<uint8_t> dib(header + rowBytes * h, 0);
  BITMAPINFOHEADER hdr{};
  hdr.biSize = sizeof hdr;
  hdr.biWidth = w;
  hdr.biHeight = form.topDown ? -h : h;
  hdr.biPlanes = 1;
  hdr.biBitCount = static_cast<WORD>(form.bits);
  hdr.biCompression = form.compression;
  std::memcpy(dib.data(), &hdr, sizeof hdr);
  uint8_t* table = dib.data() + sizeof hdr;
  for (int i = 0; i < tableSize; ++i) {
    uint32_t c = TableColor(i);
    table[i * 4 + 0] = c & 0xFF;
    table[i * 4 + 1] = (c >> 8) & 0xFF;
    table[i * 4 + 2] = (c >> 16) & 0xFF;
  }
  if (form.compression == BI_BITFIELDS) std::memcpy(table, form.masks, 12);
  expected->assign(static_cast<size_t>(w) * h, 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.data() + header + rowBytes * (form.topDown ? y : h - 1 - y);
    for (int x = 0; x < w; ++x) {
      int i = (x + y * w) % distinct;
      uint32_t& want = (*expected)[y * w + x];
      switch (form.bits) {
        case 1: case 4: case 8: {
          int perByte = 8 / form.bits;
          row[x / perByte] |= static_cast<uint8_t>(i << (8 - form.bits * (x % perByte + 1)));
          want = TableColor(i);
          break;
        }
        case 16: {
          uint32_t r = i, b = 31 - i, value, g;
          if (form.compression == BI_RGB) {  // 5-5-5
            g = (i * 3) % 32;
            value = (r << 10) | (g << 5) | b;
            want = (Widen(r, 5) << 16) | (Widen(g, 5) << 8) | Widen(b, 5);
          } else {  // 5-6-5
            g = (i * 2 + 1) % 64;
            value = (r << 11) | (g << 5) | b;
            want = (Widen(r, 5) << 16) | (Widen(g, 6) << 8) | Widen(b, 5);
          }
          row[x * 2] = value & 0xFF;
          row[x * 2 + 1] = value >> 8;
          break;
        }
        case 24: {
          uint32_t c = TableColor(i);
          row[x * 3] = c & 0xFF;
          row[x * 3 + 1] = (c >> 8) & 0xFF;
          row[x * 3 + 2] = c >> 16;
          want = c;
          break;
        }
        case 32: {
          uint32_t c = TableColor(i);
          uint8_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
          uint32_t value = form.compression == BI_RGB ? c | 0xFF000000u  // the fourth byte is ignored
                                                      : (uint32_t(r) << 24) | (uint32_t(g) << 16) | (uint32_t(b) << 8);
          std::memcpy(row + x * 4, &value, 4);
          want = c;
          break;
        }
      }
    }
  }
  *bitsOffset = header;
  return dib;
}

const Form kForms[] = {
    {"1 bit", 1, BI_RGB, false, {}},
    {"4 bits", 4, BI_RGB, false, {}},
    {"8 bits", 8, BI_RGB, false, {}},
    {"8 bits top-down", 8, BI_RGB, true, {}},
    {"16 bits 5-5-5", 16, BI_RGB, false, {}},
    {"16 bits 5-6-5 fields", 16, BI_BITFIELDS, false, {0xF800, 0x07E0, 0x001F}},
    {"24 bits", 24, BI_RGB, false, {}},
    {"24 bits top-down", 24, BI_RGB, true, {}},
    {"32 bits", 32, BI_RGB, false, {}},
    {"32 bits fields R-G-B-x", 32, BI_BITFIELDS, true, {0xFF000000, 0x00FF0000, 0x0000FF00}},
};

struct Size {
  int srcW, srcH, dstW, dstH;
};

TEST(StretchDIBits, EveryFormGrowsAndShrinksByNearestPixel) {
  for (const Form& form : kForms) {
    for (Size size : {Size{2, 2, 5, 5}, Size{5, 5, 2, 2}, Size{5, 5, 5, 5}}) {
      for (bool destTopDown : {true, false}) {
        SCOPED_TRACE(std::string(form.name) + " " + std::to_string(size.srcW) + " into " +
                     std::to_string(size.dstW) + (destTopDown ? " top-down" : " bottom-up"));
        std::vector<uint32_t> expected;
        size_t offset = 0;
        std::vector<uint8_t> dib = MakeDib(form, size.srcW, size.srcH, &expected, &offset);
        Section dest(size.dstW, size.dstH, destTopDown);
        SetStretchBltMode(dest.dc, COLORONCOLOR);
        int lines = StretchDIBits(dest.dc, 0, 0, size.dstW, size.dstH, 0, 0, size.srcW, size.srcH,
                                  dib.data() + offset, reinterpret_cast<BITMAPINFO*>(dib.data()),
                                  DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(lines, size.srcH);
        for (int y = 0; y < size.dstH; ++y) {
          for (int x = 0; x < size.dstW; ++x) {
            int sx = x * size.srcW / size.dstW, sy = y * size.srcH / size.dstH;
            EXPECT_EQ(dest.At(x, y), expected[sy * size.srcW + sx]) << "at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(StretchDIBits, SourceRectangleOfABottomUpImageCountsRowsFromTheBottom) {
  const Form form{"24 bits", 24, BI_RGB, false, {}};
  std::vector<uint32_t> expected;
  size_t offset = 0;
  std::vector<uint8_t> dib = MakeDib(form, 5, 5, &expected, &offset);
  Section dest(2, 2);
  // Columns 1-2 and rows 1-2 counted from the bottom: rows 2-3 from the top.
  StretchDIBits(dest.dc, 0, 0, 2, 2, 1, 1, 2, 2, dib.data() + offset,
                reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, SRCCOPY);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(dest.At(x, y), expected[(2 + y) * 5 + 1 + x]) << x << "," << y;
}

TEST(StretchDIBits, DestinationIsClippedAndMirroredByNegativeExtents) {
  const Form form{"32 bits", 32, BI_RGB, true, {}};
  std::vector<uint32_t> expected;
  size_t offset = 0;
  std::vector<uint8_t> dib = MakeDib(form, 2, 2, &expected, &offset);
  auto* info = reinterpret_cast<BITMAPINFO*>(dib.data());
  Section dest(3, 3);
  // Half of the picture lies left of the bitmap; the rest lands in column 0.
  StretchDIBits(dest.dc, -1, 0, 2, 2, 0, 0, 2, 2, dib.data() + offset, info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), expected[1]);
  EXPECT_EQ(dest.At(0, 1), expected[3]);
  EXPECT_EQ(dest.At(1, 0), 0x00ABCDEFu);
  // A negative destination width mirrors the picture left to right.
  StretchDIBits(dest.dc, 3, 1, -2, 2, 0, 0, 2, 2, dib.data() + offset, info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(dest.At(1, 1), expected[1]);
  EXPECT_EQ(dest.At(2, 1), expected[0]);
  EXPECT_EQ(dest.At(1, 2), expected[3]);
  EXPECT_EQ(dest.At(2, 2), expected[2]);
}

TEST(StretchDIBits, ShrinkingModesKeepDarkLightOrDroppedPixels) {
  // A 2 x 1 image, black and white, shrunk to one pixel.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const uint8_t bits[8] = {0, 0, 0, 255, 255, 255, 0, 0};
  struct Case { int mode; uint32_t want; } cases[] = {
      {COLORONCOLOR, 0x000000}, {BLACKONWHITE, 0x000000}, {WHITEONBLACK, 0xFFFFFF}, {HALFTONE, 0x7F7F7F}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Section dest(1, 1);
    SetStretchBltMode(dest.dc, c.mode);
    StretchDIBits(dest.dc, 0, 0, 1, 1, 0, 0, 2, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dest.At(0, 0), c.want);
  }
}

TEST(StretchDIBits, RefusesWhatItCannotRead) {
  Section dest(2, 2);
  uint8_t bits[16] = {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 8, BI_RLE8, 0, 0, 0, 0, 0};
  struct Case { const char* what; WORD bitCount; DWORD compression; DWORD size; UINT usage; HDC dc; } cases[] = {
      {"run-length rows", 8, BI_RLE8, 40, DIB_RGB_COLORS, dest.dc},
      {"2 bits a pixel", 2, BI_RGB, 40, DIB_RGB_COLORS, dest.dc},
      {"short header", 24, BI_RGB, 12, DIB_RGB_COLORS, dest.dc},
      {"palette indices", 8, BI_RGB, 40, DIB_PAL_COLORS, dest.dc},
      {"stale context", 24, BI_RGB, 40, DIB_RGB_COLORS, reinterpret_cast<HDC>(0x7777)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    info.bmiHeader.biBitCount = c.bitCount;
    info.bmiHeader.biCompression = c.compression;
    info.bmiHeader.biSize = c.size;
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, &info, c.usage, SRCCOPY), 0);
    EXPECT_EQ(dest.At(0, 0), 0x00ABCDEFu);
  }
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, 2, 2, 0, 0, 2, 2, nullptr, &info, DIB_RGB_COLORS, SRCCOPY), 0);
  // Extents no picture has are refused, not drawn.
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, INT32_MAX, INT32_MAX, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, 2, 2, 0, 0, INT32_MIN, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(dest.At(1, 1), 0x00ABCDEFu);
  EXPECT_TRUE(PatBlt(dest.dc, -1000000000, -1000000000, INT32_MAX, INT32_MAX, BLACKNESS));
  EXPECT_TRUE(PatBlt(dest.dc, 1, 1, INT32_MAX, INT32_MAX, WHITENESS));
  EXPECT_EQ(dest.At(0, 0), 0u);
  EXPECT_EQ(dest.At(1, 1), 0x00FFFFFFu);
}

}  // namespace
