// Runs the real scene window on the headless screen under the virtual clock:
// a content package written for this test program (the locator finds it
// under the program's own name in a private data root), a plain full-screen
// window standing in for the saver window, and the scene window inside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/glimmerkit/package_writer.h"
#include "win32.h"

namespace scene_test {

// A solid-colour JPEG picture, so a face is known by its colour.
std::vector<uint8_t> ColourPicture(uint32_t rgb, unsigned width = 16, unsigned height = 16);

// Package contents with the given settings and one picture per colour (0 =
// an empty directory entry).
PackageContents ScenePackage(int imageCount, const std::vector<uint32_t>& colours);

// Whether two colours match within what JPEG coding leaves of a flat colour.
bool Near(uint32_t a, uint32_t b, int tolerance = 12);

class SceneHost {
 public:
  // Sets up the headless screen (once per process) and the data root.
  SceneHost(int width = 160, int height = 120);
  ~SceneHost();

  // Writes the package where the locator looks first.
  void WritePackage(const PackageContents& contents);
  void RemovePackage();
  // A song file of `seconds` beside the package.
  void WriteSong(const std::string& name, double seconds);

  // Creates the stand-in saver window (once) and the scene window over its
  // client area; false when the scene window refuses to be created.
  bool CreateScene();
  // A saver window that is itself a child of a host window, as in preview.
  bool CreatePreviewScene();
  void DestroyScene();

  // The saver window (once, with `saverStyle`, under `parent`) and a new
  // scene window in it.
  bool CreateSceneUnder(HWND parent, DWORD saverStyle);

  // Lets `ms` of virtual time pass through the message loop, then handles
  // whatever is still waiting (the last paint).
  void Run(unsigned ms);
  // Handles what is waiting without letting time pass.
  void Drain();

  uint32_t Pixel(int x, int y) const;
  uint32_t Centre() const { return Pixel(width_ / 2, height_ / 2); }

  HWND saver() const { return saver_; }
  HWND scene() const { return scene_; }
  int width() const { return width_; }
  int height() const { return height_; }

  std::string root() const { return root_; }

 private:
  int width_;
  int height_;
  std::string root_;
  std::string packageFile_;
  HWND host_ = nullptr;
  HWND saver_ = nullptr;
  HWND scene_ = nullptr;
};

}  // namespace scene_test
