#include "tools/glimmerkit/package_inspector.h"

#include <algorithm>
#include <cstring>

#include "package/package_layout.h"

namespace {

// Reads the package like the saver: bytes past the end read as zero, and
// the first read that runs past the end is remembered as the damage.
class PackageBytes {
 public:
  explicit PackageBytes(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  void Read(uint64_t at, void* out, size_t count, const char* what) {
    uint8_t* dest = static_cast<uint8_t*>(out);
    memset(dest, 0, count);
    if (at < bytes_.size()) memcpy(dest, bytes_.data() + at, std::min<uint64_t>(count, bytes_.size() - at));
    if (at + count > bytes_.size() && shortWhat_.empty()) {
      shortWhat_ = what;
      shortNeeded_ = at + count;
    }
  }
  uint32_t Number(uint64_t at, int bytes, const char* what) {
    uint8_t raw[4] = {};
    Read(at, raw, bytes, what);
    return raw[0] | raw[1] << 8 | raw[2] << 16 | static_cast<uint32_t>(raw[3]) << 24;
  }
  std::string Text(uint64_t at, size_t count, const char* what) {
    std::string text(count, '\0');
    Read(at, text.data(), count, what);
    return text;
  }
  // The first field the package ends inside, as a sentence; empty if none.
  std::string Shortfall() const {
    if (shortWhat_.empty()) return {};
    return "the package ends at byte " + std::to_string(bytes_.size()) + ", inside the " + shortWhat_ +
           " (which needs " + std::to_string(shortNeeded_) + " bytes)";
  }

 private:
  const std::vector<uint8_t>& bytes_;
  std::string shortWhat_;
  uint64_t shortNeeded_ = 0;
};

void InspectPicture(const std::vector<uint8_t>& bytes, PictureReport* picture) {
  if (picture->offset == 0) return;
  if (picture->offset >= bytes.size()) {
    picture->problem = "offset " + std::to_string(picture->offset) + " lies beyond the end of the package";
    return;
  }
  const uint8_t* data = bytes.data() + picture->offset;
  size_t room = bytes.size() - picture->offset;
  picture->facts = ReadJpegFacts(data, room);
  if (!picture->facts.problem.empty()) {
    picture->problem = "not a picture the saver can show: " + picture->facts.problem;
    return;
  }
  picture->length = JpegStreamLength(data, room);
  if (picture->length == 0) picture->problem = "the picture has no end-of-image marker (cut short?)";
}

}  // namespace

PackageReport InspectPackage(const std::vector<uint8_t>& bytes) {
  PackageReport report;
  report.size = bytes.size();
  PackageBytes file(bytes);

  std::string banner = file.Text(kBannerOffset, kBannerSize, "banner");
  size_t end = banner.find('\0');
  if (end == std::string::npos) {
    report.notes.push_back("the banner has no terminating NUL; the saver shows its first " +
                           std::to_string(kBannerMaxLength) + " characters");
    end = kBannerMaxLength;
  }
  report.banner = banner.substr(0, end);

  file.Read(kSettingsOffset, report.settings.data(), kSettingsSize, "settings");
  uint32_t nameLength = file.Number(kNameLengthOffset, 2, "name length");
  report.name = file.Text(kNameLengthOffset + 2, nameLength, "name");
  uint32_t descriptionAt = kNameLengthOffset + 2 + nameLength;
  uint32_t descriptionLength = file.Number(descriptionAt, 2, "description length");
  report.description = file.Text(descriptionAt + 2, descriptionLength, "description");
  report.descriptionEnd = descriptionAt + 2 + descriptionLength;
  if (nameLength > kSaverNameMaxLength)
    report.notes.push_back("the name has " + std::to_string(nameLength) + " bytes; the saver uses the first " +
                           std::to_string(kSaverNameMaxLength));

  int declared = static_cast<int8_t>(report.settings[kImageCountByte]);
  if (declared > kMaxPackagePictures)
    report.problems.push_back("imageCount is " + std::to_string(declared) + ", more than the " +
                              std::to_string(kMaxPackagePictures) + " pictures a package holds; the saver loads the first " +
                              std::to_string(kMaxPackagePictures));
  if (declared <= 0) report.notes.push_back("imageCount is " + std::to_string(declared) + ": no pictures");
  int visited = std::clamp(declared, 0, kMaxPackagePictures);
  for (int slot = 0; slot < visited; ++slot) {
    PictureReport picture;
    picture.slot = slot;
    picture.offset = file.Number(DirectoryEntryOffset(report.descriptionEnd, slot), 4, "picture directory");
    report.pictures.push_back(picture);
  }
  // Damage in the fixed part first: later values read as zero because of it.
  std::string shortfall = file.Shortfall();
  if (!shortfall.empty()) report.problems.insert(report.problems.begin(), shortfall);

  for (PictureReport& picture : report.pictures) {
    InspectPicture(bytes, &picture);
    if (!picture.problem.empty())
      report.problems.push_back("picture " + std::to_string(picture.slot + 1) + ": " + picture.problem);
  }
  return report;
}
