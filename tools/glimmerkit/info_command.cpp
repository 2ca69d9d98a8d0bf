// glimmerkit info: shows a package as the saver reads it, and names what is
// wrong with a damaged one (exit code 1 then).
#include <getopt.h>

#include <cstdio>
#include <string>

#include "package/package_layout.h"
#include "tools/glimmerkit/commands.h"
#include "tools/glimmerkit/file_bytes.h"
#include "tools/glimmerkit/package_inspector.h"

namespace {

constexpr const char* kName = "info";

const char* const kSettingNames[kSettingsSize] = {
    "imageCount", "satelliteCount", "distanceIndex", "orbitEnabled", "orbitStep",
    "spinStepX",  "spinStepY",      "spinStepZ",     "slowTimer",
};

void PrintHelp() {
  printf(
      "usage: glimmerkit info PACKAGE.DAT\n"
      "\n"
      "Shows the banner, the nine settings, the name, the description and each\n"
      "picture's offset, size and dimensions, then anything that is wrong.\n"
      "Exits with 1 when the package is damaged.\n");
}

void PrintPicture(const PictureReport& picture) {
  printf("  %d  ", picture.slot + 1);
  if (picture.offset == 0) {
    printf("empty\n");
    return;
  }
  printf("offset %u", picture.offset);
  if (picture.length != 0) printf("  size %zu bytes", picture.length);
  if (picture.facts.width != 0)
    printf("  %u x %u  %s%s%s", picture.facts.width, picture.facts.height, picture.facts.colours.c_str(),
           picture.facts.progressive ? ", progressive" : "", picture.facts.arithmetic ? ", arithmetic" : "");
  printf("\n");
}

}  // namespace

int RunInfoCommand(int argc, char** argv) {
  static const option kOptions[] = {{"help", no_argument, nullptr, 'h'}, {nullptr, 0, nullptr, 0}};
  optind = 1;
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, "h", kOptions, nullptr)) != -1) {
    if (option == 'h') {
      PrintHelp();
      return 0;
    }
    return CommandError(kName, std::string("unknown option ") + argv[optind - 1], 2);
  }
  if (argc - optind != 1) return CommandError(kName, "give one package (see glimmerkit info --help)", 2);

  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(argv[optind], &bytes, &error)) return CommandError(kName, error);
  PackageReport report = InspectPackage(bytes);

  printf("package: %s (%zu bytes)\n", argv[optind], report.size);
  printf("banner: \"%s\"\n", report.banner.c_str());
  printf("settings:\n");
  for (uint32_t i = 0; i < kSettingsSize; ++i) {
    int value = i == kOrbitEnabledByte || i == kSlowTimerByte ? report.settings[i]
                                                               : static_cast<int8_t>(report.settings[i]);
    printf("  %-15s %d\n", kSettingNames[i], value);
  }
  printf("name: \"%s\"\n", report.name.c_str());
  printf("description: \"%s\"\n", report.description.c_str());
  printf("pictures:\n");
  for (const PictureReport& picture : report.pictures) PrintPicture(picture);
  for (const std::string& note : report.notes) printf("note: %s\n", note.c_str());
  for (const std::string& problem : report.problems) fprintf(stderr, "glimmerkit info: damaged: %s\n", problem.c_str());
  return report.problems.empty() ? 0 : 1;
}
