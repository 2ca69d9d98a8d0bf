// glimmerkit snapshot, run as a person runs it: a package in, a PNG out.
#include <gtest/gtest.h>

#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scene_window_fixture.h"

namespace {

using scene_test::Near;
using scene_test::ScenePackage;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint32_t At(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
};

bool ReadPng(const std::string& path, Picture* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out->width = int(image.width);
  out->height = int(image.height);
  out->rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr) != 0;
}

class Snapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/glimmer-snapshot-test-XXXXXX";
    folder_ = mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  void Write(const std::string& name, const PackageContents& contents) {
    std::vector<uint8_t> bytes = WritePackage(contents);
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  // Runs glimmerkit with `arguments`; its exit code.
  int Run(const std::string& arguments) {
    std::string command = std::string(GLIMMERKIT_PATH) + " " + arguments + " 2>" + Path("stderr.txt");
    int status = system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string folder_;
};

TEST_F(Snapshot, WritesTheSceneAtTheGivenTime) {
  PackageContents contents = ScenePackage(2, {0xE00000, 0x00C000});
  contents.settings[6] = 90;  // a quarter turn about y each tick
  Write("panel.DAT", contents);
  struct Case {
    int at;
    uint32_t centre;
  };
  // Tick 2 (50 ms) has turned the panel half round: its back, picture 1.
  const Case cases[] = {{0, 0xE00000}, {50, 0x00C000}, {100, 0xE00000}};
  for (const Case& c : cases) {
    std::string png = Path("at" + std::to_string(c.at) + ".png");
    ASSERT_EQ(Run("snapshot " + Path("panel.DAT") + " -o " + png + " --size 160x120 --at " + std::to_string(c.at)),
              0);
    Picture picture;
    ASSERT_TRUE(ReadPng(png, &picture)) << png;
    EXPECT_EQ(picture.width, 160);
    EXPECT_EQ(picture.height, 120);
    char hex[16];
    snprintf(hex, sizeof hex, "%06X", picture.At(80, 60));
    EXPECT_TRUE(Near(picture.At(80, 60), c.centre)) << "at " << c.at << ": " << hex;
    EXPECT_EQ(picture.At(2, 2), 0u) << "black around the solid";
  }
}

// The same package and time give the same picture: the tilt comes from a
// fixed virtual start.
TEST_F(Snapshot, SameTimeSamePicture) {
  PackageContents contents = ScenePackage(6, {0xE00000, 0x00C000, 0x0000E0, 0xE0E000, 0xE000E0, 0x00E0E0});
  contents.settings = {6, 2, 1, 1, 3, 5, 7, 2, 0};
  Write("cube.DAT", contents);
  ASSERT_EQ(Run("snapshot " + Path("cube.DAT") + " -o " + Path("a.png") + " --size 120x90 --at 700"), 0);
  ASSERT_EQ(Run("snapshot " + Path("cube.DAT") + " -o " + Path("b.png") + " --size 120x90 --at 700"), 0);
  Picture a, b;
  ASSERT_TRUE(ReadPng(Path("a.png"), &a));
  ASSERT_TRUE(ReadPng(Path("b.png"), &b));
  EXPECT_EQ(a.rgb, b.rgb);
  int lit = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) lit += a.At(x, y) != 0;
  EXPECT_GT(lit, 200) << "the solids are drawn";
}

TEST_F(Snapshot, RefusesWhatItCannotDo) {
  Write("ok.DAT", ScenePackage(1, {0xE00000}));
  struct Case {
    std::string arguments;
    int code;
  };
  const Case cases[] = {
      {"snapshot " + Path("missing.DAT") + " -o " + Path("x.png"), 1},
      {"snapshot " + Path("ok.DAT"), 2},
      {"snapshot -o " + Path("x.png"), 2},
      {"snapshot " + Path("ok.DAT") + " -o " + Path("x.png") + " --size 0x10", 2},
      {"snapshot " + Path("ok.DAT") + " -o " + Path("x.png") + " --size 640", 2},
      {"snapshot " + Path("ok.DAT") + " -o " + Path("x.png") + " --at -5", 2},
      {"snapshot " + Path("ok.DAT") + " -o " + Path("x.png") + " --at soon", 2},
      {"snapshot " + Path("ok.DAT") + " -o " + Path("no/such/folder/x.png") + " --size 16x16", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.arguments), c.code) << c.arguments;
  EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
}

}  // namespace
