// A WinMain that tells what the process entry handed it, then ends with the
// exit code given as its last argument, through the entry's ExitProcess.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::printf("module=%s\n", module);
  std::printf("arguments=%s\n", commandLine);
  std::printf("line=%s\n", GetCommandLineA());
  std::printf("instance=%d previous=%d show=%d\n", instance == GetModuleHandleA(nullptr), previous == nullptr,
              show);
  const char* last = std::strrchr(commandLine, ' ');
  return std::atoi(last != nullptr ? last + 1 : commandLine);
}
