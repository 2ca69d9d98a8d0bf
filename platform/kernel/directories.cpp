// The engine's two folders: the Windows directory, which is the data root,
// and the private temporary folder; and the platform's temporary file names.
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "host_error.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/paths.h"
#include "temp_folder.h"
#include "win32/kernel.h"

namespace {

std::string HomeFolder() {
  std::string home = platform::EnvOr("HOME", "");
  if (!home.empty()) return home;
  if (passwd* entry = getpwuid(getuid())) return entry->pw_dir;
  return "/";
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return "/" + path;
  return std::string(cwd) + "/" + path;
}

// The data root, host form: $GLIMMER_WINDOWS_DIR, else $XDG_DATA_HOME
// (absolute only, as its definition asks) or ~/.local/share, + /glimmerkit.
std::string DataRoot() {
  std::string root = platform::EnvOr("GLIMMER_WINDOWS_DIR", "");
  if (!root.empty()) return WithoutTrailingSlashes(Absolute(root));
  std::string data = platform::EnvOr("XDG_DATA_HOME", "");
  if (data.empty() || data[0] != '/') data = HomeFolder() + "/.local/share";
  return WithoutTrailingSlashes(data) + "/glimmerkit";
}

// The platform's rule for returning a text: its length when it fits with its
// terminator, else the size needed (terminator included) and nothing copied.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || text.size() + 1 > size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

}  // namespace

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  std::string root = platform::ToWindowsPath(DataRoot());
  if (root.size() >= MAX_PATH) return platform::FailWith(ERROR_FILENAME_EXCED_RANGE, 0U);
  return CopyOut(root, buffer, size);
}

DWORD WINAPI GetTempPathA(DWORD size, LPSTR buffer) {
  std::string folder;
  if (!platform::PrivateTempFolder(&folder)) return platform::FailWith(ERROR_ACCESS_DENIED, 0UL);
  std::string windows = platform::ToWindowsPath(folder) + "\\";
  if (windows.size() >= MAX_PATH) return platform::FailWith(ERROR_FILENAME_EXCED_RANGE, 0UL);
  return CopyOut(windows, buffer, size);
}

UINT WINAPI GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) {
  if (folder == nullptr || name == nullptr || *folder == '\0') {
    return platform::FailWith(ERROR_INVALID_PARAMETER, 0U);
  }
  std::string start = folder;
  if (start.back() != '\\' && start.back() != '/') start += '\\';
  if (prefix != nullptr) start.append(prefix, strnlen(prefix, 3));

  // Only the low 16 bits of a given number name the file.
  auto form = [&](UINT number) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", number & 0xFFFFu);
    return start + hex + ".TMP";
  };
  if (form(1).size() >= MAX_PATH) return platform::FailWith(ERROR_BUFFER_OVERFLOW, 0U);

  if (unique != 0) {
    std::string formed = form(unique);
    if (formed.size() >= MAX_PATH) return platform::FailWith(ERROR_BUFFER_OVERFLOW, 0U);
    std::memcpy(name, formed.c_str(), formed.size() + 1);
    return unique;
  }

  // Number 0: find a free name and create the file, so that nobody else gets
  // it, starting from the tick count as the platform does.
  UINT first = (static_cast<UINT>(platform::ClockNow()) & 0xFFFF) | 1;
  for (UINT step = 0; step < 0xFFFF; ++step) {
    UINT number = ((first + step - 1) % 0xFFFF) + 1;
    std::string formed = form(number);
    if (formed.size() >= MAX_PATH) continue;
    std::string host;
    if (!platform::ResolveHostPath(formed.c_str(), &host)) return 0;
    int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      close(fd);
      std::memcpy(name, formed.c_str(), formed.size() + 1);
      return number;
    }
    if (errno != EEXIST) return platform::FailWithErrno(0U);
  }
  return platform::FailWith(ERROR_FILE_EXISTS, 0U);
}
