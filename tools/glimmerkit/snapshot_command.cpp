// glimmerkit snapshot: renders a content package as the full-screen saver
// shows it at a given saver time, on the headless screen under the virtual
// clock, and writes the screen to a PNG file. glimmerkit show: the same
// scene, live, on the display, until a key or a mouse button.
//
// The package is copied into a private data root under the name the engine
// looks for (this program's own name), so the scene window finds it exactly
// as a saver finds its package. For show, the songs lying beside the package
// are linked beside the copy, so they play as in the saver; a snapshot is
// silent. The scene window stands in a plain window of our own that covers
// the screen.
#include <getopt.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/snapshot.h"
#include "scene/scene_window.h"
#include "tools/glimmerkit/commands.h"
#include "tools/glimmerkit/saver_folder.h"
#include "win32.h"

namespace {

constexpr int kLargestScreen = 16384;
constexpr char kStageClass[] = "GlimmerkitStage";
// Virtual time when a snapshot's scene is created: the tick count seeds the
// tilt, so a fixed start gives the same picture every time.
constexpr uint64_t kSnapshotStart = 1000;
constexpr UINT_PTR kStopTimer = 0x5A9;

void PrintSnapshotHelp() {
  printf(
      "usage: glimmerkit snapshot PACKAGE -o FILE.png [--size WxH] [--at MILLISECONDS]\n"
      "\n"
      "Renders the package as the full-screen saver shows it, without a display,\n"
      "and writes the screen to a PNG file.\n"
      "\n"
      "  -o, --output FILE   the PNG file to write\n"
      "      --size WxH      the screen size (default 1024x768)\n"
      "      --at MS         the saver time of the picture, in milliseconds since\n"
      "                      the scene appeared (default 0: the first frame)\n"
      "  -h, --help          this text\n");
}

void PrintShowHelp() {
  printf(
      "usage: glimmerkit show PACKAGE [--window WxH] [--for MILLISECONDS]\n"
      "\n"
      "Shows the package's scene on the display, full screen, until a key or a\n"
      "mouse button is pressed.\n"
      "\n"
      "      --window WxH    a window of this size instead of the whole screen\n"
      "      --for MS        close by itself after this many milliseconds\n"
      "  -h, --help          this text\n");
}

bool ParseSize(const char* text, int* width, int* height) {
  char* end = nullptr;
  errno = 0;
  long w = strtol(text, &end, 10);
  if (errno != 0 || end == text || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long h = strtol(rest, &end, 10);
  if (errno != 0 || end == rest || *end != '\0') return false;
  if (w < 1 || h < 1 || w > kLargestScreen || h > kLargestScreen) return false;
  *width = int(w);
  *height = int(h);
  return true;
}

// Milliseconds, 0 to a day (more than anyone waits for a picture).
bool ParseTime(const char* text, unsigned long* ms) {
  char* end = nullptr;
  errno = 0;
  unsigned long long value = strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || text[0] == '-' || value > 86400000ull) return false;
  *ms = (unsigned long)value;
  return true;
}

// A private data root (mkdtemp makes it 0700) holding a copy of the package
// where the locator looks first; gone again with the object.
class DataRoot {
 public:
  bool Make(const char* command, const std::string& package, bool withSongs) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(package, error)) {
      CommandError(command, "no package at " + package);
      return false;
    }
    std::string pattern = (std::filesystem::temp_directory_path(error) / "glimmerkit-scene-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      CommandError(command, "cannot make a temporary folder");
      return false;
    }
    root_ = pattern;
    std::filesystem::path installed = PrepareThisSaverPackagePath(root_);
    std::filesystem::copy_file(package, installed, error);
    if (error) {
      CommandError(command, "cannot copy " + package + ": " + error.message());
      return false;
    }
    if (withSongs) LinkSongs(std::filesystem::path(package).parent_path(), installed.parent_path());
    setenv("GLIMMER_WINDOWS_DIR", root_.c_str(), 1);
    setenv("GLIMMER_REGISTRY", (root_ / "user.reg").c_str(), 1);
    return true;
  }
  // Song files are "juk" and up to five more characters, any extension.
  static void LinkSongs(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(from.empty() ? "." : from, error)) {
      std::string name = entry.path().filename().string();
      std::string stem = name.substr(0, name.find('.'));
      if (stem.size() < 3 || stem.size() > 8 || strncasecmp(stem.c_str(), "juk", 3) != 0) continue;
      std::filesystem::create_symlink(std::filesystem::absolute(entry.path(), error), to / name, error);
    }
  }

  const std::filesystem::path& path() const { return root_; }

  // A live show ended by a signal (Ctrl-C, a logout) would leave the folder
  // behind: the handler removes what the folder holds now, with the plain
  // calls a signal handler may make, then lets the signal take its course.
  void RemoveOnSignal() {
    std::error_code error;
    std::vector<std::filesystem::path> inside;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, error))
      inside.push_back(entry.path());
    // Deepest first, so every folder is empty when its turn comes.
    for (auto it = inside.rbegin(); it != inside.rend(); ++it) doomed().push_back(it->string());
    doomed().push_back(root_.string());
    struct sigaction action {};
    action.sa_handler = RemoveAndRaise;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  }

  ~DataRoot() {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }

 private:
  static std::vector<std::string>& doomed() {
    static std::vector<std::string> paths;
    return paths;
  }
  static void RemoveAndRaise(int signal) {
    for (const std::string& path : doomed())
      if (unlink(path.c_str()) != 0) rmdir(path.c_str());
    ::signal(signal, SIG_DFL);
    raise(signal);
  }

  std::filesystem::path root_;
};

// The stage ends the program on a key or a mouse button (input over the
// disabled scene window comes to it), or on its stop timer.
LRESULT CALLBACK StageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_TIMER:
      if (wParam == kStopTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The stage and the scene window filling it; null when the scene cannot be
// built (the stage is then gone too).
HWND BuildStage(const char* command, int width, int height) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA stageClass{};
  stageClass.lpfnWndProc = StageProc;
  stageClass.hInstance = instance;
  stageClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  stageClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  stageClass.lpszClassName = kStageClass;
  RegisterClassA(&stageClass);
  RegisterSceneWindowClass(instance);

  HWND stage = CreateWindowExA(WS_EX_TOPMOST, kStageClass, "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, width,
                               height, nullptr, nullptr, instance, nullptr);
  if (stage == nullptr) {
    CommandError(command, "no screen to show the scene on");
    return nullptr;
  }
  HWND scene = CreateWindowExA(0, kSceneWindowClass, "",
                               WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                               width, height, stage, nullptr, instance, nullptr);
  if (scene == nullptr) {
    DestroyWindow(stage);
    CommandError(command, "the scene could not be built from the package");
    return nullptr;
  }
  return stage;
}

// Lets `ms` of virtual time pass. Only the ticks are handled on the way (a
// paint draws the state the ticks left, so only the last one shows); the
// paint pending at the end is the picture.
void RunTicksFor(HWND stage, unsigned long ms) {
  if (ms > 0) {
    SetTimer(stage, kStopTimer, UINT(ms), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, WM_TIMER, WM_TIMER) > 0) {
      if (msg.hwnd == stage && msg.wParam == kStopTimer) break;
      DispatchMessageA(&msg);
    }
    KillTimer(stage, kStopTimer);
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_TIMER) DispatchMessageA(&msg);  // a tick due now belongs to the next frame
}

}  // namespace

int RunSnapshotCommand(int argc, char** argv) {
  const char* kName = "snapshot";
  static const option kOptions[] = {{"output", required_argument, nullptr, 'o'},
                                    {"size", required_argument, nullptr, 's'},
                                    {"at", required_argument, nullptr, 'a'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {nullptr, 0, nullptr, 0}};
  std::string output;
  int width = 1024, height = 768;
  unsigned long at = 0;
  optind = 1;
  int c;
  while ((c = getopt_long(argc, argv, "o:h", kOptions, nullptr)) != -1) {
    switch (c) {
      case 'o':
        output = optarg;
        break;
      case 's':
        if (!ParseSize(optarg, &width, &height))
          return CommandError(kName, std::string("--size wants WxH, each 1 to 16384: ") + optarg, 2);
        break;
      case 'a':
        if (!ParseTime(optarg, &at))
          return CommandError(kName, std::string("--at wants milliseconds, 0 to 86400000: ") + optarg, 2);
        break;
      case 'h':
        PrintSnapshotHelp();
        return 0;
      default:
        return CommandError(kName, "see 'glimmerkit snapshot --help'", 2);
    }
  }
  if (optind + 1 != argc) return CommandError(kName, "give one PACKAGE (see --help)", 2);
  if (output.empty()) return CommandError(kName, "give the PNG file to write with -o", 2);

  DataRoot root;
  if (!root.Make(kName, argv[optind], false)) return 1;
  char screen[32];
  snprintf(screen, sizeof screen, "%dx%d", width, height);
  setenv("GLIMMER_BACKEND", "headless", 1);
  setenv("GLIMMER_SCREEN", screen, 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // The temporary folder inside the private root: the scene loads pictures
  // through one fixed temporary file name, which snapshots made side by side
  // would otherwise share. (Not for show: the display and the sound server
  // live in the real runtime folder.)
  setenv("XDG_RUNTIME_DIR", root.path().c_str(), 1);
  platform::ClockUseVirtual(kSnapshotStart);

  HWND stage = BuildStage(kName, width, height);
  if (stage == nullptr) return 1;
  RunTicksFor(stage, at);
  bool written = platform::WriteSnapshotPng(output.c_str(), nullptr);
  DestroyWindow(stage);
  if (!written) return CommandError(kName, "cannot write " + output);
  return 0;
}

int RunShowCommand(int argc, char** argv) {
  const char* kName = "show";
  static const option kOptions[] = {{"window", required_argument, nullptr, 'w'},
                                    {"for", required_argument, nullptr, 'f'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {nullptr, 0, nullptr, 0}};
  int width = 0, height = 0;
  unsigned long lasting = 0;
  optind = 1;
  int c;
  while ((c = getopt_long(argc, argv, "h", kOptions, nullptr)) != -1) {
    switch (c) {
      case 'w':
        if (!ParseSize(optarg, &width, &height))
          return CommandError(kName, std::string("--window wants WxH, each 1 to 16384: ") + optarg, 2);
        break;
      case 'f':
        if (!ParseTime(optarg, &lasting) || lasting == 0)
          return CommandError(kName, std::string("--for wants milliseconds, 1 to 86400000: ") + optarg, 2);
        break;
      case 'h':
        PrintShowHelp();
        return 0;
      default:
        return CommandError(kName, "see 'glimmerkit show --help'", 2);
    }
  }
  if (optind + 1 != argc) return CommandError(kName, "give one PACKAGE (see --help)", 2);

  DataRoot root;
  if (!root.Make(kName, argv[optind], true)) return 1;
  if (width == 0) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }
  HWND stage = BuildStage(kName, width, height);
  if (stage == nullptr) return 1;
  root.RemoveOnSignal();
  if (lasting > 0) SetTimer(stage, kStopTimer, UINT(lasting), nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
