// Turns the C library's errno into the platform's error codes, for the kernel
// and registry services.
#pragma once

#include <cerrno>

#include "win32/kernel.h"

namespace platform {

inline DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_ACCESS_DENIED;
  }
}

// Sets the last error from errno and returns `result`, for one-line failures.
template <typename T>
T FailWithErrno(T result) {
  SetLastError(ErrorFromErrno(errno));
  return result;
}

template <typename T>
T FailWith(DWORD error, T result) {
  SetLastError(error);
  return result;
}

}  // namespace platform
