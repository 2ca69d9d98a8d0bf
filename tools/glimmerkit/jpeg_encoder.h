// Makes JPEG streams from pixels in memory: the demo's pictures, test
// fixtures and benchmark pictures are all generated, never copied.
#pragma once

#include <cstdint>
#include <vector>

#include <cstdio>
#include <jpeglib.h>

struct JpegPicture {
  unsigned width = 0;
  unsigned height = 0;
  // Samples top row first, `components` a pixel: 3 for RGB, 1 for grayscale,
  // 4 for CMYK inks (stored inverted, 255 = no ink, as Adobe writes them).
  int components = 3;
  std::vector<uint8_t> samples;
  int quality = 90;
  // The colour model stored in the file: JCS_YCbCr for RGB input, or
  // JCS_RGB, JCS_GRAYSCALE, JCS_CMYK, JCS_YCCK.
  J_COLOR_SPACE stored = JCS_YCbCr;
  bool progressive = false;
  bool arithmetic = false;
  uint8_t densityUnit = 1;  // JFIF: 0 none, 1 per inch, 2 per centimetre
  uint16_t xDensity = 72;
  uint16_t yDensity = 72;
};

std::vector<uint8_t> EncodeJpeg(const JpegPicture& picture);
