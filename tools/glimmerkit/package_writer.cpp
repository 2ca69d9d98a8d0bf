#include "tools/glimmerkit/package_writer.h"

#include <algorithm>
#include <cstring>

#include "package/package_layout.h"

namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(std::vector<uint8_t>& out, size_t at, const std::string& text, size_t room) {
  memcpy(out.data() + at, text.data(), std::min(text.size(), room));
}

uint32_t DescriptionEnd(const PackageContents& contents) {
  // Lengths are 16-bit in the file; longer texts are cut to fit.
  uint32_t nameLength = std::min<size_t>(contents.name.size(), 0xFFFF);
  uint32_t descriptionLength = std::min<size_t>(contents.description.size(), 0xFFFF);
  return kNameLengthOffset + 2 + nameLength + 2 + descriptionLength;
}

}  // namespace

uint32_t PictureAreaOffset(const PackageContents& contents) {
  return DirectoryEntryOffset(DescriptionEnd(contents), static_cast<int>(contents.pictures.size()));
}

std::vector<uint8_t> WritePackage(const PackageContents& contents) {
  size_t total = PictureAreaOffset(contents);
  for (const auto& picture : contents.pictures) total += picture.size();
  std::vector<uint8_t> out(total, 0);

  PutText(out, kBannerOffset, contents.banner, kBannerSize);
  memcpy(out.data() + kSettingsOffset, contents.settings.data(), kSettingsSize);

  size_t at = kNameLengthOffset;
  uint32_t nameLength = std::min<size_t>(contents.name.size(), 0xFFFF);
  Put16(out, at, nameLength);
  PutText(out, at + 2, contents.name, nameLength);
  at += 2 + nameLength;
  uint32_t descriptionLength = std::min<size_t>(contents.description.size(), 0xFFFF);
  Put16(out, at, descriptionLength);
  PutText(out, at + 2, contents.description, descriptionLength);

  uint32_t descriptionEnd = DescriptionEnd(contents);
  uint32_t next = PictureAreaOffset(contents);
  for (size_t i = 0; i < contents.pictures.size(); ++i) {
    const auto& picture = contents.pictures[i];
    if (picture.empty()) continue;
    Put32(out, DirectoryEntryOffset(descriptionEnd, static_cast<int>(i)), next);
    memcpy(out.data() + next, picture.data(), picture.size());
    next += static_cast<uint32_t>(picture.size());
  }
  return out;
}
