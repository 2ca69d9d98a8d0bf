// StretchDIBits: a source rectangle of a device-independent bitmap scaled
// onto a destination rectangle. Destination pixel i of n takes source pixel
// i * m / n of m; with COLORONCOLOR (and whenever the image grows) that one
// pixel is copied and the rows and columns that shrinking drops are
// discarded. Shrinking in BLACKONWHITE keeps dark pixels (the dropped ones
// are ANDed in), WHITEONBLACK light ones (ORed), HALFTONE averages them.
//
// The source rectangle is in the image's own row order, as on the platform:
// for a bottom-up image ySrc counts rows from the bottom.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dib_source.h"
#include "draw_target.h"

namespace platform::gdi {
namespace {

// The source span [first, last) for destination pixel i of n over m.
struct Span {
  int first;
  int last;
};

Span SpanOf(int i, int n, int m, bool mirror) {
  int first = static_cast<int>(int64_t{i} * m / n);
  int last = std::max(first + 1, static_cast<int>(int64_t{i + 1} * m / n));
  return mirror ? Span{m - last, m - first} : Span{first, last};
}

// Extents beyond this are refused rather than drawn: no screen or texture
// comes near it, and the arithmetic stays inside 32 bits.
constexpr int kMostExtent = 1 << 24;

uint32_t Combine(const DibSource& src, const Span& xs, const Span& ys, int x0, int y0, int mode) {
  if (mode == COLORONCOLOR || (xs.last - xs.first == 1 && ys.last - ys.first == 1))
    return src.Pixel(x0 + xs.first, y0 + ys.first);
  uint32_t andAll = 0x00FFFFFF, orAll = 0, sum[3] = {0, 0, 0}, count = 0;
  for (int y = ys.first; y < ys.last; ++y) {
    for (int x = xs.first; x < xs.last; ++x) {
      uint32_t p = src.Pixel(x0 + x, y0 + y);
      andAll &= p;
      orAll |= p;
      sum[0] += p & 0xFF;
      sum[1] += (p >> 8) & 0xFF;
      sum[2] += (p >> 16) & 0xFF;
      ++count;
    }
  }
  if (mode == BLACKONWHITE) return andAll;
  if (mode == WHITEONBLACK) return orAll;
  return ((sum[2] / count) << 16) | ((sum[1] / count) << 8) | (sum[0] / count);
}

uint32_t ApplyRop(DWORD rop, uint32_t src, uint32_t dst) {
  switch (rop) {
    case SRCCOPY: return src;
    case NOTSRCCOPY: return ~src & 0x00FFFFFF;
    case SRCINVERT: return (src ^ dst) & 0x00FFFFFF;
    case SRCAND: return src & dst & 0x00FFFFFF;
    default: return (src | dst) & 0x00FFFFFF;  // SRCPAINT
  }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                  UINT usage, DWORD rop) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return 0;
  if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY || rop == DSTINVERT || rop == PATINVERT)
    return PatBlt(handle, xDest, yDest, destWidth, destHeight, rop) ? (srcHeight == INT32_MIN ? 0 : std::abs(srcHeight)) : 0;
  if (rop != SRCCOPY && rop != NOTSRCCOPY && rop != SRCINVERT && rop != SRCAND && rop != SRCPAINT)
    return 0;
  DibSource src;
  if (usage != DIB_RGB_COLORS || !src.Open(info, bits)) return 0;
  if (destWidth == 0 || destHeight == 0 || srcWidth == 0 || srcHeight == 0) return 0;
  for (int extent : {destWidth, destHeight, srcWidth, srcHeight, xDest, yDest, xSrc, ySrc})
    if (extent > kMostExtent || extent < -kMostExtent) return 0;

  // A negative extent on either side mirrors the picture along that axis.
  bool mirrorX = (destWidth < 0) != (srcWidth < 0);
  bool mirrorY = (destHeight < 0) != (srcHeight < 0);
  if (destWidth < 0) { xDest += destWidth; destWidth = -destWidth; }
  if (destHeight < 0) { yDest += destHeight; destHeight = -destHeight; }
  if (srcWidth < 0) { xSrc += srcWidth; srcWidth = -srcWidth; }
  if (srcHeight < 0) { ySrc += srcHeight; srcHeight = -srcHeight; }
  int srcTop = src.topDown() ? ySrc : src.height() - ySrc - srcHeight;

  int mode = dc->stretchMode;
  RECT area{xDest, yDest, xDest + destWidth, yDest + destHeight};
  DrawInto(*dc, area, [&](const Target& t, const RECT& r) {
    // Source columns of the visible destination columns only.
    std::vector<Span> columns(r.right - r.left);
    for (int tx = r.left; tx < r.right; ++tx)
      columns[tx - r.left] = SpanOf(tx - t.dx - xDest, destWidth, srcWidth, mirrorX);
    for (int ty = r.top; ty < r.bottom; ++ty) {
      Span ys = SpanOf(ty - t.dy - yDest, destHeight, srcHeight, mirrorY);
      // Parts of the source rectangle outside the image leave the
      // destination as it was.
      if (srcTop + ys.first < 0 || srcTop + ys.last > src.height()) continue;
      for (int tx = r.left; tx < r.right; ++tx) {
        Span xs = columns[tx - r.left];
        if (xSrc + xs.first < 0 || xSrc + xs.last > src.width()) continue;
        uint32_t& out = t.At(tx, ty);
        out = ApplyRop(rop, Combine(src, xs, ys, xSrc, srcTop, mode), out);
      }
    }
  });
  return srcHeight;
}
