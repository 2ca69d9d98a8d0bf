#include "dib_source.h"

#include <cstring>

namespace platform::gdi {
namespace {

uint32_t LoadDword(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

uint32_t DibSource::Channel::Expand(uint32_t value) const {
  uint32_t v = (value & mask) >> shift;
  if (width >= 8) return v >> (width - 8);
  // Repeat the field's bits down to 8 bits, so that a full field is 255.
  uint32_t out = 0;
  for (int pos = 8 - width; pos > -width; pos -= width) out |= pos >= 0 ? v << pos : v >> -pos;
  return out & 0xFF;
}

bool DibSource::Open(const BITMAPINFO* info, const void* bits) {
  if (info == nullptr || bits == nullptr) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == INT32_MIN || h.biWidth > 65535 || h.biHeight > 65535 || h.biHeight < -65535)
    return false;
  width_ = h.biWidth;
  topDown_ = h.biHeight < 0;
  height_ = topDown_ ? -h.biHeight : h.biHeight;
  bitCount_ = h.biBitCount;
  rowBytes_ = ((static_cast<size_t>(bitCount_) * width_ + 31) / 32) * 4;
  bits_ = static_cast<const uint8_t*>(bits);
  const uint8_t* afterHeader = reinterpret_cast<const uint8_t*>(info) + h.biSize;

  auto setMasks = [this](uint32_t r, uint32_t g, uint32_t b) {
    Channel* channels[3] = {&red_, &green_, &blue_};
    uint32_t masks[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
      Channel* channel = channels[i];
      uint32_t mask = masks[i];
      channel->mask = mask;
      channel->shift = 0;
      channel->width = 0;
      if (mask == 0) continue;
      while (((mask >> channel->shift) & 1) == 0) channel->shift++;
      while (channel->shift + channel->width < 32 && ((mask >> (channel->shift + channel->width)) & 1))
        channel->width++;
    }
  };

  switch (bitCount_) {
    case 1: case 4: case 8: {
      if (h.biCompression != BI_RGB) return false;
      int full = 1 << bitCount_;
      colorCount_ = h.biClrUsed != 0 && h.biClrUsed < static_cast<DWORD>(full) ? static_cast<int>(h.biClrUsed) : full;
      colors_ = reinterpret_cast<const RGBQUAD*>(afterHeader);
      return true;
    }
    case 16:
    case 32:
      if (h.biCompression == BI_BITFIELDS) {
        // Masks follow a 40-byte header, or sit inside a larger one.
        const uint8_t* masks = h.biSize == sizeof(BITMAPINFOHEADER)
                                   ? afterHeader
                                   : reinterpret_cast<const uint8_t*>(info) + sizeof(BITMAPINFOHEADER);
        if (h.biSize != sizeof(BITMAPINFOHEADER) && h.biSize < 52) return false;
        setMasks(LoadDword(masks), LoadDword(masks + 4), LoadDword(masks + 8));
      } else if (h.biCompression == BI_RGB) {
        if (bitCount_ == 16) setMasks(0x7C00, 0x03E0, 0x001F);
        else setMasks(0x00FF0000, 0x0000FF00, 0x000000FF);
      } else {
        return false;
      }
      return true;
    case 24:
      return h.biCompression == BI_RGB;
    default:
      return false;
  }
}

uint32_t DibSource::Pixel(int x, int y) const {
  int memoryRow = topDown_ ? y : height_ - 1 - y;
  const uint8_t* row = bits_ + static_cast<size_t>(memoryRow) * rowBytes_;
  switch (bitCount_) {
    case 1: case 4: case 8: {
      int perByte = 8 / bitCount_;
      int shift = 8 - bitCount_ * (x % perByte + 1);
      int index = (row[x / perByte] >> shift) & ((1 << bitCount_) - 1);
      // An index past the table shows black rather than reading beyond it.
      if (index >= colorCount_) return 0;
      const RGBQUAD& c = colors_[index];
      return (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
    }
    case 24: {
      const uint8_t* p = row + static_cast<size_t>(x) * 3;
      return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
    default: {
      uint32_t value;
      if (bitCount_ == 16) {
        uint16_t v16;
        std::memcpy(&v16, row + static_cast<size_t>(x) * 2, 2);
        value = v16;
      } else {
        value = LoadDword(row + static_cast<size_t>(x) * 4);
      }
      return (red_.Expand(value) << 16) | (green_.Expand(value) << 8) | blue_.Expand(value);
    }
  }
}

}  // namespace platform::gdi
