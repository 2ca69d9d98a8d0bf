#include "song_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/mci_trace.h"
#include "platform/paths.h"
#include "song_writer.h"

std::vector<SongFixture::Notice> SongFixture::notices;
std::string SongFixture::saverName;
std::string SongFixture::outputFile;

namespace {

std::string packagePathForCreate;

// 16-bit stereo at 44100 frames a second.
double WrittenSeconds() {
  struct stat info;
  if (SongFixture::outputFile.empty() || stat(SongFixture::outputFile.c_str(), &info) != 0) return 0;
  return info.st_size / 4 / 44100.0;
}

LRESULT CALLBACK SceneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      StartSongs(window, packagePathForCreate.c_str(), SongFixture::saverName.c_str());
      return 0;
    case WM_DESTROY:
      StopSongs();
      return 0;
    case MM_MCINOTIFY:
      SongFixture::notices.push_back({platform::ClockNow(), wParam, WrittenSeconds()});
      return AdvanceSongs(wParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce(const char* name, WNDPROC proc) {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = proc;
  cls.lpszClassName = name;
  RegisterClassA(&cls);
}

std::string BaseName(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void SongFixture::SetUp() {
  if (virtualClock_) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // timed, never heard
    platform::ClockUseVirtual(1000000);
  } else {
    platform::ClockUseReal();
  }
  // The process id keeps two runs of the suite at once (two build trees)
  // out of each other's folders.
  base_ = testing::TempDir() + "/songs_" +
                     testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                     std::to_string(getpid());
  std::filesystem::remove_all(base_);  // left by an earlier run
  mkdir(base_.c_str(), 0700);
  folder_ = base_ + "/ssavers";
  mkdir(folder_.c_str(), 0700);
  std::string registry = base_ + "/user.reg";
  std::remove(registry.c_str());
  setenv("GLIMMER_REGISTRY", registry.c_str(), 1);
  packagePath_ = platform::ToWindowsPath(folder_ + "/TEST.DAT");
  notices.clear();
  saverName = "Test Saver";
  RegisterOnce("SongTestSaver", DefWindowProcA);
  RegisterOnce("SongTestScene", SceneProc);
}

void SongFixture::TearDown() {
  if (host_ != nullptr) DestroyWindow(host_);
  if (saver_ != nullptr && IsWindow(saver_)) DestroyWindow(saver_);
  std::filesystem::remove_all(base_);
}

void SongFixture::AddFile(const std::string& name, const char* kind, double seconds) {
  std::string path = folder_ + "/" + name;
  std::string k = kind;
  if (k == "wav") {
    ASSERT_TRUE(demo_songs::WriteWav(path, demo_songs::Chimes(seconds, 22050, 0.25), 22050));
  } else if (k == "mid") {
    ASSERT_TRUE(demo_songs::WriteMidi(path, demo_songs::Scale(static_cast<int>(seconds * 4 + 0.5)),
                                      250000, {0}));
  } else if (k == "noise") {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 2048; ++i) std::fputc((i * 7919) & 0xFF, f);
    std::fclose(f);
  } else {
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  }
}

void SongFixture::SetSound(const std::string& name, DWORD type, const void* data, DWORD size) {
  std::string key = "Software\\Vantrel\\Made with Glimmerkit\\" + name;
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &opened, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(opened, "Sound", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(opened);
}

void SongFixture::CreateScene(bool preview, const std::string& name) {
  saverName = name;
  packagePathForCreate = packagePath_;
  if (preview) {
    host_ = CreateWindowExA(0, "SongTestSaver", "host", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
  }
  saver_ = CreateWindowExA(0, "SongTestSaver", "saver", preview ? WS_CHILD : WS_POPUP, 0, 0, 200, 150,
                           host_, nullptr, nullptr, nullptr);
  ASSERT_NE(saver_, nullptr);
  scene_ = CreateWindowExA(0, "SongTestScene", "scene", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, 200,
                           150, saver_, nullptr, nullptr, nullptr);
  ASSERT_NE(scene_, nullptr);
}

void SongFixture::DestroyScene() {
  DestroyWindow(scene_);
  scene_ = nullptr;
}

std::vector<std::string> SongFixture::Opened() const {
  std::vector<std::string> names;
  for (const platform::MciCall& call : platform::MciCalls()) {
    if (call.command == MCI_OPEN && call.result == 0) names.push_back(BaseName(call.element));
  }
  return names;
}

void SongFixture::RunSongEnds(int count) {
  size_t target = notices.size() + count;
  // A guard timer ends the wait when no song end comes within a minute.
  SetTimer(saver_, 77, 60000, nullptr);
  MSG msg;
  while (notices.size() < target && GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_TIMER && msg.hwnd == saver_ && msg.wParam == 77) break;
    DispatchMessageA(&msg);
    SetTimer(saver_, 77, 60000, nullptr);
  }
  KillTimer(saver_, 77);
}
