// The version query: which platform family the engine believes it runs on.
#include <cstring>

#include "host_error.h"
#include "platform/process.h"
#include "win32/kernel.h"

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
  if (info == nullptr) return platform::FailWith(ERROR_INVALID_PARAMETER, FALSE);
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    return platform::FailWith(ERROR_INSUFFICIENT_BUFFER, FALSE);
  }
  std::memset(reinterpret_cast<char*>(info) + sizeof info->dwOSVersionInfoSize, 0,
              sizeof *info - sizeof info->dwOSVersionInfoSize);
  if (platform::PlatformIsWin9x()) {
    // Windows 98 Second Edition: 4.10.2222, whose build number also carries
    // the version in its high word.
    info->dwMajorVersion = 4;
    info->dwMinorVersion = 10;
    info->dwBuildNumber = 0x040A08AE;
    info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    std::strcpy(info->szCSDVersion, " A ");
  } else {
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::strcpy(info->szCSDVersion, "Service Pack 3");
  }
  return TRUE;
}
