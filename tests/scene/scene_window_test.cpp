// The scene window as the saver runs it: a package of flat-colour pictures,
// the window created inside a stand-in saver window on the headless screen,
// time passing on the virtual clock, pixels read from the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "package/picture_loading.h"
#include "scene/frame.h"
#include "scene/palette.h"
#include "scene/scene_state.h"
#include "scene/scene_window.h"
#include "platform/mci_trace.h"
#include "scene_window_fixture.h"

namespace {

using scene_test::Near;
using scene_test::SceneHost;
using scene_test::ScenePackage;

constexpr uint32_t kColours[6] = {0xE00000, 0x00C000, 0x0000E0, 0xE0E000, 0xE000E0, 0x00E0E0};
constexpr uint32_t kEmpty = 0;  // an empty directory entry

std::string Hex(uint32_t rgb) {
  char text[16];
  snprintf(text, sizeof text, "%06X", rgb);
  return text;
}

bool IsLitGrey(uint32_t rgb) {
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r == g && g == b && r > 60;
}

// Settings bytes: imageCount, satelliteCount, distanceIndex, orbitEnabled,
// orbitStep, spinStepX, spinStepY, spinStepZ, slowTimer.
struct FaceCase {
  const char* what;
  int imageCount;
  std::vector<uint32_t> pictures;
  int spinStepX, spinStepY;
  int ticks;  // frame ticks to let pass
  int shows;  // the picture seen in the middle, -1 = none (lit, untextured)
};

TEST(SceneWindow, PackagePicturesOnTheFaces) {
  const std::vector<uint32_t> all(kColours, kColours + 6);
  const FaceCase cases[] = {
      {"cube, no spin: picture 0 in front", 6, all, 0, 0, 0, 0},
      {"panel: picture 0 in front", 2, {kColours[0], kColours[1]}, 0, 0, 0, 0},
      {"panel turned half round: picture 1", 2, {kColours[0], kColours[1]}, 0, 90, 2, 1},
      {"panel of one turned half round: picture 0 again", 1, {kColours[0]}, 0, 90, 2, 0},
      {"pyramid front side", 5, {all.begin(), all.begin() + 5}, 0, 90, 0, 0},
      {"pyramid left side", 5, {all.begin(), all.begin() + 5}, 0, 90, 1, 2},
      {"pyramid back side", 5, {all.begin(), all.begin() + 5}, 0, 90, 2, 1},
      {"pyramid right side", 5, {all.begin(), all.begin() + 5}, 0, 90, 3, 3},
      {"pyramid base", 5, {all.begin(), all.begin() + 5}, -90, 0, 1, 4},
      {"pyramid without picture 2: left side shows picture 1", 5,
       {kColours[0], kColours[1], kEmpty, kColours[3], kColours[4]}, 0, 90, 1, 1},
      {"cube without picture 0: front untextured", 6,
       {kEmpty, kColours[1], kColours[2], kColours[3], kColours[4], kColours[5]}, 0, 0, 0, -1},
      {"seven declared: the first six load, the panel shows 0 and 1", 7, all, 0, 90, 2, 1},
  };
  SceneHost host;
  for (const FaceCase& c : cases) {
    PackageContents contents = ScenePackage(c.imageCount, c.pictures);
    contents.settings[5] = uint8_t(c.spinStepX);
    contents.settings[6] = uint8_t(c.spinStepY);
    host.WritePackage(contents);
    ASSERT_TRUE(host.CreateScene()) << c.what;
    host.Run(25 * c.ticks);
    uint32_t centre = host.Centre();
    if (c.shows < 0)
      EXPECT_TRUE(IsLitGrey(centre)) << c.what << ": " << Hex(centre);
    else
      EXPECT_TRUE(Near(centre, kColours[c.shows])) << c.what << ": " << Hex(centre);
    host.DestroyScene();
  }
}

// With the orbit at 0 the copies stand still at their starting places, all
// turned by the tilt drawn at creation.
TEST(SceneWindow, SatellitesStartAtTheirPlaces) {
  SceneHost host(200, 150);
  PackageContents contents = ScenePackage(6, std::vector<uint32_t>(kColours, kColours + 6));
  contents.settings[1] = 2;  // both satellites
  contents.settings[2] = 1;  // 22 units away
  contents.settings[3] = 1;  // the main solid orbits too
  host.WritePackage(contents);
  ASSERT_TRUE(host.CreateScene());
  host.Run(100);
  // 7 units at 22 units' distance, with a 55 degree field over 150 pixels.
  const double pixels = 7.0 / 22.0 * (75.0 / std::tan(27.5 * M_PI / 180.0));
  const double tilt = tiltAngle * M_PI / 180.0;
  // Counter-clockwise on screen (y down) from straight down and straight left.
  int mainX = 100 + int(std::lround(pixels * std::sin(tilt)));
  int mainY = 75 + int(std::lround(pixels * std::cos(tilt)));
  int secondX = 100 - int(std::lround(pixels * std::cos(tilt)));
  int secondY = 75 + int(std::lround(pixels * std::sin(tilt)));
  EXPECT_TRUE(Near(host.Pixel(mainX, mainY), kColours[0])) << "tilt " << tiltAngle;
  EXPECT_TRUE(Near(host.Centre(), kColours[1])) << "satellite 1 behind the centre, tilt " << tiltAngle;
  uint32_t second = host.Pixel(secondX, secondY);
  EXPECT_TRUE(Near(second, kColours[1]) || Near(second, kColours[3]) || Near(second, kColours[4]))
      << "satellite 2, tilt " << tiltAngle << ": " << Hex(second);
}

TEST(SceneWindow, SlowTimerTicksEvery1200Milliseconds) {
  struct Case {
    int slow;
    unsigned ticks;  // in 2400 ms
  };
  const Case cases[] = {{0, 96}, {1, 2}, {200, 2}};
  SceneHost host(64, 48);
  for (const Case& c : cases) {
    PackageContents contents = ScenePackage(1, {kColours[0]});
    contents.settings[5] = 1;  // a degree about x each tick
    contents.settings[8] = uint8_t(c.slow);
    host.WritePackage(contents);
    ASSERT_TRUE(host.CreateScene());
    host.Run(2400);
    EXPECT_EQ(spinAngleX, c.ticks) << "slowTimer " << c.slow;
    host.DestroyScene();
  }
}

TEST(SceneWindow, RecreationStartsAgainFromZero) {
  SceneHost host(64, 48);
  PackageContents contents = ScenePackage(2, {kColours[0], kColours[1]});
  contents.settings[4] = 3;
  contents.settings[6] = 90;
  host.WritePackage(contents);
  ASSERT_TRUE(host.CreateScene());
  host.Run(50);
  EXPECT_EQ(spinAngleY, 180u);
  EXPECT_EQ(orbitAngle, 6u);
  EXPECT_TRUE(Near(host.Centre(), kColours[1]));
  host.DestroyScene();
  ASSERT_TRUE(host.CreateScene());
  EXPECT_EQ(spinAngleY, 0u);
  EXPECT_EQ(orbitAngle, 0u);
  host.Drain();
  EXPECT_TRUE(Near(host.Centre(), kColours[0]));
}

// Without a package the window is not created, and the destruction that
// follows the refusal releases nothing of the previous scene a second time.
TEST(SceneWindow, NoPackageNoWindow) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  ASSERT_TRUE(host.CreateScene());
  host.DestroyScene();
  EXPECT_EQ(sceneContext, nullptr);
  EXPECT_EQ(scenePalette, nullptr);
  EXPECT_EQ(frameTimer, 0u);
  // A palette made before the refused creation must outlive the destruction
  // that follows it.
  PIXELFORMATDESCRIPTOR format{};
  format.dwFlags = PFD_NEED_PALETTE;
  format.cColorBits = 8;
  format.cRedBits = 3;
  format.cGreenBits = 3;
  format.cGreenShift = 3;
  format.cBlueBits = 2;
  format.cBlueShift = 6;
  HPALETTE probe = CreatePaletteForFormat(&format);
  ASSERT_NE(probe, nullptr);
  host.RemovePackage();
  EXPECT_FALSE(host.CreateScene());
  PALETTEENTRY entry{};
  EXPECT_EQ(GetPaletteEntries(probe, 7, 1, &entry), 1u) << "the probe palette survives";
  DeleteObject(probe);
  // The package back: the next creation builds the scene whole.
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  ASSERT_TRUE(host.CreateScene());
  host.Drain();
  EXPECT_TRUE(Near(host.Centre(), kColours[0])) << Hex(host.Centre());
}

}  // namespace

namespace {

// A preview builds the same scene as the full-screen saver.
TEST(SceneWindow, PreviewShowsTheSameScene) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(2, {kColours[0], kColours[1]}));
  ASSERT_TRUE(host.CreatePreviewScene());
  host.Run(25);
  EXPECT_TRUE(Near(host.Centre(), kColours[0])) << Hex(host.Centre());
}

// A scene window with no height: the projection stays defined and frames go
// on; the window grown afterwards shows the scene.
TEST(SceneWindow, NoHeightNoFault) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  ASSERT_TRUE(host.CreateScene());
  SetWindowPos(host.scene(), nullptr, 0, 0, 64, 0, SWP_NOZORDER | SWP_NOMOVE);
  host.Run(100);
  SetWindowPos(host.scene(), nullptr, 0, 0, 64, 48, SWP_NOZORDER | SWP_NOMOVE);
  host.Run(25);
  EXPECT_TRUE(Near(host.Centre(), kColours[0])) << Hex(host.Centre());
}

TEST(ScenePalette, TrueColourDisplayNeedsNone) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  ASSERT_TRUE(host.CreateScene());
  EXPECT_EQ(scenePalette, nullptr);
}

// On an 8-bit display the scene makes the 3-3-2 palette and takes the system
// palette back when another window took it, but not when the change was its
// own.
TEST(ScenePalette, EightBitDisplayRealizesTheScenePalette) {
  setenv("GLIMMER_PIXEL_FORMAT", "8", 1);
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  ASSERT_TRUE(host.CreateScene());
  ASSERT_NE(scenePalette, nullptr);
  PALETTEENTRY entry{};
  ASSERT_EQ(GetPaletteEntries(scenePalette, 3, 1, &entry), 1u);
  EXPECT_EQ(entry.peRed, 128);
  EXPECT_EQ(entry.peGreen, 0);
  EXPECT_EQ(entry.peBlue, 0);

  // Another program realizes a palette of greys.
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[255];
  } greys{};
  greys.header.palVersion = 0x300;
  greys.header.palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    PALETTEENTRY& e = i == 0 ? greys.header.palPalEntry[0] : greys.more[i - 1];
    e.peRed = e.peGreen = e.peBlue = BYTE(i);
  }
  HPALETTE other = CreatePalette(&greys.header);
  HDC screen = GetDC(nullptr);
  HPALETTE kept = SelectPalette(screen, other, FALSE);
  EXPECT_GT(RealizePalette(screen), 0u);
  SelectPalette(screen, kept, TRUE);
  ReleaseDC(nullptr, screen);

  HWND scene = host.scene();
  EXPECT_EQ(SendMessageA(scene, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(scene), 0), 0)
      << "a change of its own realizes nothing";
  EXPECT_GT(SendMessageA(scene, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(host.saver()), 0), 0)
      << "another window's change: the scene palette comes back";
  EXPECT_EQ(SendMessageA(scene, WM_QUERYNEWPALETTE, 0, 0), 0) << "nothing left to change";
  host.Run(25);
  EXPECT_TRUE(Near(host.Centre(), kColours[0])) << Hex(host.Centre());
  DeleteObject(other);
}

}  // namespace

namespace {

std::vector<std::string> OpenedSongs() {
  std::vector<std::string> opened;
  for (const platform::MciCall& call : platform::MciCalls())
    if (call.command == MCI_OPEN && call.result == 0) {
      std::string element = call.element;
      opened.push_back(element.substr(element.find_last_of("\\/") + 1));
    }
  return opened;
}

// The end of a song brings the next one only when it ended well; every
// notification is answered with 0.
TEST(SceneWindow, SongNotificationCodes) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  host.WriteSong("juk00001.wav", 30);
  host.WriteSong("juk00002.wav", 30);
  ASSERT_TRUE(host.CreateScene());
  ASSERT_EQ(OpenedSongs(), std::vector<std::string>{"juk00001.wav"});
  struct Case {
    WPARAM code;
    size_t opened;
  };
  const Case cases[] = {{MCI_NOTIFY_SUPERSEDED, 1}, {MCI_NOTIFY_ABORTED, 1}, {MCI_NOTIFY_FAILURE, 1},
                        {MCI_NOTIFY_SUCCESSFUL, 2}, {0, 2}, {MCI_NOTIFY_SUCCESSFUL, 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(host.scene(), MM_MCINOTIFY, c.code, 0), 0) << "code " << c.code;
    EXPECT_EQ(OpenedSongs().size(), c.opened) << "after code " << c.code;
  }
  EXPECT_EQ(OpenedSongs().back(), "juk00001.wav") << "the list wraps";
  host.DestroyScene();
  EXPECT_EQ(platform::MciOpenDeviceCount(), 0) << "the destruction stops the song";
}

// A preview plays nothing, whatever lies beside the package.
TEST(SceneWindow, PreviewIsSilent) {
  SceneHost host(64, 48);
  host.WritePackage(ScenePackage(1, {kColours[0]}));
  host.WriteSong("juk00001.wav", 30);
  ASSERT_TRUE(host.CreatePreviewScene());
  EXPECT_TRUE(OpenedSongs().empty());
}

}  // namespace
