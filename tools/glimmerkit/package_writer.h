// Lays out a content package: zeros where the saver reads nothing, the
// banner, the nine settings, name, description, the picture directory, then
// the pictures one after another. The writer writes what it is given,
// however odd (tests make damaged packages with it); `pack` checks its
// input first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct PackageContents {
  std::string banner;  // up to 2047 bytes for the saver to show it whole
  std::array<uint8_t, 9> settings{};
  std::string name;
  std::string description;
  // One directory entry each; an empty picture gets offset 0 (an empty slot).
  std::vector<std::vector<uint8_t>> pictures;
};

std::vector<uint8_t> WritePackage(const PackageContents& contents);

// Where the pictures begin in a package of these contents.
uint32_t PictureAreaOffset(const PackageContents& contents);
