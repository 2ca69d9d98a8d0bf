// Chooses the process's backend once: GLIMMER_BACKEND names it; without it,
// sdl when a display is reachable and headless otherwise. An sdl backend
// that cannot open a display falls back to headless, with a note on the
// standard error stream.
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/backend.h"
#include "platform/config.h"

namespace platform {
namespace {

std::atomic<Backend*> published{nullptr};

}  // namespace

Backend* ChosenBackend() { return published.load(); }

Backend& CurrentBackend() {
  static Backend* chosen = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    std::string name = EnvOr("GLIMMER_BACKEND", "");
    if (name.empty()) {
      bool display = !EnvOr("DISPLAY", "").empty() || !EnvOr("WAYLAND_DISPLAY", "").empty();
      name = display ? "sdl" : "headless";
    }
    if (name == "sdl") {
      chosen = CreateSdlBackend();
      if (chosen == nullptr) std::fprintf(stderr, "glimmerkit: no display for the sdl backend; running headless\n");
    } else if (name != "headless") {
      std::fprintf(stderr, "glimmerkit: unknown GLIMMER_BACKEND \"%s\"; running headless\n", name.c_str());
    }
    if (chosen == nullptr) chosen = CreateHeadlessBackend();
    published = chosen;
  });
  return *chosen;
}

}  // namespace platform
