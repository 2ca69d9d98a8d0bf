// glimmerkit pack: writes a content package. Everything that would make a
// package the saver shows wrongly is refused here, with the reason.
#include <getopt.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "package/package_layout.h"
#include "tools/glimmerkit/commands.h"
#include "tools/glimmerkit/file_bytes.h"
#include "tools/glimmerkit/jpeg_facts.h"
#include "tools/glimmerkit/package_writer.h"

namespace {

constexpr const char* kName = "pack";
constexpr int kDistanceIndices = 4;  // the saver's viewing-distance table
constexpr int kMostSatellites = 2;

void PrintHelp() {
  printf(
      "usage: glimmerkit pack --output FILE --name NAME [OPTIONS] [PICTURE.jpg ...]\n"
      "\n"
      "Writes a content package from up to six JPEG pictures, in face order.\n"
      "\n"
      "  -o, --output FILE         the package to write (NAME.DAT beside the saver)\n"
      "  -n, --name TEXT           the saver's name, up to %u bytes\n"
      "  -d, --description TEXT    the description the settings dialog shows\n"
      "      --description-file F  the description, read from a file\n"
      "  -b, --banner TEXT         the line that scrolls along the screen, up to %u bytes\n"
      "      --image-count N       picture slots, 1 to 6 (default: the number of pictures);\n"
      "                            5 a pyramid, 6 a cube, any other count a panel\n"
      "                            (showing pictures 1 and 2); slots without a\n"
      "                            picture stay empty\n"
      "      --satellites N        extra copies of the solid circling it, 0 to 2 (default 0)\n"
      "      --distance N          viewing distance, 0 (near) to 3 (far) (default 1)\n"
      "      --orbit               the main solid circles the centre too\n"
      "      --orbit-step N        degrees of orbit a tick, -128 to 127 (default 0)\n"
      "      --spin-x N            degrees of spin a tick about each axis,\n"
      "      --spin-y N              -128 to 127 (default 0)\n"
      "      --spin-z N\n"
      "      --slow-timer          a frame every 1200 ms instead of every 25 ms\n"
      "  -h, --help                this text\n",
      kSaverNameMaxLength, kBannerMaxLength);
}

enum LongOnly {
  kDescriptionFile = 256,
  kImageCount,
  kSatellites,
  kDistance,
  kOrbit,
  kOrbitStep,
  kSpinX,
  kSpinY,
  kSpinZ,
  kSlowTimer,
};

const option kOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"name", required_argument, nullptr, 'n'},
    {"description", required_argument, nullptr, 'd'},
    {"description-file", required_argument, nullptr, kDescriptionFile},
    {"banner", required_argument, nullptr, 'b'},
    {"image-count", required_argument, nullptr, kImageCount},
    {"satellites", required_argument, nullptr, kSatellites},
    {"distance", required_argument, nullptr, kDistance},
    {"orbit", no_argument, nullptr, kOrbit},
    {"orbit-step", required_argument, nullptr, kOrbitStep},
    {"spin-x", required_argument, nullptr, kSpinX},
    {"spin-y", required_argument, nullptr, kSpinY},
    {"spin-z", required_argument, nullptr, kSpinZ},
    {"slow-timer", no_argument, nullptr, kSlowTimer},
    {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

// Parses a whole decimal number within [low, high].
bool ParseNumber(const char* text, long low, long high, long* value) {
  errno = 0;
  char* end = nullptr;
  long parsed = strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

// Reads one picture and keeps it through its end-of-image marker.
bool LoadPicture(const std::string& path, std::vector<uint8_t>* picture, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes, error)) return false;
  JpegFacts facts = ReadJpegFacts(bytes.data(), bytes.size());
  if (!facts.usable) {
    *error = path + ": not a picture the saver can show: " + facts.problem;
    return false;
  }
  size_t length = JpegStreamLength(bytes.data(), bytes.size());
  if (length == 0) {
    *error = path + ": the JPEG stream has no end-of-image marker (cut short?)";
    return false;
  }
  picture->assign(bytes.begin(), bytes.begin() + length);
  return true;
}

}  // namespace

int RunPackCommand(int argc, char** argv) {
  PackageContents contents;
  contents.settings[kDistanceIndexByte] = 1;
  std::string output;
  bool named = false;
  long imageCount = -1;
  std::string error;

  optind = 1;
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, "o:n:d:b:h", kOptions, nullptr)) != -1) {
    long value = 0;
    auto number = [&](long low, long high, const char* what) {
      if (ParseNumber(optarg, low, high, &value)) return true;
      CommandError(kName, std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high) + ", not '" + optarg + "'",
                   2);
      return false;
    };
    auto step = [&](int byte, const char* what) {
      if (!number(SCHAR_MIN, SCHAR_MAX, what)) return false;
      contents.settings[byte] = static_cast<uint8_t>(static_cast<int8_t>(value));
      return true;
    };
    switch (option) {
      case 'o': output = optarg; break;
      case 'n': contents.name = optarg; named = true; break;
      case 'd': contents.description = optarg; break;
      case kDescriptionFile: {
        std::vector<uint8_t> bytes;
        if (!ReadFileBytes(optarg, &bytes, &error)) return CommandError(kName, error);
        contents.description.assign(bytes.begin(), bytes.end());
        break;
      }
      case 'b': contents.banner = optarg; break;
      case kImageCount:
        if (!number(1, kMaxPackagePictures, "--image-count")) return 2;
        imageCount = value;
        break;
      case kSatellites:
        if (!number(0, kMostSatellites, "--satellites")) return 2;
        contents.settings[kSatelliteCountByte] = static_cast<uint8_t>(value);
        break;
      case kDistance:
        if (!number(0, kDistanceIndices - 1, "--distance")) return 2;
        contents.settings[kDistanceIndexByte] = static_cast<uint8_t>(value);
        break;
      case kOrbit: contents.settings[kOrbitEnabledByte] = 1; break;
      case kOrbitStep: if (!step(kOrbitStepByte, "--orbit-step")) return 2; break;
      case kSpinX: if (!step(kSpinStepXByte, "--spin-x")) return 2; break;
      case kSpinY: if (!step(kSpinStepYByte, "--spin-y")) return 2; break;
      case kSpinZ: if (!step(kSpinStepZByte, "--spin-z")) return 2; break;
      case kSlowTimer: contents.settings[kSlowTimerByte] = 1; break;
      case 'h': PrintHelp(); return 0;
      default:
        return CommandError(kName, std::string("unknown option or missing value: ") + argv[optind - 1] +
                                       " (see glimmerkit pack --help)",
                            2);
    }
  }

  if (output.empty()) return CommandError(kName, "--output FILE is required", 2);
  if (!named) return CommandError(kName, "--name TEXT is required", 2);
  int pictureCount = argc - optind;
  if (pictureCount > kMaxPackagePictures)
    return CommandError(kName, std::to_string(pictureCount) + " pictures given; a package holds at most " +
                                   std::to_string(kMaxPackagePictures), 2);
  if (imageCount < 0) imageCount = pictureCount;
  if (imageCount < pictureCount)
    return CommandError(kName, "--image-count " + std::to_string(imageCount) + " leaves out some of the " +
                                   std::to_string(pictureCount) + " pictures", 2);
  if (contents.name.size() > kSaverNameMaxLength)
    return CommandError(kName, "the name has " + std::to_string(contents.name.size()) + " bytes; at most " +
                                   std::to_string(kSaverNameMaxLength) + " fit the saver's settings key");
  if (contents.banner.size() > kBannerMaxLength)
    return CommandError(kName, "the banner has " + std::to_string(contents.banner.size()) + " bytes; at most " +
                                   std::to_string(kBannerMaxLength) + " fit");
  if (contents.description.size() > 0xFFFF)
    return CommandError(kName, "the description has " + std::to_string(contents.description.size()) +
                                   " bytes; at most 65535 fit");
  if (contents.description.find('\0') != std::string::npos)
    return CommandError(kName, "the description holds a NUL byte, which would end it early");

  contents.settings[kImageCountByte] = static_cast<uint8_t>(imageCount);
  contents.pictures.resize(imageCount);
  for (int i = 0; i < pictureCount; ++i)
    if (!LoadPicture(argv[optind + i], &contents.pictures[i], &error)) return CommandError(kName, error);

  uint64_t total = PictureAreaOffset(contents);
  for (const auto& picture : contents.pictures) total += picture.size();
  if (total > 0x7FFFFFFFu)
    return CommandError(kName, "the pictures take " + std::to_string(total) +
                                   " bytes; a package keeps its pictures below 2 GiB");

  if (!WriteFileBytes(output, WritePackage(contents), &error)) return CommandError(kName, error);
  return 0;
}
