// Windows-style paths to host paths and back, with the case-blind lookup of
// each component that the platform's file system gives for free.
#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "host_error.h"
#include "platform/paths.h"
#include "win32/kernel.h"

namespace platform {
namespace {

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x != y && std::tolower(x) != std::tolower(y)) return false;
  }
  return *a == *b;
}

// The entry of `folder` whose name equals `name` ignoring case; when several
// do (a file system that tells case apart may hold both), the first in byte
// order, so the answer never depends on directory order.
bool FindIgnoringCase(const std::string& folder, const std::string& name, std::string* found) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  bool any = false;
  while (dirent* entry = readdir(dir)) {
    if (!SameIgnoringCase(entry->d_name, name.c_str())) continue;
    if (!any || std::strcmp(entry->d_name, found->c_str()) < 0) *found = entry->d_name;
    any = true;
  }
  closedir(dir);
  return any;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

std::string ToHostPath(const char* windowsPath) {
  if (windowsPath == nullptr) return {};
  const char* p = windowsPath;
  // A drive letter has no meaning here: "C:\x" is "/x".
  if (std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') p += 2;
  std::string host(p);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

std::string ToWindowsPath(const std::string& hostPath) {
  std::string windows(hostPath);
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

bool ResolveHostPath(const char* windowsPath, std::string* hostPath) {
  if (windowsPath == nullptr) return FailWith(ERROR_INVALID_PARAMETER, false);
  if (*windowsPath == '\0') return FailWith(ERROR_PATH_NOT_FOUND, false);
  if (std::strlen(windowsPath) >= MAX_PATH) return FailWith(ERROR_FILENAME_EXCED_RANGE, false);

  std::string mapped = ToHostPath(windowsPath);
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= mapped.size()) {
    size_t slash = mapped.find('/', start);
    if (slash == std::string::npos) slash = mapped.size();
    if (slash > start) parts.push_back(mapped.substr(start, slash - start));
    start = slash + 1;
  }

  std::string resolved = (!mapped.empty() && mapped[0] == '/') ? "/" : "";
  bool missing = false;
  for (const std::string& part : parts) {
    std::string exact = Join(resolved, part);
    struct stat info;
    if (missing || part == "." || part == ".." || lstat(exact.c_str(), &info) == 0) {
      resolved = exact;
      continue;
    }
    std::string found;
    if (errno == ENOENT && FindIgnoringCase(resolved, part, &found)) {
      resolved = Join(resolved, found);
    } else {
      resolved = exact;
      missing = true;
    }
  }
  if (mapped.size() > 1 && mapped.back() == '/' && resolved.back() != '/') resolved += '/';
  *hostPath = resolved;
  return true;
}

FILE* OpenFileStream(const char* windowsPath, const char* mode) {
  std::string host;
  if (mode == nullptr || !ResolveHostPath(windowsPath, &host)) return nullptr;
  std::string hostMode = std::string(mode) + "e";  // close on exec
  FILE* stream = std::fopen(host.c_str(), hostMode.c_str());
  if (stream == nullptr) return FailWithErrno<FILE*>(nullptr);
  struct stat info;
  if (fstat(fileno(stream), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(stream);
    return FailWith<FILE*>(ERROR_ACCESS_DENIED, nullptr);
  }
  return stream;
}

}  // namespace platform
