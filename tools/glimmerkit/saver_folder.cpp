#include "tools/glimmerkit/saver_folder.h"

#include <string>
#include <system_error>

#include "win32.h"

namespace {

// The name the engine's locator derives from the module's file name.
std::string ThisSaverName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name = path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name;
}

}  // namespace

std::filesystem::path PrepareThisSaverPackagePath(const std::filesystem::path& root) {
  std::string name = ThisSaverName();
  std::filesystem::path folder = root / "vantrel" / "ssavers" / name;
  std::error_code ignored;  // a folder that cannot be made shows as a failing write
  std::filesystem::create_directories(folder, ignored);
  return folder / (name + ".DAT");
}
