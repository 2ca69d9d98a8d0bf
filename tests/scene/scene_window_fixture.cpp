#include "scene_window_fixture.h"

#include <errno.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "platform/testing.h"
#include "scene/scene_window.h"
#include "song_writer.h"
#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/saver_folder.h"

namespace scene_test {

namespace {

const char kSaverClass[] = "SceneTestSaver";

LRESULT CALLBACK StandInSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA saverClass{};
  saverClass.lpfnWndProc = StandInSaverProc;
  saverClass.hInstance = instance;
  saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  saverClass.lpszClassName = kSaverClass;
  RegisterClassA(&saverClass);
  RegisterSceneWindowClass(instance);
}

}  // namespace

std::vector<uint8_t> ColourPicture(uint32_t rgb, unsigned width, unsigned height) {
  JpegPicture picture;
  picture.width = width;
  picture.height = height;
  picture.components = 3;
  picture.quality = 100;
  picture.samples.resize(size_t(width) * height * 3);
  for (size_t i = 0; i < size_t(width) * height; ++i) {
    picture.samples[i * 3] = (rgb >> 16) & 0xFF;
    picture.samples[i * 3 + 1] = (rgb >> 8) & 0xFF;
    picture.samples[i * 3 + 2] = rgb & 0xFF;
  }
  return EncodeJpeg(picture);
}

PackageContents ScenePackage(int imageCount, const std::vector<uint32_t>& colours) {
  PackageContents contents;
  contents.name = "Scene Test";
  contents.description = "pictures in flat colours";
  contents.settings[0] = uint8_t(imageCount);
  contents.settings[2] = 0;  // distance index 0
  for (uint32_t colour : colours)
    contents.pictures.push_back(colour == 0 ? std::vector<uint8_t>() : ColourPicture(colour));
  return contents;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    int difference = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (difference > tolerance || difference < -tolerance) return false;
  }
  return true;
}

SceneHost::SceneHost(int width, int height) : width_(width), height_(height) {
  char screen[32];
  snprintf(screen, sizeof screen, "%dx%d", width, height);
  setenv("GLIMMER_SCREEN", screen, 1);
  setenv("GLIMMER_BACKEND", "headless", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char pattern[] = "/tmp/glimmer-scene-test-XXXXXX";
  root_ = mkdtemp(pattern);
  setenv("GLIMMER_WINDOWS_DIR", root_.c_str(), 1);
  setenv("GLIMMER_REGISTRY", (root_ + "/user.reg").c_str(), 1);
  // A temporary folder of this process's own: the pictures go through one
  // fixed temporary file name, which test processes running side by side
  // would otherwise share.
  setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
  platform::ClockUseVirtual(1000);
  packageFile_ = PrepareThisSaverPackagePath(root_).string();
  RegisterClasses();
}

SceneHost::~SceneHost() {
  DestroyScene();
  if (saver_ != nullptr) DestroyWindow(saver_);
  if (host_ != nullptr) DestroyWindow(host_);
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void SceneHost::WritePackage(const PackageContents& contents) {
  std::vector<uint8_t> bytes = ::WritePackage(contents);
  std::ofstream out(packageFile_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void SceneHost::WriteSong(const std::string& name, double seconds) {
  std::string folder = std::filesystem::path(packageFile_).parent_path().string();
  demo_songs::WriteWav(folder + "/" + name, demo_songs::Chimes(seconds, 22050, 0.25), 22050);
}

void SceneHost::RemovePackage() { std::filesystem::remove(packageFile_); }

bool SceneHost::CreateScene() { return CreateSceneUnder(nullptr, WS_POPUP); }

bool SceneHost::CreatePreviewScene() {
  if (host_ == nullptr) {
    RECT screen{0, 0, width_, height_};
    host_ = platform::CreateForeignWindow(screen);
  }
  return CreateSceneUnder(host_, WS_CHILD);
}

bool SceneHost::CreateSceneUnder(HWND parent, DWORD saverStyle) {
  DestroyScene();
  if (saver_ == nullptr)
    saver_ = CreateWindowExA(0, kSaverClass, "Screen Saver", saverStyle | WS_VISIBLE, 0, 0, width_, height_,
                             parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  scene_ = CreateWindowExA(0, kSceneWindowClass, "",
                           WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                           width_, height_, saver_, nullptr, GetModuleHandleA(nullptr), nullptr);
  return scene_ != nullptr;
}

void SceneHost::DestroyScene() {
  if (scene_ != nullptr) DestroyWindow(scene_);
  scene_ = nullptr;
  Drain();
}

void SceneHost::Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void SceneHost::Run(unsigned ms) {
  uint64_t end = platform::ClockNow() + ms;
  // A timer that ends the run, so the loop never waits past it.
  const UINT_PTR kStopTimer = 0x5CE4;
  HWND owner = saver_;
  SetTimer(owner, kStopTimer, ms, nullptr);
  MSG msg;
  while (platform::ClockNow() < end && GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_TIMER && msg.hwnd == owner && msg.wParam == kStopTimer) break;
    DispatchMessageA(&msg);
  }
  KillTimer(owner, kStopTimer);
  Drain();
}

uint32_t SceneHost::Pixel(int x, int y) const { return platform::ScreenPixel(x, y) & 0xFFFFFF; }

}  // namespace scene_test
