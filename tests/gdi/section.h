// A memory device context holding a 32-bit DIB section, for reading back
// what drawing did, pixel by pixel.
#pragma once

#include <cstdint>

#include "win32.h"

namespace gdi_test {

struct Section {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  bool topDown = true;

  Section(int w, int h, bool top = true, uint32_t fill = 0x00ABCDEF) : width(w), height(h), topDown(top) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = top ? -h : h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint32_t*>(pixels);
    previous = SelectObject(dc, bitmap);
    for (int i = 0; i < w * h; ++i) bits[i] = fill;
  }
  ~Section() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;

  // The pixel at (x, y), y counted from the top, whatever the row order.
  uint32_t& At(int x, int y) { return bits[(topDown ? y : height - 1 - y) * width + x]; }
};

}  // namespace gdi_test
