// Reads a content package the way the saver does and says what it finds:
// every field, every picture's place and size, and everything that would
// make the saver show less than the package means to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/glimmerkit/jpeg_facts.h"

struct PictureReport {
  int slot = 0;             // 0 to 5
  uint32_t offset = 0;      // 0: an empty slot
  size_t length = 0;        // through the end-of-image marker; 0 when unknown
  JpegFacts facts;
  std::string problem;      // empty when the saver loads this picture
};

struct PackageReport {
  size_t size = 0;
  std::string banner;  // as the saver shows it
  std::array<uint8_t, 9> settings{};
  std::string name;
  std::string description;
  uint32_t descriptionEnd = 0;
  std::vector<PictureReport> pictures;  // the entries the saver visits
  std::vector<std::string> problems;    // damage: the package is broken
  std::vector<std::string> notes;       // legal but worth knowing
};

PackageReport InspectPackage(const std::vector<uint8_t>& bytes);
