// A stand-in for the scene window: a plain child window of a plain saver
// window whose procedure runs the song advance and teardown, a folder of
// song files of our own, a private settings file and the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "songs/songs.h"

class SongFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Song files in the package folder; the content by kind: "wav" (chimes of
  // `seconds`), "mid" (a scale lasting `seconds`, whole quarters of 0.25 s),
  // "noise" (bytes no decoder reads), "folder" (a directory of that name).
  void AddFile(const std::string& name, const char* kind, double seconds = 1.0);

  // "Sound" for `saverName` (missing key when never called).
  void SetSound(const std::string& saverName, DWORD type, const void* data, DWORD size);

  // The saver window (top level, or a child of a host window for a preview)
  // and the scene window in it; the scene's creation runs the song start.
  void CreateScene(bool preview = false, const std::string& saverName = "Test Saver");
  void DestroyScene();

  // Names of the songs opened so far, in order (successful opens only).
  std::vector<std::string> Opened() const;
  // Runs the message loop until `count` song ends have been handled.
  void RunSongEnds(int count);

  bool virtualClock_ = true;  // set false before SetUp for the real clock
  std::string base_;  // host path of this test's scratch folder
  std::string folder_;  // host path
  std::string packagePath_;  // Windows-style, as the locator leaves it
  HWND host_ = nullptr;
  HWND saver_ = nullptr;
  HWND scene_ = nullptr;

 public:
  struct Notice {
    uint64_t at;
    WPARAM code;
    double written;  // seconds of sound in `outputFile` by then
  };
  static std::vector<Notice> notices;  // every MM_MCINOTIFY the scene got
  static std::string outputFile;  // SDL's disk writer output, when used
  static std::string saverName;
};
