// PNG snapshots of the screen or of a window, and the snapshots scheduled on
// the layer's clock through GLIMMER_SNAPSHOT.
#include "platform/snapshot.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/config.h"
#include "platform/scheduler.h"
#include "platform/window_canvas.h"
#include "win32/user.h"

namespace platform {
namespace {

// The part of `surface` inside `area` as packed RGB bytes.
bool WritePng(const char* path, const Surface& surface, const RECT& area) {
  int width = area.right - area.left, height = area.bottom - area.top;
  if (path == nullptr || width <= 0 || height <= 0) return false;
  std::vector<png_byte> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = surface.pixels + static_cast<size_t>(area.top + y) * surface.stride + area.left;
    png_byte* out = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      out[x * 3] = (row[x] >> 16) & 0xFF;
      out[x * 3 + 1] = (row[x] >> 8) & 0xFF;
      out[x * 3 + 2] = row[x] & 0xFF;
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_file(&image, path, 0, rgb.data(), width * 3, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

}  // namespace

bool WriteSnapshotPng(const char* path, HWND window) {
  if (window == nullptr) {
    Surface screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    screen.stride = screen.width;
    if (screen.width <= 0 || screen.height <= 0) return false;
    std::vector<uint32_t> pixels(static_cast<size_t>(screen.width) * screen.height, 0);
    screen.pixels = pixels.data();
    ComposeScreen(&screen);
    return WritePng(path, screen, RECT{0, 0, screen.width, screen.height});
  }
  WindowCanvas canvas;
  if (!GetWindowCanvas(window, &canvas) || canvas.surface == nullptr || canvas.surface->pixels == nullptr)
    return false;
  RECT area{std::max<LONG>(canvas.client.left, 0), std::max<LONG>(canvas.client.top, 0),
            std::min<LONG>(canvas.client.right, canvas.surface->width),
            std::min<LONG>(canvas.client.bottom, canvas.surface->height)};
  return WritePng(path, *canvas.surface, area);
}

int StartConfiguredSnapshots() {
  static bool started = false;
  if (started) return 0;
  started = true;
  std::string setting = EnvOr("GLIMMER_SNAPSHOT", "");
  uint64_t start = ClockNow();
  int scheduled = 0;
  size_t at = 0;
  while (at < setting.size()) {
    size_t comma = setting.find(',', at);
    std::string item = setting.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    at = comma == std::string::npos ? setting.size() : comma + 1;
    size_t colon = item.find(':');
    char* end = nullptr;
    unsigned long long ms = colon == std::string::npos ? 0 : std::strtoull(item.c_str(), &end, 10);
    if (colon == std::string::npos || end != item.c_str() + colon || colon + 1 >= item.size()) {
      std::fprintf(stderr, "GLIMMER_SNAPSHOT: ignoring \"%s\" (expected MS:path.png)\n", item.c_str());
      continue;
    }
    std::string path = item.substr(colon + 1);
    ScheduleEvent(start + ms, [path] {
      if (!WriteSnapshotPng(path.c_str(), nullptr))
        std::fprintf(stderr, "GLIMMER_SNAPSHOT: could not write %s\n", path.c_str());
    });
    ++scheduled;
  }
  return scheduled;
}

}  // namespace platform
