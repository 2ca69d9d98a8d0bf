// The focus loss and return of the saver destroys and re-creates the scene
// window, possibly many times in one run: nothing may pile up.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "scene/scene_state.h"
#include "scene_window_fixture.h"

namespace {

using scene_test::SceneHost;
using scene_test::ScenePackage;

long ResidentKilobytes() {
  FILE* status = fopen("/proc/self/status", "r");
  char line[256];
  long kilobytes = -1;
  while (status != nullptr && fgets(line, sizeof line, status) != nullptr)
    if (sscanf(line, "VmRSS: %ld kB", &kilobytes) == 1) break;
  if (status != nullptr) fclose(status);
  return kilobytes;
}

// What one scene window held, to be checked once it is gone.
struct Held {
  HGLRC context;
  HPALETTE palette;
  std::vector<HBITMAP> bitmaps;
};

Held WhatTheSceneHolds() {
  Held held{sceneContext, scenePalette, {}};
  for (HBITMAP bitmap : textureBitmap)
    if (bitmap != nullptr) held.bitmaps.push_back(bitmap);
  return held;
}

void ExpectReleased(const Held& held, int cycle) {
  EXPECT_FALSE(wglDeleteContext(held.context)) << "context of cycle " << cycle << " still alive";
  if (held.palette != nullptr) {
    EXPECT_EQ(GetObjectType(held.palette), 0u) << "palette of cycle " << cycle;
  }
  for (HBITMAP bitmap : held.bitmaps) EXPECT_EQ(GetObjectType(bitmap), 0u) << "DIB section of cycle " << cycle;
}

// Pictures of 128 x 128: a texture left behind each time (DIB section or
// texture object, 64 KB each) would add tens of megabytes.
TEST(SceneLifecycle, FiveHundredRecreationsLeaveNothingBehind) {
  SceneHost host(64, 48);
  PackageContents contents = ScenePackage(2, {});
  contents.pictures = {scene_test::ColourPicture(0xC00000, 128, 128),
                       scene_test::ColourPicture(0x00C000, 128, 128)};
  contents.settings[6] = 7;
  host.WritePackage(contents);

  long settled = 0;
  for (int cycle = 0; cycle < 500; ++cycle) {
    ASSERT_TRUE(host.CreateScene()) << "cycle " << cycle;
    ASSERT_NE(sceneContext, nullptr);
    ASSERT_EQ(textureBitmap[0] != nullptr && textureBitmap[1] != nullptr, true);
    host.Run(25);
    Held held = WhatTheSceneHolds();
    host.DestroyScene();
    EXPECT_EQ(sceneContext, nullptr);
    EXPECT_EQ(frameTimer, 0u);
    for (int slot = 0; slot < kPictureSlots; ++slot) {
      EXPECT_EQ(textureBitmap[slot], nullptr);
      EXPECT_EQ(textureObject[slot], 0u);
    }
    if (cycle % 50 == 0) ExpectReleased(held, cycle);
    if (cycle == 49) settled = ResidentKilobytes();
    if (::testing::Test::HasFailure()) break;
  }
  long grown = ResidentKilobytes() - settled;
  // 450 cycles; one texture kept each time would be 28 MB.
  EXPECT_LT(grown, 16 * 1024) << "resident memory grew by " << grown << " kB";
}

}  // namespace
