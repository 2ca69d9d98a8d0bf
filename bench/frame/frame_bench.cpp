// Frame cost of the saver against a bare-EGL reference, in the same run.
//
// The saver: a package of six pictures whose texture edge is 512, 1024 or
// 2048, the real scene window on a 1920 x 1080 headless screen, three cubes
// (the main one orbiting, both satellites), one frame = one tick and one
// paint (which ends in SwapBuffers into the window's store). The reference:
// the same three cubes with the same six textures drawn by the plainest code
// on a bare EGL pbuffer, the frame read back. Reported: CPU time per frame
// (every thread of the process, so llvmpipe's workers count), the ratio,
// and whether a frame fits the saver's 25 ms frame timer: by its CPU time
// (what one core must give a frame) and by the wall time measured here,
// which a busy machine stretches (the load average is printed beside it).
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "reference_frame.h"
#include "scene/scene_window.h"
#include "tests/scene/bare_gl.h"
#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/package_writer.h"
#include "win32.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kWarmUp = 5;

double CpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Cost {
  double cpuMs = 0;
  double wallMs = 0;
};

template <typename Frame>
Cost Measure(int frames, Frame frame) {
  for (int i = 0; i < kWarmUp; ++i) frame(i);
  double cpu = CpuSeconds(), wall = WallSeconds();
  for (int i = 0; i < frames; ++i) frame(kWarmUp + i);
  return {(CpuSeconds() - cpu) * 1000.0 / frames, (WallSeconds() - wall) * 1000.0 / frames};
}

// Picture k: a colour ramp of its own, `edge` pixels square.
std::vector<uint8_t> PictureRgb(int k, int edge) {
  std::vector<uint8_t> rgb(size_t(edge) * edge * 3);
  for (int y = 0; y < edge; ++y)
    for (int x = 0; x < edge; ++x) {
      uint8_t* p = &rgb[(size_t(y) * edge + x) * 3];
      p[0] = uint8_t(x * 255 / edge);
      p[1] = uint8_t(y * 255 / edge);
      p[2] = uint8_t(k * 40);
    }
  return rgb;
}

// The same picture as texels (blue, green, red, alpha 255, bottom row first).
std::vector<uint8_t> PictureTexels(int k, int edge) {
  std::vector<uint8_t> rgb = PictureRgb(k, edge), texels(size_t(edge) * edge * 4);
  for (int y = 0; y < edge; ++y)
    for (int x = 0; x < edge; ++x) {
      const uint8_t* p = &rgb[(size_t(edge - 1 - y) * edge + x) * 3];
      uint8_t* t = &texels[(size_t(y) * edge + x) * 4];
      t[0] = p[2];
      t[1] = p[1];
      t[2] = p[0];
      t[3] = 255;
    }
  return texels;
}

std::string ModuleBaseName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name = path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name;
}

void WriteBenchPackage(const std::string& root, int edge) {
  PackageContents contents;
  contents.name = "Frame Bench";
  // Six pictures, both satellites, distance 0, the main cube orbiting,
  // orbit 3 and spins 2, 3, 1 degrees a tick.
  contents.settings = {6, 2, 0, 1, 3, 2, 3, 1, 0};
  for (int k = 0; k < 6; ++k) {
    JpegPicture picture;
    picture.width = picture.height = unsigned(edge);
    picture.samples = PictureRgb(k, edge);
    contents.pictures.push_back(EncodeJpeg(picture));
  }
  std::string base = ModuleBaseName();
  std::filesystem::path folder = std::filesystem::path(root) / "vantrel" / "ssavers" / base;
  std::filesystem::create_directories(folder);
  std::vector<uint8_t> bytes = WritePackage(contents);
  std::ofstream(folder / (base + ".DAT"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

LRESULT CALLBACK StandInSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

Cost MeasureSaver(const std::string& root, int edge, int frames) {
  WriteBenchPackage(root, edge);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND saver = CreateWindowExA(0, "FrameBenchSaver", "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                               kHeight, nullptr, nullptr, instance, nullptr);
  HWND scene = CreateWindowExA(0, kSceneWindowClass, "",
                               WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                               kWidth, kHeight, saver, nullptr, instance, nullptr);
  Cost cost{};
  if (scene != nullptr) {
    cost = Measure(frames, [scene](int) {
      SendMessageA(scene, WM_TIMER, kFrameTimerId, 0);
      UpdateWindow(scene);
    });
  } else {
    fprintf(stderr, "bench_frame: the scene window could not be created\n");
  }
  DestroyWindow(saver);
  return cost;
}

Cost MeasureReference(int edge, int frames) {
  std::vector<std::vector<uint8_t>> pictures;
  for (int k = 0; k < 6; ++k) pictures.push_back(PictureTexels(k, edge));
  BareGl gl(kWidth, kHeight);
  if (!gl.ok()) {
    fprintf(stderr, "bench_frame: no bare EGL context\n");
    return {};
  }
  ReferenceFrame reference(kWidth, kHeight, pictures, edge);
  std::vector<uint8_t> frame;
  Cost cost = Measure(frames, [&](int tick) { reference.Draw(tick, frame); });
  BareGl::ReleaseCurrent();
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = argc > 1 ? atoi(argv[1]) : 40;
  if (frames <= 0) frames = 40;
  char pattern[] = "/tmp/glimmer-frame-bench-XXXXXX";
  std::string root = mkdtemp(pattern);
  setenv("GLIMMER_BACKEND", "headless", 1);
  setenv("GLIMMER_SCREEN", "1920x1080", 1);
  setenv("GLIMMER_WINDOWS_DIR", root.c_str(), 1);
  setenv("GLIMMER_REGISTRY", (root + "/user.reg").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("XDG_RUNTIME_DIR", root.c_str(), 1);  // a temporary folder of its own

  WNDCLASSA saverClass{};
  saverClass.lpfnWndProc = StandInSaverProc;
  saverClass.hInstance = GetModuleHandleA(nullptr);
  saverClass.lpszClassName = "FrameBenchSaver";
  RegisterClassA(&saverClass);
  RegisterSceneWindowClass(GetModuleHandleA(nullptr));

  printf("frame cost at %d x %d, six pictures, three cubes, %d frames each (CPU ms per frame, all threads)\n",
         kWidth, kHeight, frames);
  double load[1] = {0};
  getloadavg(load, 1);
  printf("load average %.2f on %ld cores\n", load[0], sysconf(_SC_NPROCESSORS_ONLN));
  printf("%6s %10s %10s %10s %7s %14s %14s\n", "edge", "saver cpu", "reference", "ratio", "", "cpu in 25 ms",
         "wall in 25 ms");
  bool allHeld = true;
  for (int edge : {512, 1024, 2048}) {
    Cost reference = MeasureReference(edge, frames);
    Cost saver = MeasureSaver(root, edge, frames);
    double ratio = reference.cpuMs > 0 ? saver.cpuMs / reference.cpuMs : 0;
    bool held = saver.cpuMs > 0 && saver.cpuMs <= 25.0;
    allHeld = allHeld && held;
    char wall[32];
    snprintf(wall, sizeof wall, "%s (%.1f)", saver.wallMs <= 25.0 ? "yes" : "no", saver.wallMs);
    printf("%6d %10.2f %10.2f %10.2f %7s %14s %14s\n", edge, saver.cpuMs, reference.cpuMs, ratio,
           ratio <= 1.2 ? "" : "(>1.2)", held ? "yes" : "no", wall);
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return allHeld ? 0 : 1;
}
