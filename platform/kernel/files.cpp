// The Win16-compatible file calls: handles from the layer's table standing
// for host file descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

#include "host_error.h"
#include "platform/handle_table.h"
#include "platform/paths.h"
#include "win32/kernel.h"

namespace {

platform::HandleTable<int>& OpenFiles() {
  static platform::HandleTable<int> table(1);
  return table;
}

int DescriptorOf(HFILE file) {
  int fd = -1;
  OpenFiles().With(file, [&](int& found) { fd = found; });
  return fd;
}

// Opens a host file for a Windows-style path; a directory is refused, as the
// platform refuses to open one as a file.
HFILE OpenHandle(LPCSTR path, int flags, std::string* opened) {
  std::string host;
  if (!platform::ResolveHostPath(path, &host)) return HFILE_ERROR;
  int fd = open(host.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return platform::FailWithErrno(HFILE_ERROR);
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return platform::FailWith(ERROR_ACCESS_DENIED, HFILE_ERROR);
  }
  HFILE file = OpenFiles().Add(fd);
  if (file == 0) {
    close(fd);
    return platform::FailWith(ERROR_TOO_MANY_OPEN_FILES, HFILE_ERROR);
  }
  if (opened != nullptr) *opened = platform::ToWindowsPath(host);
  SetLastError(ERROR_SUCCESS);
  return file;
}

int AccessFlags(UINT mode) {
  switch (mode & 3) {
    case OF_WRITE: return O_WRONLY;
    case OF_READWRITE: return O_RDWR;
    default: return O_RDONLY;
  }
}

// Reads until `count` bytes or the end of the file; -1 on an error.
long long ReadFully(int fd, void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    ssize_t got = read(fd, static_cast<char*>(buffer) + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long long>(done);
}

long long WriteFully(int fd, const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    ssize_t put = write(fd, static_cast<const char*>(buffer) + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return -1;
    done += static_cast<size_t>(put);
  }
  return static_cast<long long>(done);
}

long long ReadHandle(HFILE file, void* buffer, long long count) {
  int fd = DescriptorOf(file);
  if (fd < 0) return platform::FailWith(ERROR_INVALID_HANDLE, -1LL);
  if (count < 0 || (buffer == nullptr && count > 0)) return platform::FailWith(ERROR_INVALID_PARAMETER, -1LL);
  long long got = ReadFully(fd, buffer, static_cast<size_t>(count));
  return got < 0 ? platform::FailWithErrno(-1LL) : got;
}

long long WriteHandle(HFILE file, const void* buffer, long long count) {
  int fd = DescriptorOf(file);
  if (fd < 0) return platform::FailWith(ERROR_INVALID_HANDLE, -1LL);
  if (count < 0 || (buffer == nullptr && count > 0)) return platform::FailWith(ERROR_INVALID_PARAMETER, -1LL);
  // A count of 0 truncates the file at the current position, as on the
  // platform.
  if (count == 0) {
    off_t here = lseek(fd, 0, SEEK_CUR);
    if (here < 0 || ftruncate(fd, here) != 0) return platform::FailWithErrno(-1LL);
    return 0;
  }
  long long put = WriteFully(fd, buffer, static_cast<size_t>(count));
  return put < 0 ? platform::FailWithErrno(-1LL) : put;
}

}  // namespace

HFILE WINAPI _lopen(LPCSTR path, int mode) { return OpenHandle(path, AccessFlags(mode), nullptr); }

HFILE WINAPI _lcreat(LPCSTR path, int attributes) {
  return OpenHandle(path, O_RDWR | O_CREAT | O_TRUNC, nullptr);
}

LONG WINAPI _llseek(HFILE file, LONG offset, int origin) {
  int fd = DescriptorOf(file);
  if (fd < 0) return platform::FailWith(ERROR_INVALID_HANDLE, static_cast<LONG>(HFILE_ERROR));
  int whence = origin == FILE_CURRENT ? SEEK_CUR : origin == FILE_END ? SEEK_END : SEEK_SET;
  if (origin < FILE_BEGIN || origin > FILE_END) {
    return platform::FailWith(ERROR_INVALID_PARAMETER, static_cast<LONG>(HFILE_ERROR));
  }
  off_t here = lseek(fd, 0, SEEK_CUR);
  off_t moved = lseek(fd, offset, whence);
  if (moved < 0) return platform::FailWith(ERROR_NEGATIVE_SEEK, static_cast<LONG>(HFILE_ERROR));
  if (moved > std::numeric_limits<LONG>::max()) {
    // The position does not fit the result: stay where the file was.
    lseek(fd, here, SEEK_SET);
    return platform::FailWith(ERROR_INVALID_PARAMETER, static_cast<LONG>(HFILE_ERROR));
  }
  return static_cast<LONG>(moved);
}

UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT count) {
  long long got = ReadHandle(file, buffer, count);
  return got < 0 ? static_cast<UINT>(HFILE_ERROR) : static_cast<UINT>(got);
}

LONG WINAPI _hread(HFILE file, LPVOID buffer, LONG count) {
  return static_cast<LONG>(ReadHandle(file, buffer, count));
}

UINT WINAPI _lwrite(HFILE file, LPCSTR buffer, UINT count) {
  long long put = WriteHandle(file, buffer, count);
  return put < 0 ? static_cast<UINT>(HFILE_ERROR) : static_cast<UINT>(put);
}

LONG WINAPI _hwrite(HFILE file, LPCSTR buffer, LONG count) {
  return static_cast<LONG>(WriteHandle(file, buffer, count));
}

HFILE WINAPI _lclose(HFILE file) {
  std::optional<int> fd = OpenFiles().Remove(file);
  if (!fd) return platform::FailWith(ERROR_INVALID_HANDLE, HFILE_ERROR);
  close(*fd);
  return 0;
}

HFILE WINAPI OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style) {
  std::string opened;
  HFILE file = HFILE_ERROR;
  if (style & OF_DELETE) {
    file = DeleteFileA(path) ? 1 : HFILE_ERROR;
  } else if (style & OF_CREATE) {
    file = OpenHandle(path, AccessFlags(style) | O_CREAT | O_TRUNC, &opened);
  } else {
    file = OpenHandle(path, AccessFlags(style), &opened);
  }
  if (file != HFILE_ERROR && (style & OF_EXIST)) {
    _lclose(file);
    file = 1;
  }
  if (info != nullptr) {
    std::memset(info, 0, sizeof *info);
    info->cBytes = sizeof *info;
    info->fFixedDisk = 1;
    if (file == HFILE_ERROR) {
      info->nErrCode = static_cast<WORD>(GetLastError());
    } else {
      if (opened.empty() && path != nullptr) opened = path;
      std::strncpy(info->szPathName, opened.c_str(), OFS_MAXPATHNAME - 1);
    }
  }
  return file;
}

BOOL WINAPI DeleteFileA(LPCSTR path) {
  std::string host;
  if (!platform::ResolveHostPath(path, &host)) return FALSE;
  struct stat info;
  if (lstat(host.c_str(), &info) != 0) return platform::FailWithErrno(FALSE);
  if (S_ISDIR(info.st_mode)) return platform::FailWith(ERROR_ACCESS_DENIED, FALSE);
  if (unlink(host.c_str()) != 0) return platform::FailWithErrno(FALSE);
  return TRUE;
}
