// What glimmerkit needs to know about a JPEG stream without decoding it:
// where it ends, and what its header says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Length of the JPEG stream at `data`, through its end-of-image marker; 0
// when the data do not start with a start-of-image marker or end before the
// end-of-image marker. A package bounds a picture by nothing else.
size_t JpegStreamLength(const uint8_t* data, size_t size);

struct JpegFacts {
  unsigned width = 0;
  unsigned height = 0;
  int components = 0;
  std::string colours;  // "YCbCr", "grayscale", "RGB", "CMYK", "YCCK", "unknown"
  bool progressive = false;
  bool arithmetic = false;
  bool usable = false;  // the saver can show it (colours known, within the size limit)
  std::string problem;  // why not, or the decoder's complaint about the header
};

// Reads the header of the JPEG stream in `data` (nothing is decoded).
JpegFacts ReadJpegFacts(const uint8_t* data, size_t size);
