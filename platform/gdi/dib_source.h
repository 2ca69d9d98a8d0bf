// Reading the pixels of a device-independent bitmap in any of the forms a
// bitmap file holds: 1, 4 and 8 bits through a colour table, 16 bits 5-5-5
// or with bit fields, 24 bits, 32 bits plain or with bit fields; rows
// bottom-up (positive height) or top-down (negative height).
#pragma once

#include <cstddef>
#include <cstdint>

#include "win32/gdi.h"

namespace platform::gdi {

class DibSource {
 public:
  // False for a form this reader does not know (compressed rows, odd bit
  // counts, palette-index colour tables) or a malformed header.
  bool Open(const BITMAPINFO* info, const void* bits);

  int width() const { return width_; }
  int height() const { return height_; }
  bool topDown() const { return topDown_; }

  // The pixel at column x of row y counted from the top of the image, as a
  // BGRA pixel with alpha 0. The caller keeps x and y inside the image.
  uint32_t Pixel(int x, int y) const;

 private:
  struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;
    uint32_t Expand(uint32_t value) const;
  };

  int width_ = 0;
  int height_ = 0;
  bool topDown_ = false;
  int bitCount_ = 0;
  size_t rowBytes_ = 0;
  const uint8_t* bits_ = nullptr;
  const RGBQUAD* colors_ = nullptr;
  int colorCount_ = 0;
  Channel red_, green_, blue_;
};

}  // namespace platform::gdi
