// Fixtures for the package tests, all made by code: a private folder per
// test, JPEG pictures from the encoder, bitmap files from BmpRecipe, and
// packages from glimmerkit's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/package_writer.h"

// A fresh folder, removed with everything in it when the test ends. Also
// points the layer's data root ($GLIMMER_WINDOWS_DIR) at root/ and its
// private temporary folder ($XDG_RUNTIME_DIR) at runtime/ inside it.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  // A host path inside the folder; folders on the way are made.
  std::string Host(const std::string& relative) const;
  // The same path, Windows-style, as the engine sees it.
  std::string Windows(const std::string& relative) const;
  const std::string& root() const { return root_; }

 private:
  std::string root_;
};

void WriteHostFile(const std::string& hostPath, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadHostFile(const std::string& hostPath);
bool HostFileExists(const std::string& hostPath);

struct Rgb {
  uint8_t r, g, b;
};

// A picture of one colour.
JpegPicture SolidPicture(unsigned width, unsigned height, Rgb colour);
// A picture of four 16-pixel-aligned quadrants: top-left, top-right,
// bottom-left, bottom-right.
JpegPicture QuadrantPicture(unsigned width, unsigned height, Rgb tl, Rgb tr, Rgb bl, Rgb br);

// Whether two colours are within `tolerance` in every channel (JPEG is lossy).
bool Near(Rgb a, Rgb b, int tolerance = 10);

// A bitmap file as the tests want it, however odd.
struct BmpRecipe {
  bool fileHeader = true;
  bool core = false;          // 12-byte header instead of 40
  uint32_t headerSize = 0;    // 0: 40 (or 12 for core); anything else is written as is
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t imageSizeField = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint8_t> table;   // raw table bytes as the file holds them (masks included)
  std::vector<uint8_t> pixels;  // raw pixel bytes
  int64_t bitsOffset = -1;      // -1: right behind the table
};
std::vector<uint8_t> MakeBmp(const BmpRecipe& recipe);

// Little-endian fields of a byte buffer.
uint32_t Le32(const uint8_t* at);
uint16_t Le16(const uint8_t* at);
