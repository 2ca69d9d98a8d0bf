// glimmerkit as a person runs it: the built program, its exit codes, what it
// prints and the files it writes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "package/package_layout.h"
#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/package_writer.h"

namespace {

class Glimmerkit : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/glimmerkit-test-XXXXXX";
    folder_ = mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  // Runs glimmerkit with `arguments` (already quoted for the shell); keeps
  // what it printed.
  int Run(const std::string& arguments) {
    std::string command = std::string("'") + GLIMMERKIT_PROGRAM + "' " + arguments + " >'" + Path("out.txt") +
                          "' 2>'" + Path("err.txt") + "'";
    int status = system(command.c_str());
    out_ = Read(Path("out.txt"));
    err_ = Read(Path("err.txt"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    Write(path, std::string(bytes.begin(), bytes.end()));
  }

  // A small picture of one colour, written to `name`; returns its bytes.
  std::string Picture(const std::string& name, unsigned width, unsigned height, uint8_t shade) {
    JpegPicture picture;
    picture.width = width;
    picture.height = height;
    picture.samples.assign(width * height * 3, shade);
    std::vector<uint8_t> jpeg = EncodeJpeg(picture);
    Write(Path(name), jpeg);
    return std::string(jpeg.begin(), jpeg.end());
  }

  std::string folder_;
  std::string out_;
  std::string err_;
};

TEST_F(Glimmerkit, PackInfoExtractRoundTrip) {
  std::vector<std::string> pictures;
  std::string list;
  for (int i = 0; i < 6; ++i) {
    pictures.push_back(Picture("in" + std::to_string(i) + ".jpg", 16 + i, 8 + i, static_cast<uint8_t>(40 * i)));
    list += " '" + Path("in" + std::to_string(i) + ".jpg") + "'";
  }
  ASSERT_EQ(Run("pack --output '" + Path("s.DAT") + "' --name 'Round Trip' --description 'Six shades' " +
                "--banner 'Hello there' --satellites 2 --distance 3 --orbit --orbit-step -3 --spin-x 4 " +
                "--spin-y -5 --spin-z 6 --slow-timer" + list),
            0)
      << err_;

  ASSERT_EQ(Run("info '" + Path("s.DAT") + "'"), 0) << err_;
  for (const char* line : {"banner: \"Hello there\"", "imageCount      6", "satelliteCount  2", "distanceIndex   3",
                           "orbitEnabled    1", "orbitStep       -3", "spinStepX       4", "spinStepY       -5",
                           "spinStepZ       6", "slowTimer       1", "name: \"Round Trip\"",
                           "description: \"Six shades\"", "16 x 8", "21 x 13"})
    EXPECT_NE(out_.find(line), std::string::npos) << line << "\n" << out_;
  // The first picture sits right behind the directory: 5645 + 10 + 10 + 8 + 48.
  EXPECT_NE(out_.find("1  offset 5721  size " + std::to_string(pictures[0].size()) + " bytes"), std::string::npos)
      << out_;

  std::filesystem::create_directory(Path("out"));
  ASSERT_EQ(Run("extract --output-dir '" + Path("out") + "' '" + Path("s.DAT") + "'"), 0) << err_;
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Read(Path("out/picture" + std::to_string(i + 1) + ".jpg")), pictures[i]) << i;
}

TEST_F(Glimmerkit, EmptySlotsAndTheLayoutOnDisk) {
  std::string picture = Picture("a.jpg", 8, 8, 200);
  // Trailing bytes behind the end-of-image marker are not packed.
  Write(Path("b.jpg"), picture + "trailing junk");
  ASSERT_EQ(Run("pack -o '" + Path("s.DAT") + "' -n N -d DD -b B --image-count 3 '" + Path("a.jpg") + "' '" +
                Path("b.jpg") + "'"),
            0)
      << err_;
  std::string bytes = Read(Path("s.DAT"));
  ASSERT_EQ(bytes.size(), 5645u + 1 + 2 + 8 + 24 + 2 * picture.size());
  EXPECT_EQ(bytes.substr(0, kBannerOffset), std::string(kBannerOffset, '\0'));
  EXPECT_EQ(bytes.substr(kBannerOffset, 2), std::string("B\0", 2));
  EXPECT_EQ(bytes[kSettingsOffset], 3);
  EXPECT_EQ(bytes.substr(kNameLengthOffset, 8), std::string("\x01\x00N\x02\x00" "DD\x00", 8));
  // The gap and the second half of each entry are zero; the third entry is empty.
  std::string directory = bytes.substr(5648, 8 + 24);
  EXPECT_EQ(directory.substr(0, 8), std::string(8, '\0'));
  EXPECT_EQ(directory.substr(12, 4), std::string(4, '\0'));
  EXPECT_EQ(directory.substr(24, 8), std::string(8, '\0'));
  EXPECT_EQ(bytes.substr(5680), picture + picture);

  ASSERT_EQ(Run("info '" + Path("s.DAT") + "'"), 0) << err_;
  EXPECT_NE(out_.find("3  empty"), std::string::npos) << out_;
}

struct Refusal {
  const char* name;
  std::string arguments;  // behind "pack --output X"; P stands for a good picture
  int code;
  const char* message;
};

TEST_F(Glimmerkit, PackRefusesWhatWouldMakeABrokenPackage) {
  Picture("p.jpg", 8, 8, 100);
  std::string p = " '" + Path("p.jpg") + "'";
  Write(Path("text.jpg"), std::string("not a picture at all"));
  std::string jpeg = Read(Path("p.jpg"));
  Write(Path("cut.jpg"), jpeg.substr(0, jpeg.size() - 2));
  Write(Path("long.txt"), std::string(70000, 'd'));
  const Refusal cases[] = {
      {"seven pictures", "--name N" + p + p + p + p + p + p + p, 2, "at most 6"},
      {"name too long", "--name " + std::string(kSaverNameMaxLength + 1, 'n') + p, 1, "at most 217"},
      {"banner too long", "--name N --banner " + std::string(kBannerMaxLength + 1, 'b') + p, 1, "at most 2047"},
      {"description too long", "--name N --description-file '" + Path("long.txt") + "'" + p, 1, "at most 65535"},
      {"not a JPEG", "--name N '" + Path("text.jpg") + "'", 1, "not a picture the saver can show"},
      {"JPEG without its end", "--name N '" + Path("cut.jpg") + "'", 1, "no end-of-image marker"},
      {"missing picture", "--name N '" + Path("none.jpg") + "'", 1, "cannot open"},
      {"distance beyond the table", "--name N --distance 4" + p, 2, "--distance must be"},
      {"three satellites", "--name N --satellites 3" + p, 2, "--satellites must be"},
      {"spin beyond a byte", "--name N --spin-x 200" + p, 2, "--spin-x must be"},
      {"spin not a number", "--name N --spin-y fast" + p, 2, "--spin-y must be"},
      {"image count below the pictures", "--name N --image-count 1" + p + p, 2, "leaves out"},
      {"image count 7", "--name N --image-count 7" + p, 2, "--image-count must be"},
      {"no name", std::string() + p, 2, "--name"},
      {"unknown option", "--name N --sparkle" + p, 2, "unknown option"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run("pack --output '" + Path("s.DAT") + "' " + c.arguments), c.code);
    EXPECT_NE(err_.find(c.message), std::string::npos) << err_;
    EXPECT_FALSE(std::filesystem::exists(Path("s.DAT")));
  }
  EXPECT_EQ(Run("pack --name N" + p), 2);
  EXPECT_NE(err_.find("--output"), std::string::npos) << err_;
}

struct Damage {
  const char* name;
  std::vector<uint8_t> package;
  const char* message;
};

TEST_F(Glimmerkit, InfoNamesTheDamage) {
  JpegPicture small;
  small.width = small.height = 8;
  small.samples.assign(8 * 8 * 3, 77);
  std::vector<uint8_t> jpeg = EncodeJpeg(small);
  PackageContents good;
  good.name = "Damaged";
  good.description = "Broken on purpose";
  good.settings[0] = 2;
  good.pictures = {jpeg, jpeg};
  std::vector<uint8_t> whole = WritePackage(good);
  uint32_t area = PictureAreaOffset(good);
  auto cut = [&](size_t size) { return std::vector<uint8_t>(whole.begin(), whole.begin() + size); };

  PackageContents nine = good;
  nine.settings[0] = 9;
  PackageContents notJpeg = good;
  notJpeg.pictures[1] = std::vector<uint8_t>(64, 0x20);
  std::vector<uint8_t> beyond = whole;
  beyond[DirectoryEntryOffset(area - 16 - 8, 1) + 3] = 0x01;  // entry 2 points 16 MB further
  const Damage cases[] = {
      {"cut inside the settings", cut(kSettingsOffset + 4), "inside the settings"},
      {"cut inside the name", cut(kNameLengthOffset + 5), "inside the name"},
      {"cut inside the description", cut(kNameLengthOffset + 2 + 7 + 2 + 3), "inside the description"},
      {"cut inside the directory", cut(area - 6), "inside the picture directory"},
      {"cut inside the second picture", cut(area + 2 * jpeg.size() - 10), "picture 2: the picture has no end-of-image"},
      {"nine pictures declared", WritePackage(nine), "imageCount is 9"},
      {"picture that is no JPEG", WritePackage(notJpeg), "picture 2: not a picture the saver can show"},
      {"offset beyond the end", beyond, "picture 2: offset"},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.name);
    Write(Path("bad.DAT"), c.package);
    EXPECT_EQ(Run("info '" + Path("bad.DAT") + "'"), 1);
    EXPECT_NE(err_.find(c.message), std::string::npos) << err_;
  }

  // Legal oddities are notes, not damage.
  PackageContents odd = good;
  odd.banner = std::string(kBannerSize, 'b');
  odd.name = std::string(300, 'n');
  Write(Path("odd.DAT"), WritePackage(odd));
  EXPECT_EQ(Run("info '" + Path("odd.DAT") + "'"), 0) << err_;
  EXPECT_NE(out_.find("no terminating NUL"), std::string::npos) << out_;
  EXPECT_NE(out_.find("uses the first 217"), std::string::npos) << out_;
}

TEST_F(Glimmerkit, UsageFollowsTheConventions) {
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(out_.find("pack"), std::string::npos);
  EXPECT_NE(out_.find("extract"), std::string::npos);
  for (const char* command : {"pack", "info", "extract"}) {
    EXPECT_EQ(Run(std::string(command) + " --help"), 0) << command;
    EXPECT_NE(out_.find("usage: glimmerkit"), std::string::npos) << command;
    EXPECT_TRUE(err_.empty()) << command;
  }
  EXPECT_EQ(Run(""), 2);
  EXPECT_NE(err_.find("usage"), std::string::npos);
  EXPECT_EQ(Run("sparkle"), 2);
  EXPECT_NE(err_.find("unknown command 'sparkle'"), std::string::npos);
  EXPECT_EQ(Run("info"), 2);
  EXPECT_EQ(Run("info '" + Path("missing.DAT") + "'"), 1);
  EXPECT_NE(err_.find("cannot open"), std::string::npos);
}

}  // namespace
