// What the layer knows about its process: the arguments it was started with
// (the process entry hands them over; tests may set them), the platform
// family it reports, and hooks that run when the process ends through
// ExitProcess.
#pragma once

namespace platform {

// Records argv for GetModuleFileNameA and GetCommandLineA. Without it the
// layer reads the process's own command line from /proc.
void SetProcessArguments(int argc, const char* const* argv);

// True when the layer reports the Windows 95/98 family (GLIMMER_PLATFORM).
bool PlatformIsWin9x();

// Runs at ExitProcess, last added first (for example, a backend giving the
// display back).
void AddExitHook(void (*hook)());

}  // namespace platform
