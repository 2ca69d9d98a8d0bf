// glimmerkit extract: writes each picture of a package out as a JPEG file,
// picture1.jpg to picture6.jpg by slot.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "tools/glimmerkit/commands.h"
#include "tools/glimmerkit/file_bytes.h"
#include "tools/glimmerkit/package_inspector.h"

namespace {

constexpr const char* kName = "extract";

void PrintHelp() {
  printf(
      "usage: glimmerkit extract [--output-dir DIR] PACKAGE.DAT\n"
      "\n"
      "Writes the package's pictures as DIR/pictureN.jpg, N being the slot (1 to 6).\n"
      "\n"
      "  -C, --output-dir DIR   where to write them (default: the current folder)\n"
      "  -h, --help             this text\n");
}

}  // namespace

int RunExtractCommand(int argc, char** argv) {
  static const option kOptions[] = {
      {"output-dir", required_argument, nullptr, 'C'}, {"help", no_argument, nullptr, 'h'}, {nullptr, 0, nullptr, 0}};
  std::string folder = ".";
  optind = 1;
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, "C:h", kOptions, nullptr)) != -1) {
    switch (option) {
      case 'C': folder = optarg; break;
      case 'h': PrintHelp(); return 0;
      default:
        return CommandError(kName, std::string("unknown option or missing value: ") + argv[optind - 1], 2);
    }
  }
  if (argc - optind != 1) return CommandError(kName, "give one package (see glimmerkit extract --help)", 2);

  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(argv[optind], &bytes, &error)) return CommandError(kName, error);
  PackageReport report = InspectPackage(bytes);

  int failures = 0;
  for (const PictureReport& picture : report.pictures) {
    if (picture.offset == 0) continue;
    if (picture.length == 0) {
      CommandError(kName, "picture " + std::to_string(picture.slot + 1) + " not written: " + picture.problem);
      ++failures;
      continue;
    }
    std::string path = folder + "/picture" + std::to_string(picture.slot + 1) + ".jpg";
    std::vector<uint8_t> stream(bytes.begin() + picture.offset, bytes.begin() + picture.offset + picture.length);
    if (!WriteFileBytes(path, stream, &error)) {
      CommandError(kName, error);
      ++failures;
      continue;
    }
    printf("%s\n", path.c_str());
  }
  return failures == 0 ? 0 : 1;
}
