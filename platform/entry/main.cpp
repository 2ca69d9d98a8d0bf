// The process entry: hands the arguments to the layer and runs the engine's
// WinMain with the command line after the program's name, as the platform's
// runtime does; the process then ends through ExitProcess.
#include "platform/process.h"
#include "win32/kernel.h"

namespace {

// The runtime's cut: past the quoted (or blank-free) program name, then past
// the blanks that follow it.
LPSTR ArgumentsOf(LPSTR line) {
  LPSTR p = line;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (static_cast<unsigned char>(*p) > ' ') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetProcessArguments(argc, argv);
  const int kShowNormal = 1;
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), kShowNormal);
  ExitProcess(static_cast<UINT>(result));
}
