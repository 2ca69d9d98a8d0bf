// Device-independent bitmaps read from files into one block of global
// memory, the PackedDib: a 40-byte info header, its colour table (and the
// three colour masks of a bit-field image), then the pixel rows.
//
// The reader takes files with or without the 14-byte file header, the
// 12-byte core header of older files (turned into a 40-byte header), colour
// tables and bit fields. It trusts nothing in the file: a header it cannot
// use gives null, and whatever a short file does not hold reads as zero.
// In a PackedDib the image-size field always holds the size of the pixel
// rows the block carries, and colours used the entries of its table.
// Pixel indices of a palette image may exceed that count: whoever looks
// colours up in the table checks the index against it.
#pragma once

#include "win32.h"

typedef BYTE* PackedDib;

constexpr DWORD kDibHeaderSize = 40;

// Reads the bitmap file at `path` (a Windows-style path). Null when the file
// cannot be opened, its header is not a usable 40- or 12-byte header, or no
// memory is left. The caller owns the block and releases it with
// FreePackedDib.
PackedDib ReadPackedDib(const char* path);
void FreePackedDib(PackedDib dib);

// Stretches the source rectangle of `dib` onto the destination rectangle of
// `dc` with `rop`; with no dib, fills the destination with `rop` alone.
// (Drawing lives with the drawing services, in dib_draw.cpp.)
void DrawPackedDib(HDC dc, int xDest, int yDest, int destWidth, int destHeight, PackedDib dib, int xSource,
                   int ySource, int sourceWidth, int sourceHeight, DWORD rop);

// Entries of the colour table for `header` (a 40- or 12-byte header): the
// colours-used value when set, else 2^bits up to 8 bits, else 0.
WORD DibColorCount(const BYTE* header);
// Bytes of the colour table for `header`, with the 12 mask bytes of a
// bit-field image.
DWORD DibColorTableSize(const BYTE* header);

// The fields of a PackedDib's header, and where its pixel rows begin.
LONG DibWidth(PackedDib dib);
LONG DibHeight(PackedDib dib);  // negative: top row first
WORD DibBitCount(PackedDib dib);
DWORD DibImageSize(PackedDib dib);
BYTE* DibBits(PackedDib dib);

// The 14-byte file header, as read.
struct BmpFileHeader {
  WORD type;
  DWORD size;
  WORD reserved1;
  WORD reserved2;
  DWORD bitsOffset;
};

// Reader steps, exposed for the tests.
void ReadBmpFileHeader(HFILE file, BmpFileHeader* header, LONG* start);
PackedDib ReadDibHeader(HFILE file);
BOOL CopyDibHeader(PackedDib dib, BYTE* header);
