// DrawPackedDib: a PackedDib stretched onto a device context.
#include <cstring>
#include <vector>

#include "package/dib_reader.h"

void DrawPackedDib(HDC dc, int xDest, int yDest, int destWidth, int destHeight, PackedDib dib, int xSource,
                   int ySource, int sourceWidth, int sourceHeight, DWORD rop) {
  if (dib == nullptr) {
    PatBlt(dc, xDest, yDest, destWidth, destHeight, rop);
    return;
  }
  // A copy of the header and table, so that the drawing is told only of the
  // rows the block really carries: a short image leaves the rows it lacks
  // (the top ones of a bottom-up image) as they were.
  DWORD tableSize = DibColorTableSize(dib);
  std::vector<BYTE> info(kDibHeaderSize + tableSize);
  std::memcpy(info.data(), dib, info.size());
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib, sizeof header);
  int64_t rowBytes = (int64_t{header.biBitCount} * header.biWidth + 31) / 32 * 4;
  if (rowBytes <= 0) return;
  int64_t rows = DibImageSize(dib) / rowBytes;
  int64_t height = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
  if (rows == 0) return;
  if (rows < height) header.biHeight = static_cast<LONG>(header.biHeight < 0 ? -rows : rows);
  // The block keeps a bit-field image's masks after its colour table; the
  // drawing wants them right behind the header.
  WORD colors = DibColorCount(dib);
  if (header.biCompression == BI_BITFIELDS && colors > 0) {
    std::memcpy(info.data() + kDibHeaderSize, dib + kDibHeaderSize + colors * 4, 12);
    header.biClrUsed = 0;
  }
  std::memcpy(info.data(), &header, sizeof header);
  StretchDIBits(dc, xDest, yDest, destWidth, destHeight, xSource, ySource, sourceWidth, sourceHeight, DibBits(dib),
                reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, rop);
}
