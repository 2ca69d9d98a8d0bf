// Turns one picture of the content package into a 24-bit BMP file.
//
// The decoder (libjpeg-turbo through its classic interface) delivers rows
// top first; the BMP file stores them bottom first, so the writer puts each
// row at its own place in the file as it comes.
#pragma once

#include "win32.h"

// Decodes the JPEG stream that starts at `pictureOffset` in the package at
// `packagePath` and writes it to `bmpPath` (created or truncated) as an
// uncompressed bottom-up 24-bit BMP. Grayscale pictures come out grey, CMYK
// and YCCK pictures are turned into RGB, progressive and arithmetic-coded
// pictures decode like any other. Returns 1 when the whole file was
// written, 0 otherwise (no package, an offset beyond 2^31 - 1, a stream the
// decoder rejects, a picture above kMaxPicturePixels, a write that failed).
// Paths are the engine's Windows-style paths.
int ConvertJpegToBmp(const char* packagePath, const char* bmpPath, DWORD pictureOffset);
