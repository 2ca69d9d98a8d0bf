#include "temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/config.h"

namespace platform {
namespace {

std::mutex folderLock;
std::string freshFolder;  // the replacement, once the usual one was refused

// Not followed if it is a link; ours alone.
bool IsPrivateFolder(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

std::string UsualFolder() {
  std::string runtime = EnvOr("XDG_RUNTIME_DIR", "");
  struct stat info;
  if (!runtime.empty() && runtime[0] == '/' && stat(runtime.c_str(), &info) == 0 &&
      S_ISDIR(info.st_mode) && info.st_uid == geteuid()) {
    return runtime + "/glimmerkit";
  }
  return "/tmp/glimmerkit-" + std::to_string(geteuid());
}

bool MakeFreshFolder(std::string* path) {
  std::string pattern = "/tmp/glimmerkit-" + std::to_string(geteuid()) + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return false;
  *path = pattern;
  return true;
}

}  // namespace

bool PrivateTempFolder(std::string* hostPath) {
  std::lock_guard<std::mutex> hold(folderLock);
  if (freshFolder.empty()) {
    std::string usual = UsualFolder();
    // mkdir does not follow a link planted under this name: it fails with
    // EEXIST, and the check below refuses the link.
    if (mkdir(usual.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (IsPrivateFolder(usual)) {
      *hostPath = usual;
      return true;
    }
    std::fprintf(stderr, "glimmerkit: refusing temporary folder %s (not a private folder of this user)\n",
                 usual.c_str());
    if (!MakeFreshFolder(&freshFolder)) return false;
  }
  if (!IsPrivateFolder(freshFolder)) {
    // Even the replacement was tampered with (or removed): make another.
    if (!MakeFreshFolder(&freshFolder)) return false;
  }
  *hostPath = freshFolder;
  return true;
}

}  // namespace platform
