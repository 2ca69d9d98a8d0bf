#include "scene/palette.h"

#include <cstdlib>

namespace {

const BYTE ramp1[2] = {0, 255};
const BYTE ramp2[4] = {0, 85, 170, 255};
const BYTE ramp3[8] = {0, 36, 73, 109, 146, 182, 219, 255};

struct Override {
  int index;
  BYTE red, green, blue;
};

// Twelve of the colours the system keeps in every palette, which the plain
// 3-3-2 ramp lacks; applied in this order.
const Override reservedColours[] = {
    {3, 128, 0, 0},       {24, 0, 128, 0},      {27, 128, 128, 0},    {64, 0, 0, 128},
    {67, 128, 0, 128},    {88, 0, 128, 128},    {173, 192, 192, 192}, {181, 192, 220, 192},
    {236, 166, 202, 240}, {247, 255, 251, 240}, {164, 160, 160, 164}, {91, 128, 128, 128},
};

constexpr int kPaletteSize = 256;

bool IsStandard332(const PIXELFORMATDESCRIPTOR* format) {
  return format->cColorBits == 8 && format->cRedBits == 3 && format->cRedShift == 0 &&
         format->cGreenBits == 3 && format->cGreenShift == 3 && format->cBlueBits == 2 &&
         format->cBlueShift == 6;
}

}  // namespace

BYTE PaletteComponent(int index, int bits, int shift) {
  int value = index >> shift;
  switch (bits) {
    case 1:
      return ramp1[value & 1];
    case 2:
      return ramp2[value & 3];
    case 3:
      return ramp3[value & 7];
    default:
      return 0;
  }
}

HPALETTE CreatePaletteForFormat(const PIXELFORMATDESCRIPTOR* format) {
  if ((format->dwFlags & PFD_NEED_PALETTE) == 0) return nullptr;
  LOGPALETTE* block = static_cast<LOGPALETTE*>(
      std::malloc(sizeof(LOGPALETTE) + (kPaletteSize - 1) * sizeof(PALETTEENTRY)));
  if (block == nullptr) return nullptr;
  block->palVersion = 0x300;
  block->palNumEntries = kPaletteSize;
  if (format->cColorBits != 8) {
    std::free(block);
    return nullptr;
  }
  for (int i = 0; i < kPaletteSize; ++i) {
    PALETTEENTRY& entry = block->palPalEntry[i];
    entry.peRed = PaletteComponent(i, format->cRedBits, format->cRedShift);
    entry.peGreen = PaletteComponent(i, format->cGreenBits, format->cGreenShift);
    entry.peBlue = PaletteComponent(i, format->cBlueBits, format->cBlueShift);
    entry.peFlags = 0;
  }
  if (IsStandard332(format)) {
    for (const Override& colour : reservedColours) {
      PALETTEENTRY& entry = block->palPalEntry[colour.index];
      entry.peRed = colour.red;
      entry.peGreen = colour.green;
      entry.peBlue = colour.blue;
      entry.peFlags = 0;
    }
  }
  HPALETTE palette = CreatePalette(block);
  std::free(block);
  return palette;
}

HPALETTE CreateScenePalette(HDC dc) {
  PIXELFORMATDESCRIPTOR format{};
  if (DescribePixelFormat(dc, GetPixelFormat(dc), sizeof format, &format) == 0) return nullptr;
  return CreatePaletteForFormat(&format);
}
