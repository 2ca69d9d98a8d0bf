// Fills and copies: PatBlt with the selected brush or a fixed colour,
// FillRect, BitBlt between device contexts, and single pixels.
#include <algorithm>
#include <vector>

#include "draw_target.h"
#include "gdi_objects.h"

namespace platform::gdi {
namespace {

// The rectangle of a position and extents of either sign, kept inside 32
// bits whatever the caller passes.
RECT Normalised(int x, int y, int width, int height) {
  auto clamp = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
  RECT r{clamp(x), clamp(y), clamp(int64_t{x} + width), clamp(int64_t{y} + height)};
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

void Fill(const Dc& dc, const RECT& area, uint32_t pixel) {
  DrawInto(dc, area, [pixel](const Target& t, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) std::fill(&t.At(r.left, y), &t.At(r.left, y) + (r.right - r.left), pixel);
  });
}

void Xor(const Dc& dc, const RECT& area, uint32_t mask) {
  DrawInto(dc, area, [mask](const Target& t, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) t.At(x, y) = (t.At(x, y) ^ mask) & 0x00FFFFFF;
  });
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return FALSE;
  RECT area = Normalised(x, y, width, height);
  COLORREF brush = 0;
  bool hasBrush = BrushColor(static_cast<HBRUSH>(dc->brush), &brush);
  switch (rop) {
    case BLACKNESS: Fill(*dc, area, 0); return TRUE;
    case WHITENESS: Fill(*dc, area, 0x00FFFFFF); return TRUE;
    case PATCOPY:
      if (hasBrush) Fill(*dc, area, PixelFromColor(brush));
      return TRUE;
    case DSTINVERT: Xor(*dc, area, 0x00FFFFFF); return TRUE;
    case PATINVERT:
      if (hasBrush) Xor(*dc, area, PixelFromColor(brush));
      return TRUE;
    default:
      return FALSE;  // operations that need a source are BitBlt's
  }
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  Dc* dc = FindDc(handle);
  COLORREF color = 0;
  if (dc == nullptr || rect == nullptr) return 0;
  if (!BrushColor(brush, &color)) return 1;  // a hollow brush paints nothing
  if (rect->left < rect->right && rect->top < rect->bottom) Fill(*dc, *rect, PixelFromColor(color));
  return 1;
}

BOOL BitBlt(HDC destHandle, int x, int y, int width, int height, HDC srcHandle, int xSrc, int ySrc,
            DWORD rop) {
  Dc* dest = FindDc(destHandle);
  if (dest == nullptr) return FALSE;
  if (rop != SRCCOPY) return PatBlt(destHandle, x, y, width, height, rop);
  Dc* src = FindDc(srcHandle);
  if (src == nullptr || width <= 0 || height <= 0) return src != nullptr;
  if (int64_t{width} * height > int64_t{16384} * 16384) return FALSE;
  std::vector<Target> sources = ResolveTargets(*src);
  if (sources.empty()) return FALSE;
  // Copy the source out first: source and destination may share pixels.
  const Target& s = sources.front();
  std::vector<uint32_t> copy(static_cast<size_t>(width) * height);
  std::vector<bool> present(copy.size(), false);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      int sx = xSrc + col + s.dx, sy = ySrc + row + s.dy;
      if (sx < s.clip.left || sx >= s.clip.right || sy < s.clip.top || sy >= s.clip.bottom) continue;
      copy[static_cast<size_t>(row) * width + col] = s.At(sx, sy) & 0x00FFFFFF;
      present[static_cast<size_t>(row) * width + col] = true;
    }
  }
  RECT area{x, y, x + width, y + height};
  DrawInto(*dest, area, [&](const Target& t, const RECT& r) {
    for (int ty = r.top; ty < r.bottom; ++ty) {
      for (int tx = r.left; tx < r.right; ++tx) {
        size_t i = static_cast<size_t>(ty - t.dy - y) * width + (tx - t.dx - x);
        if (present[i]) t.At(tx, ty) = copy[i];
      }
    }
  });
  return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return CLR_INVALID;
  bool drawn = false;
  DrawInto(*dc, RECT{x, y, x + 1, y + 1}, [&](const Target& t, const RECT& r) {
    t.At(r.left, r.top) = PixelFromColor(color);
    drawn = true;
  });
  return drawn ? (color & 0x00FFFFFF) : CLR_INVALID;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return CLR_INVALID;
  for (const Target& t : ResolveTargets(*dc)) {
    int tx = x + t.dx, ty = y + t.dy;
    if (tx >= t.clip.left && tx < t.clip.right && ty >= t.clip.top && ty < t.clip.bottom)
      return ColorFromPixel(t.At(tx, ty));
  }
  return CLR_INVALID;
}
