// Frame cost of the saver against a bare-EGL reference, in the same run.
//
// The saver: a package of six pictures whose texture edge is 512, 1024 or
// 2048, the real scene window on a 1920 x 1080 headless screen, three cubes
// (the main one orbiting, both satellites), one frame = one tick and one
// paint (which ends in SwapBuffers into the window's store). The reference:
// the same three cubes in the same places with the same six textures, drawn
// by the plainest code on a bare EGL pbuffer, the frame read back. Reported: CPU time per frame
// (every thread of the process, so llvmpipe's workers count), the ratio,
// and whether a frame fits the saver's 25 ms frame timer: by its CPU time
// (what one core must give a frame) and by the wall time measured here,
// which a busy machine stretches (the load average is printed beside it).
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "reference_frame.h"
#include "package/package_layout.h"
#include "scene/frame.h"
#include "scene/scene_state.h"
#include "scene/scene_window.h"
#include "tests/scene/bare_gl.h"
#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/package_writer.h"
#include "tools/glimmerkit/saver_folder.h"
#include "win32.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kWarmUp = 5;
// Six pictures, both satellites, distance 0, the main cube orbiting, orbit 3
// and spins 2, 3, 1 degrees a tick, the 25 ms timer.
constexpr std::array<uint8_t, 9> kSettings = {6, 2, 0, 1, 3, 2, 3, 1, 0};

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

// Accumulates frames measured in rounds.
struct Tally {
  double cpu = 0, wall = 0;
  int frames = 0;
  template <typename Frame>
  void Round(int count, Frame frame) {
    double cpuStart = CpuSeconds(), wallStart = WallSeconds();
    for (int i = 0; i < count; ++i) frame(frames + i);
    cpu += CpuSeconds() - cpuStart;
    wall += WallSeconds() - wallStart;
    frames += count;
  }
  Cost PerFrame() const { return {cpu * 1000.0 / frames, wall * 1000.0 / frames}; }
};

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

void WriteBenchPackage(const std::string& root, int edge) {
  PackageContents contents;
  contents.name = "Frame Bench";
  contents.settings = kSettings;
  for (int k = 0; k < 6; ++k) {
    JpegPicture picture;
    picture.width = picture.height = unsigned(edge);
    picture.samples = PictureRgb(k, edge);
    contents.pictures.push_back(EncodeJpeg(picture));
  }
  std::vector<uint8_t> bytes = WritePackage(contents);
  std::ofstream(PrepareThisSaverPackagePath(root), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

LRESULT CALLBACK StandInSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A reference side: its own bare context and the cubes on it.
struct Reference {
  Reference(int depthBits, int stencilBits, const std::vector<std::vector<uint8_t>>& pictures, int edge)
      : gl(kWidth, kHeight, depthBits, stencilBits) {
    if (gl.ok()) frame = std::make_unique<ReferenceFrame>(kWidth, kHeight, pictures, edge);
    BareGl::ReleaseCurrent();
  }
  void Round(int count) {
    gl.MakeCurrent();
    tally.Round(count, [this](int) { frame->Draw(readBack); });
    BareGl::ReleaseCurrent();
  }
  BareGl gl;
  std::unique_ptr<ReferenceFrame> frame;
  std::vector<uint8_t> readBack;
  Tally tally;
};

struct EdgeCosts {
  Cost saver, asked, layer;
};

// One edge: the saver and two references side by side, measured in
// alternating rounds so that whatever else the machine does weighs on all.
// One reference has the 16-bit depth buffer the scene's pixel format asks
// for; the other the depth and stencil buffer the layer's pixel format
// gives (24 + 8 bits), so the layer's part of the cost shows apart.
bool MeasureEdge(const std::string& root, int edge, int frames, EdgeCosts* costs) {
  std::vector<std::vector<uint8_t>> pictures;
  for (int k = 0; k < 6; ++k) pictures.push_back(PictureTexels(k, edge));
  Reference asked(16, 0, pictures, edge), layer(24, 8, pictures, edge);
  if (!asked.frame || !layer.frame) {
    fprintf(stderr, "bench_frame: no bare EGL context\n");
    return false;
  }

  WriteBenchPackage(root, edge);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND saver = CreateWindowExA(0, "FrameBenchSaver", "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                               kHeight, nullptr, nullptr, instance, nullptr);
  HWND scene = CreateWindowExA(0, kSceneWindowClass, "",
                               WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                               kWidth, kHeight, saver, nullptr, instance, nullptr);
  if (scene == nullptr) {
    fprintf(stderr, "bench_frame: the scene window could not be created\n");
    DestroyWindow(saver);
    return false;
  }
  // The references' cubes go where the saver's go, frame for frame.
  for (Reference* reference : {&asked, &layer})
    reference->frame->Place(distanceTable[kSettings[kDistanceIndexByte]], int(tiltAngle),
                            kSettings[kOrbitStepByte], kSettings[kSpinStepXByte], kSettings[kSpinStepYByte],
                            kSettings[kSpinStepZByte]);
  // A frame of the saver: one tick of the frame timer and the paint it asks for.
  Tally saverTally;
  auto saverRound = [&](int count) {
    saverTally.Round(count, [scene](int) {
      SendMessageA(scene, WM_TIMER, kFrameTimerId, 0);
      UpdateWindow(scene);
    });
  };

  saverRound(kWarmUp);
  asked.Round(kWarmUp);
  layer.Round(kWarmUp);
  saverTally = Tally{};
  asked.tally = layer.tally = Tally{};
  const int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    int count = frames / kRounds + (round < frames % kRounds ? 1 : 0);
    asked.Round(count);
    saverRound(count);
    layer.Round(count);
  }
  DestroyWindow(saver);
  costs->saver = saverTally.PerFrame();
  costs->asked = asked.tally.PerFrame();
  costs->layer = layer.tally.PerFrame();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = argc > 1 ? atoi(argv[1]) : 200;
  if (frames < 5) frames = 200;
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

  printf("frame cost at %d x %d, six pictures, three cubes, %d frames each in 5 alternating rounds (CPU ms per frame, all threads)\n",
         kWidth, kHeight, frames);
  double load[1] = {0};
  getloadavg(load, 1);
  printf("load average %.2f on %ld cores\n", load[0], sysconf(_SC_NPROCESSORS_ONLN));
  printf("%6s %9s %13s %7s %13s %7s %12s %14s\n", "edge", "saver", "ref. depth16", "ratio", "ref. depth24+8",
         "ratio", "cpu in 25 ms", "wall in 25 ms");
  bool allHeld = true;
  for (int edge : {512, 1024, 2048}) {
    EdgeCosts costs;
    if (!MeasureEdge(root, edge, frames, &costs)) return 1;
    double ratio = costs.saver.cpuMs / costs.asked.cpuMs;
    double layerRatio = costs.saver.cpuMs / costs.layer.cpuMs;
    bool held = costs.saver.cpuMs <= 25.0;
    allHeld = allHeld && held;
    char wall[32];
    snprintf(wall, sizeof wall, "%s (%.1f)", costs.saver.wallMs <= 25.0 ? "yes" : "no", costs.saver.wallMs);
    printf("%6d %9.2f %13.2f %7.2f %13.2f %7.2f %12s %14s\n", edge, costs.saver.cpuMs, costs.asked.cpuMs, ratio,
           costs.layer.cpuMs, layerRatio, held ? "yes" : "no", wall);
  }
  printf("ratio: saver / reference, aim at most 1.2; times in CPU ms per frame\n");
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return allHeld ? 0 : 1;
}
