// DrawPackedDib: a packed bitmap block stretched onto a device context.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi/section.h"
#include "package/dib_reader.h"

namespace {

using gdi_test::Section;

// A 24-bit 2 x 2 packed bitmap (bottom-up), rows padded to 4 bytes:
// bottom row blue, green; top row red, white. `imageSize` may claim less.
std::vector<BYTE> TwoByTwo(DWORD imageSize = 16) {
  std::vector<BYTE> block(40 + 16, 0);
  BITMAPINFOHEADER h{40, 2, 2, 1, 24, BI_RGB, imageSize, 0, 0, 0, 0};
  std::memcpy(block.data(), &h, 40);
  const BYTE rows[16] = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
  std::memcpy(block.data() + 40, rows, 16);
  return block;
}

TEST(DrawPackedDib, StretchesTheWholePicture) {
  std::vector<BYTE> dib = TwoByTwo();
  Section s(4, 4);
  SetStretchBltMode(s.dc, COLORONCOLOR);
  DrawPackedDib(s.dc, 0, 0, 4, 4, dib.data(), 0, 0, 2, 2, SRCCOPY);
  const uint32_t want[2][2] = {{0xFF0000, 0xFFFFFF}, {0x0000FF, 0x00FF00}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(s.At(x, y), want[y / 2][x / 2]) << x << "," << y;
}

TEST(DrawPackedDib, WithoutABitmapFillsWithTheOperation) {
  Section s(3, 3, true, 0x123456);
  DrawPackedDib(s.dc, 1, 1, 2, 2, nullptr, 0, 0, 0, 0, WHITENESS);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(s.At(x, y), x >= 1 && y >= 1 ? 0xFFFFFFu : 0x123456u);
}

TEST(DrawPackedDib, ReadsNoRowTheBlockDoesNotCarry) {
  // The header says 2 rows; the block holds the bottom one only.
  std::vector<BYTE> dib = TwoByTwo(8);
  dib.resize(40 + 8);
  Section s(2, 2, true, 0x123456);
  DrawPackedDib(s.dc, 0, 0, 2, 2, dib.data(), 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(s.At(0, 0), 0x123456u);
  EXPECT_EQ(s.At(1, 0), 0x123456u);
  EXPECT_EQ(s.At(0, 1), 0x0000FFu);
  EXPECT_EQ(s.At(1, 1), 0x00FF00u);
}

TEST(DrawPackedDib, BitFieldMasksFollowTheColourTable) {
  // A 16-bit 5-6-5 image whose header counts two colours: the block holds
  // two table entries, then the masks, then the row.
  std::vector<BYTE> dib(40 + 8 + 12 + 4, 0);
  BITMAPINFOHEADER h{40, 2, 1, 1, 16, BI_BITFIELDS, 4, 0, 0, 2, 0};
  std::memcpy(dib.data(), &h, 40);
  const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
  std::memcpy(dib.data() + 48, masks, 12);
  const uint16_t row[2] = {0xF800, 0x07E0};  // red, green
  std::memcpy(dib.data() + 60, row, 4);
  Section s(2, 1);
  DrawPackedDib(s.dc, 0, 0, 2, 1, dib.data(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(s.At(0, 0), 0xFF0000u);
  EXPECT_EQ(s.At(1, 0), 0x00FF00u);
}

}  // namespace
