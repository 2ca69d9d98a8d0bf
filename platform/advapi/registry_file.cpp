#include "registry_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/config.h"
#include "win32/kernel.h"

namespace platform {
namespace {

std::string HomeFolder() {
  std::string home = EnvOr("HOME", "");
  if (!home.empty()) return home;
  if (passwd* entry = getpwuid(getuid())) return entry->pw_dir;
  return "/";
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the folder and any missing folder above it, private to the user.
bool MakeFolders(const std::string& folder) {
  struct stat info;
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  std::string parent = FolderOf(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// 1 read, 0 missing, -1 error.
int ReadWhole(const std::string& path, std::string* text) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? 0 : -1;
  text->clear();
  char buffer[8192];
  while (true) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return -1;
    }
    if (got == 0) break;
    text->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return 1;
}

bool WriteWhole(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t put = write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// Renames an unparsable file to a name of its own beside it, so that the
// user can recover it; never over an earlier one.
void MoveAside(const std::string& path) {
  char stamp[32];
  time_t now = time(nullptr);
  tm parts;
  localtime_r(&now, &parts);
  strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
  std::string aside = path + ".unreadable-" + stamp;
  struct stat info;
  for (int n = 2; lstat(aside.c_str(), &info) == 0; ++n) {
    aside = path + ".unreadable-" + stamp + "-" + std::to_string(n);
  }
  if (rename(path.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "glimmerkit: settings file %s could not be read; kept as %s\n", path.c_str(),
                 aside.c_str());
  }
}

// Replaces the file whole: temporary file, fsync, rename, fsync the folder.
LONG Replace(const std::string& path, const std::string& text) {
  std::string temporary = path + ".new";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return ERROR_CANTWRITE;
  bool written = WriteWhole(fd, text) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return ERROR_CANTWRITE;
  }
  int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::string RegistryFilePath() {
  std::string path = EnvOr("GLIMMER_REGISTRY", "");
  if (!path.empty()) return path;
  std::string config = EnvOr("XDG_CONFIG_HOME", "");
  if (config.empty() || config[0] != '/') config = HomeFolder() + "/.config";
  return config + "/glimmerkit/user.reg";
}

LONG LoadRegistry(RegistryText* registry) {
  std::string text;
  int read = ReadWhole(RegistryFilePath(), &text);
  registry->keys.clear();
  if (read < 0) return ERROR_CANTREAD;
  if (read > 0 && !ParseRegistryText(text, registry)) registry->keys.clear();
  return ERROR_SUCCESS;
}

LONG ChangeRegistry(const RegistryChange& change) {
  std::string path = RegistryFilePath();
  if (!MakeFolders(FolderOf(path))) return ERROR_CANTWRITE;
  int lock = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock < 0) return ERROR_CANTWRITE;
  while (flock(lock, LOCK_EX) != 0) {
    if (errno != EINTR) {
      close(lock);
      return ERROR_CANTWRITE;
    }
  }

  LONG result = ERROR_SUCCESS;
  RegistryText registry;
  std::string text;
  int read = ReadWhole(path, &text);
  if (read < 0) {
    result = ERROR_CANTREAD;
  } else if (read > 0 && !ParseRegistryText(text, &registry)) {
    registry.keys.clear();
    MoveAside(path);
  }
  bool changed = false;
  if (result == ERROR_SUCCESS) result = change(&registry, &changed);
  if (result == ERROR_SUCCESS && changed) result = Replace(path, FormatRegistryText(registry));

  close(lock);  // releases the lock
  return result;
}

}  // namespace platform
