#include "package/dib_reader.h"

#include <climits>
#include <cstring>

#include "package/picture_limits.h"

namespace {

// Byte offsets inside the 40-byte info header.
constexpr int kSizeField = 0;
constexpr int kWidthField = 4;
constexpr int kHeightField = 8;
constexpr int kPlanesField = 12;
constexpr int kBitCountField = 14;
constexpr int kCompressionField = 16;
constexpr int kImageSizeField = 20;
constexpr int kColorsUsedField = 32;
constexpr int kColorsImportantField = 36;
// The 12-byte core header: 16-bit width, height, planes and bit count.
constexpr DWORD kCoreHeaderSize = 12;
constexpr int kCoreBitCountField = 10;

constexpr WORD kBmpType = 0x4D42;  // "BM"
constexpr DWORD kUncompressed = 0;
constexpr DWORD kBitFields = 3;
constexpr DWORD kMaxColorsUsed = 0xFFFF;
constexpr int64_t kLargestSeek = 0x7FFFFFFF;  // positions are 32-bit LONGs

WORD Get16(const BYTE* at) { return static_cast<WORD>(at[0] | at[1] << 8); }
DWORD Get32(const BYTE* at) {
  return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 | static_cast<DWORD>(at[2]) << 16 |
         static_cast<DWORD>(at[3]) << 24;
}
void Put16(BYTE* at, WORD value) {
  at[0] = static_cast<BYTE>(value);
  at[1] = static_cast<BYTE>(value >> 8);
}
void Put32(BYTE* at, DWORD value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

// Reads up to `count` bytes; returns how many came (never more than asked).
long ReadSome(HFILE file, void* buffer, long count) {
  long got = _hread(file, buffer, count);
  return got < 0 || got > count ? 0 : got;
}

bool ReadWhole(HFILE file, void* buffer, long count) { return ReadSome(file, buffer, count) == count; }

uint64_t RowBytes(const BYTE* header) {
  uint64_t bits = static_cast<uint64_t>(Get16(header + kBitCountField)) * static_cast<LONG>(Get32(header + kWidthField));
  return (bits + 31) / 32 * 4;
}

uint64_t RowCount(const BYTE* header) {
  int64_t height = static_cast<LONG>(Get32(header + kHeightField));
  return static_cast<uint64_t>(height < 0 ? -height : height);
}

// Whether the 40-byte header describes an image this engine can hold and
// draw: a positive width, a height other than 0 (negative means top row
// first), 1, 4, 8, 16, 24 or 32 bits, no compression or bit fields at 16 and
// 32 bits, a colour count a table can hold, and no more pixels than the
// limit.
bool UsableHeader(const BYTE* header) {
  LONG width = static_cast<LONG>(Get32(header + kWidthField));
  LONG height = static_cast<LONG>(Get32(header + kHeightField));
  WORD bits = Get16(header + kBitCountField);
  DWORD compression = Get32(header + kCompressionField);
  if (width <= 0 || height == 0 || height == INT_MIN) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression != kUncompressed && !(compression == kBitFields && (bits == 16 || bits == 32))) return false;
  if (Get32(header + kColorsUsedField) > kMaxColorsUsed) return false;
  return static_cast<uint64_t>(width) * RowCount(header) <= kMaxPicturePixels;
}

// The header as the block keeps it: the image size is what the rows take
// (the file's value is not trusted either way), colours used is the table's
// entry count.
void CompleteHeader(BYTE* header) {
  Put32(header + kImageSizeField, static_cast<DWORD>(RowBytes(header) * RowCount(header)));
  if (Get32(header + kColorsUsedField) == 0) Put32(header + kColorsUsedField, DibColorCount(header));
}

// Reads the info header at the current position into `header` (40 bytes),
// turning a core header into an info header. False for any other size or a
// file too short to hold the header.
bool ReadInfoHeader(HFILE file, BYTE* header, bool* core) {
  memset(header, 0, kDibHeaderSize);
  if (!ReadWhole(file, header, 4)) return false;
  DWORD size = Get32(header + kSizeField);
  if (size == kDibHeaderSize) {
    *core = false;
    return ReadWhole(file, header + 4, kDibHeaderSize - 4);
  }
  if (size != kCoreHeaderSize) return false;
  BYTE coreHeader[kCoreHeaderSize];
  memcpy(coreHeader, header, 4);
  if (!ReadWhole(file, coreHeader + 4, kCoreHeaderSize - 4)) return false;
  WORD count = DibColorCount(coreHeader);
  memset(header, 0, kDibHeaderSize);
  Put32(header + kSizeField, kDibHeaderSize);
  Put32(header + kWidthField, Get16(coreHeader + 4));
  Put32(header + kHeightField, Get16(coreHeader + 6));
  Put16(header + kPlanesField, Get16(coreHeader + 8));
  Put16(header + kBitCountField, Get16(coreHeader + kCoreBitCountField));
  Put32(header + kColorsUsedField, count);
  Put32(header + kColorsImportantField, count);
  *core = true;
  return true;
}

// A core file's table has 3-byte entries; widen them in place, last first,
// so that no entry is overwritten before it is read.
void WidenCoreTable(BYTE* table, WORD count) {
  for (int i = count - 1; i >= 0; --i) {
    BYTE blue = table[3 * i], green = table[3 * i + 1], red = table[3 * i + 2];
    table[4 * i] = blue;
    table[4 * i + 1] = green;
    table[4 * i + 2] = red;
    table[4 * i + 3] = 0;
  }
}

}  // namespace

WORD DibColorCount(const BYTE* header) {
  WORD bits;
  if (Get32(header + kSizeField) == kCoreHeaderSize) {
    bits = Get16(header + kCoreBitCountField);
  } else {
    DWORD used = Get32(header + kColorsUsedField);
    if (used != 0) return static_cast<WORD>(used);
    bits = Get16(header + kBitCountField);
  }
  return bits <= 8 ? static_cast<WORD>(1u << bits) : 0;
}

DWORD DibColorTableSize(const BYTE* header) {
  DWORD count = DibColorCount(header);
  if (Get32(header + kSizeField) == kCoreHeaderSize) return count * 3;
  if (Get32(header + kCompressionField) == kBitFields) return count * 4 + 12;
  return count * 4;
}

void ReadBmpFileHeader(HFILE file, BmpFileHeader* header, LONG* start) {
  BYTE bytes[14] = {};
  *start = _llseek(file, 0, FILE_CURRENT);
  ReadSome(file, bytes, sizeof bytes);
  header->type = Get16(bytes);
  header->size = Get32(bytes + 2);
  header->reserved1 = Get16(bytes + 6);
  header->reserved2 = Get16(bytes + 8);
  header->bitsOffset = Get32(bytes + 10);
}

PackedDib ReadDibHeader(HFILE file) {
  if (file == HFILE_ERROR) return nullptr;
  BmpFileHeader fileHeader;
  LONG start = 0;
  ReadBmpFileHeader(file, &fileHeader, &start);
  if (fileHeader.type != kBmpType) {
    // No file header: the file begins with the info header.
    fileHeader.bitsOffset = 0;
    _llseek(file, start, FILE_BEGIN);
  }

  BYTE header[kDibHeaderSize];
  bool core = false;
  if (!ReadInfoHeader(file, header, &core) || !UsableHeader(header)) return nullptr;
  CompleteHeader(header);

  DWORD tableSize = DibColorTableSize(header);
  PackedDib dib = static_cast<PackedDib>(GlobalAlloc(GPTR, kDibHeaderSize + tableSize));
  if (dib == nullptr) return nullptr;
  memcpy(dib, header, kDibHeaderSize);
  BYTE* table = dib + kDibHeaderSize;
  // Exactly the table's bytes: the pixel rows of a file without a file
  // header follow right behind them.
  WORD count = DibColorCount(header);
  if (core) {
    ReadSome(file, table, count * 3L);
    WidenCoreTable(table, count);
  } else {
    ReadSome(file, table, static_cast<long>(tableSize));
  }

  if (fileHeader.bitsOffset != 0) {
    int64_t bits = static_cast<int64_t>(start) + fileHeader.bitsOffset;
    // An offset beyond what a seek can reach lies beyond the file: the rows
    // then read as nothing.
    if (bits > kLargestSeek)
      _llseek(file, 0, FILE_END);
    else
      _llseek(file, static_cast<LONG>(bits), FILE_BEGIN);
  }
  return dib;
}

BOOL CopyDibHeader(PackedDib dib, BYTE* header) {
  if (dib == nullptr) return 0;
  memcpy(header, dib, kDibHeaderSize);
  if (Get32(header + kSizeField) == kCoreHeaderSize) return 1;
  if (Get32(header + kImageSizeField) == 0) Put32(header + kImageSizeField, static_cast<DWORD>(RowBytes(header) * RowCount(header)));
  if (Get32(header + kColorsUsedField) == 0) Put32(header + kColorsUsedField, DibColorCount(header));
  return 1;
}

PackedDib ReadPackedDib(const char* path) {
  OFSTRUCT openInfo;
  HFILE file = OpenFile(path, &openInfo, OF_READ);
  if (file == HFILE_ERROR) return nullptr;
  PackedDib dib = ReadDibHeader(file);
  if (dib == nullptr) {
    _lclose(file);
    return nullptr;
  }
  BYTE header[kDibHeaderSize];
  CopyDibHeader(dib, header);
  DWORD tableSize = DibColorTableSize(header);
  DWORD imageSize = Get32(header + kImageSizeField);
  PackedDib grown =
      static_cast<PackedDib>(GlobalReAlloc(dib, kDibHeaderSize + tableSize + static_cast<SIZE_T>(imageSize), GMEM_MOVEABLE));
  if (grown == nullptr) {
    FreePackedDib(dib);
    _lclose(file);
    return nullptr;
  }
  BYTE* bits = grown + kDibHeaderSize + tableSize;
  long got = ReadSome(file, bits, static_cast<long>(imageSize));
  // A file shorter than its header promises: the rows it lacks are black.
  memset(bits + got, 0, imageSize - static_cast<DWORD>(got));
  _lclose(file);
  return grown;
}

void FreePackedDib(PackedDib dib) {
  if (dib != nullptr) GlobalFree(dib);
}

LONG DibWidth(PackedDib dib) { return static_cast<LONG>(Get32(dib + kWidthField)); }
LONG DibHeight(PackedDib dib) { return static_cast<LONG>(Get32(dib + kHeightField)); }
WORD DibBitCount(PackedDib dib) { return Get16(dib + kBitCountField); }
DWORD DibImageSize(PackedDib dib) { return Get32(dib + kImageSizeField); }
BYTE* DibBits(PackedDib dib) { return dib + kDibHeaderSize + DibColorTableSize(dib); }
