// DIB sections: 32-bit bitmaps whose pixels the caller reads and writes
// directly, bottom-up (positive height) or top-down (negative height).
#include <cstdlib>

#include "device_context.h"
#include "gdi_objects.h"

namespace {

// Larger than any screen or texture the engine makes (16384 x 16384).
constexpr int64_t kMaxPixels = int64_t{16384} * 16384;

HBITMAP MakeBitmap(int width, int height, bool topDown, void** bits) {
  if (bits != nullptr) *bits = nullptr;
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPixels) return nullptr;
  auto* pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, 4));
  if (pixels == nullptr) return nullptr;
  platform::gdi::Object o;
  o.type = OBJ_BITMAP;
  o.bitmap = platform::gdi::Bitmap{width, height, topDown, pixels};
  if (bits != nullptr) *bits = pixels;
  return reinterpret_cast<HBITMAP>(platform::gdi::AddObject(std::move(o)));
}

bool IsPlainRgbMasks(const BITMAPINFO* info) {
  // Bit fields equal to the plain 32-bit layout describe the same pixels.
  const auto* masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(info) + 40);
  return masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF;
}

}  // namespace

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
  if (bits != nullptr) *bits = nullptr;
  if (info == nullptr || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return nullptr;
  // Sections over a file mapping are not offered.
  if (section != nullptr) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  bool plain = h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && IsPlainRgbMasks(info));
  if (h.biBitCount != 32 || !plain || h.biHeight == INT32_MIN) return nullptr;
  bool topDown = h.biHeight < 0;
  return MakeBitmap(h.biWidth, topDown ? -h.biHeight : h.biHeight, topDown, bits);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (platform::gdi::FindDc(dc) == nullptr) return nullptr;
  return MakeBitmap(width, height, true, nullptr);
}
