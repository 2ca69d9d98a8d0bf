// Where things lie in a content package (.DAT). Every number is
// little-endian; texts carry no terminator in the file.
//
//   0      3584  not read (zeros)
//   3584   2048  banner text, ends at the first NUL
//   5632   9     the nine scene settings
//   5641   2     name length N, then N bytes of name
//   5643+N 2     description length D, then D bytes of description
//   5645+N+D     descriptionEnd: 8 bytes not interpreted, then the picture
//                directory, 8 bytes an entry (32-bit offset of the JPEG
//                data, 4 bytes never read)
//
// The writer of glimmerkit and the engine's readers both take their numbers
// from here.
#pragma once

#include <cstdint>

constexpr uint32_t kBannerOffset = 3584;
constexpr uint32_t kBannerSize = 2048;
constexpr uint32_t kSettingsOffset = 5632;
constexpr uint32_t kSettingsSize = 9;
constexpr uint32_t kNameLengthOffset = kSettingsOffset + kSettingsSize;  // 5641
// Between the description and the directory.
constexpr uint32_t kDirectoryGap = 8;
constexpr uint32_t kDirectoryEntrySize = 8;

// The engine keeps six picture slots; a package never holds more pictures.
constexpr int kMaxPackagePictures = 6;

// The longest banner the saver shows: the area holds its terminator too.
constexpr uint32_t kBannerMaxLength = kBannerSize - 1;

// The saver's name ends up in fixed buffers: the registry key
// "Software\Vantrel\Made with Glimmerkit\" + name in 256 bytes (38 + 217 + NUL)
// and the 260-byte caption and name buffers of the settings dialog. The
// engine reads at most this many bytes of a name, and glimmerkit refuses
// longer ones, so every buffer that holds a name always fits it.
constexpr uint32_t kSaverNameMaxLength = 217;

// Index of each setting inside the nine bytes.
enum SceneSettingIndex {
  kImageCountByte = 0,
  kSatelliteCountByte,
  kDistanceIndexByte,
  kOrbitEnabledByte,
  kOrbitStepByte,
  kSpinStepXByte,
  kSpinStepYByte,
  kSpinStepZByte,
  kSlowTimerByte,
};

// Position of directory entry `index` for a package whose description ends
// at `descriptionEnd`.
constexpr uint32_t DirectoryEntryOffset(uint32_t descriptionEnd, int index) {
  return descriptionEnd + kDirectoryGap + kDirectoryEntrySize * static_cast<uint32_t>(index);
}
