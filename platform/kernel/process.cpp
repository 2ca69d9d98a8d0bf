// The process as the engine sees it: its module (the program's own file, by
// the name it was started under), its command line and its exit.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "host_error.h"
#include "platform/config.h"
#include "platform/modules.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "win32/kernel.h"

namespace {

// The program's one module. Handles are the layer's own small numbers.
HMODULE const kMainModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(1));

struct ProcessFacts {
  std::string modulePath;   // Windows-style
  std::string commandLine;  // as GetCommandLineA gives it
};

std::mutex factsLock;
bool factsKnown = false;
ProcessFacts facts;
std::vector<void (*)()> exitHooks;

// Drops "." components, so "./beach.scr" reads as the platform would show it;
// ".." stays, since a link in the path could make it mean something else.
std::string WithoutDotComponents(const std::string& path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(start, slash - start);
    if (!part.empty() && part != ".") out += "/" + part;
    start = slash + 1;
  }
  return out.empty() ? "/" : out;
}

// argv[0] made absolute without resolving links: a saver may be a link to the
// engine named after its package. A bare name was found on PATH.
std::string AbsoluteProgramPath(const std::string& argv0) {
  if (argv0.find('/') == std::string::npos) {
    std::string path = platform::EnvOr("PATH", "/usr/local/bin:/usr/bin:/bin");
    size_t start = 0;
    while (!argv0.empty() && start <= path.size()) {
      size_t colon = path.find(':', start);
      if (colon == std::string::npos) colon = path.size();
      std::string folder = path.substr(start, colon - start);
      if (folder.empty()) folder = ".";
      std::string candidate = folder + "/" + argv0;
      struct stat info;
      if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
          access(candidate.c_str(), X_OK) == 0) {
        return AbsoluteProgramPath(candidate);
      }
      start = colon + 1;
    }
    // Not found: the file that actually runs.
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "/" + argv0;
    return std::string(buffer, static_cast<size_t>(length));
  }
  if (argv0[0] == '/') return WithoutDotComponents(argv0);
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return WithoutDotComponents("/" + argv0);
  return WithoutDotComponents(std::string(cwd) + "/" + argv0);
}

// One argument as the platform's runtime would read it back: quoted when it
// holds blanks or quotes or is empty, with backslashes before a quote doubled.
std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
      backslashes = 0;
    } else {
      out.append(backslashes, '\\');
      backslashes = 0;
    }
    if (c != '\\') out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

void Record(const std::vector<std::string>& argv) {
  ProcessFacts made;
  made.modulePath = platform::ToWindowsPath(AbsoluteProgramPath(argv.empty() ? "" : argv[0]));
  made.commandLine = "\"" + made.modulePath + "\"";
  for (size_t i = 1; i < argv.size(); ++i) made.commandLine += " " + QuotedArgument(argv[i]);
  facts = made;
  factsKnown = true;
}

// The facts, read from /proc when the entry did not hand argv over (tests).
ProcessFacts& Facts() {
  std::lock_guard<std::mutex> hold(factsLock);
  if (!factsKnown) {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> argv;
    size_t start = 0;
    while (start < raw.size()) {
      size_t end = raw.find('\0', start);
      if (end == std::string::npos) end = raw.size();
      argv.push_back(raw.substr(start, end - start));
      start = end + 1;
    }
    Record(argv);
  }
  return facts;
}

bool IsMainModule(HMODULE module) { return module == nullptr || module == kMainModule; }

// The name matches the program's file name, or its full path, ignoring case.
bool NamesProgram(const std::string& name, const std::string& modulePath) {
  size_t cut = modulePath.find_last_of('\\');
  std::string base = cut == std::string::npos ? modulePath : modulePath.substr(cut + 1);
  return lstrcmpiA(name.c_str(), base.c_str()) == 0 || lstrcmpiA(name.c_str(), modulePath.c_str()) == 0;
}

}  // namespace

namespace platform {

void SetProcessArguments(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc && argv != nullptr && argv[i] != nullptr; ++i) args.emplace_back(argv[i]);
  std::lock_guard<std::mutex> hold(factsLock);
  Record(args);
}

bool PlatformIsWin9x() {
  std::string family = EnvOr("GLIMMER_PLATFORM", "nt");
  return lstrcmpiA(family.c_str(), "win9x") == 0;
}

void AddExitHook(void (*hook)()) {
  std::lock_guard<std::mutex> hold(factsLock);
  exitHooks.push_back(hook);
}

}  // namespace platform

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  if (!IsMainModule(module)) return platform::FailWith(ERROR_MOD_NOT_FOUND, 0UL);
  if (buffer == nullptr || size == 0) return platform::FailWith(ERROR_INSUFFICIENT_BUFFER, 0UL);
  const std::string& path = Facts().modulePath;
  // A path cut to fit would name another file: refuse it whole.
  if (path.size() >= size || path.size() >= MAX_PATH) {
    buffer[0] = '\0';
    return platform::FailWith(ERROR_INSUFFICIENT_BUFFER, 0UL);
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  if (name == nullptr) return kMainModule;
  if (NamesProgram(name, Facts().modulePath)) return kMainModule;
  if (HMODULE module = platform::LoadedLayerModule(name)) return module;
  return platform::FailWith<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
}

LPSTR WINAPI GetCommandLineA() { return Facts().commandLine.data(); }

void WINAPI ExitProcess(UINT code) {
  std::vector<void (*)()> hooks;
  {
    std::lock_guard<std::mutex> hold(factsLock);
    hooks.swap(exitHooks);
  }
  for (auto hook = hooks.rbegin(); hook != hooks.rend(); ++hook) (*hook)();
  std::fflush(nullptr);
  // Static destructors of other threads' state (the audio thread) are not
  // run, as the platform ends every thread at once.
  std::_Exit(static_cast<int>(code));
}
