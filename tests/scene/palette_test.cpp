// The scene's logical palette: the colour ramps by field width, and the
// palette made for each kind of pixel format.
#include <gtest/gtest.h>

#include "scene/palette.h"

namespace {

TEST(PaletteComponent, RampsByFieldWidth) {
  struct Case {
    int index, bits, shift;
    int value;
  };
  const Case cases[] = {
      {0, 1, 0, 0},     {1, 1, 0, 255},   {2, 1, 0, 0},       {0x80, 1, 7, 255},
      {1, 2, 0, 85},    {2, 2, 0, 170},   {3, 2, 0, 255},     {0xC0, 2, 6, 255},  {0x40, 2, 6, 85},
      {1, 3, 0, 36},    {2, 3, 0, 73},    {3, 3, 0, 109},     {4, 3, 0, 146},     {5, 3, 0, 182},
      {6, 3, 0, 219},   {7, 3, 0, 255},   {0x38, 3, 3, 255},  {0x08, 3, 3, 36},   {0xFF, 3, 0, 255},
      {0xFF, 0, 0, 0},  {0xFF, 4, 0, 0},  {0xFF, 8, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PaletteComponent(c.index, c.bits, c.shift), c.value)
        << "index " << c.index << ", " << c.bits << " bits at " << c.shift;
}

PIXELFORMATDESCRIPTOR Format(DWORD flags, int colourBits, int redBits, int redShift, int greenBits,
                             int greenShift, int blueBits, int blueShift) {
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = flags;
  format.cColorBits = BYTE(colourBits);
  format.cRedBits = BYTE(redBits);
  format.cRedShift = BYTE(redShift);
  format.cGreenBits = BYTE(greenBits);
  format.cGreenShift = BYTE(greenShift);
  format.cBlueBits = BYTE(blueBits);
  format.cBlueShift = BYTE(blueShift);
  return format;
}

struct Entry {
  int index;
  int red, green, blue;
};

void ExpectEntries(HPALETTE palette, std::initializer_list<Entry> entries, const char* what) {
  for (const Entry& e : entries) {
    PALETTEENTRY got{};
    ASSERT_EQ(GetPaletteEntries(palette, UINT(e.index), 1, &got), 1u) << what;
    EXPECT_EQ(got.peRed, e.red) << what << ", entry " << e.index;
    EXPECT_EQ(got.peGreen, e.green) << what << ", entry " << e.index;
    EXPECT_EQ(got.peBlue, e.blue) << what << ", entry " << e.index;
    EXPECT_EQ(got.peFlags, 0) << what << ", entry " << e.index;
  }
}

// The standard 3-3-2 layout: the ramp, with twelve of the reserved system
// colours put in.
TEST(ScenePalette, ThreeThreeTwoGetsTheReservedColours) {
  PIXELFORMATDESCRIPTOR format = Format(PFD_NEED_PALETTE | PFD_SUPPORT_OPENGL, 8, 3, 0, 3, 3, 2, 6);
  HPALETTE palette = CreatePaletteForFormat(&format);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);
  ExpectEntries(palette,
                {{0, 0, 0, 0},         {3, 128, 0, 0},       {7, 255, 0, 0},       {24, 0, 128, 0},
                 {27, 128, 128, 0},    {64, 0, 0, 128},      {67, 128, 0, 128},    {88, 0, 128, 128},
                 {91, 128, 128, 128},  {164, 160, 160, 164}, {173, 192, 192, 192}, {181, 192, 220, 192},
                 {236, 166, 202, 240}, {247, 255, 251, 240}, {255, 255, 255, 255}, {56, 0, 255, 0},
                 {192, 0, 0, 255},     {1, 36, 0, 0},        {200, 0, 36, 255}},
                "3-3-2");
  DeleteObject(palette);
}

// Another 8-bit layout gets its ramp alone: nothing overridden.
TEST(ScenePalette, OtherEightBitLayoutKeepsItsRamp) {
  PIXELFORMATDESCRIPTOR format = Format(PFD_NEED_PALETTE, 8, 2, 6, 3, 3, 3, 0);
  HPALETTE palette = CreatePaletteForFormat(&format);
  ASSERT_NE(palette, nullptr);
  // Index 3: blue field 3 -> 109; index 91 = 0b01011011: red 1 -> 85,
  // green 3 -> 109, blue 3 -> 109.
  ExpectEntries(palette,
                {{3, 0, 0, 109}, {7, 0, 0, 255}, {91, 85, 109, 109}, {173, 170, 182, 182},
                 {255, 255, 255, 255}, {24, 0, 109, 0}},
                "2-3-3");
  DeleteObject(palette);
}

TEST(ScenePalette, NoPaletteWhereNoneIsNeeded) {
  struct Case {
    const char* what;
    PIXELFORMATDESCRIPTOR format;
  };
  const Case cases[] = {
      {"true colour", Format(PFD_SUPPORT_OPENGL, 32, 8, 16, 8, 8, 8, 0)},
      {"16-bit", Format(PFD_SUPPORT_OPENGL, 16, 5, 11, 6, 5, 5, 0)},
      {"8-bit without the palette flag", Format(PFD_SUPPORT_OPENGL, 8, 3, 0, 3, 3, 2, 6)},
      {"palette flag on a 16-bit format", Format(PFD_NEED_PALETTE, 16, 5, 11, 6, 5, 5, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(CreatePaletteForFormat(&c.format), nullptr) << c.what;
}

}  // namespace
