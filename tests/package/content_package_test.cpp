#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "package/content_package.h"
#include "package_fixtures.h"
#include "platform/process.h"

namespace {

// ---- candidates --------------------------------------------------------------

struct CandidateCase {
  const char* modulePath;
  const char* windowsDirectory;
  const char* first;   // "" when it cannot be formed
  const char* second;
};

TEST(PackageLocator, FormsBothCandidates) {
  const std::string longRoot = "\\" + std::string(230, 'r');
  const std::string longFirst = "";  // 230 + 16 + 2 x 5 + 6 > 259
  const CandidateCase cases[] = {
      {"C:\\WINDOWS\\SYSTEM\\BEACH.SCR", "C:\\WINDOWS", "C:\\WINDOWS\\vantrel\\ssavers\\BEACH\\BEACH.DAT",
       "C:\\WINDOWS\\SYSTEM\\BEACH.DAT"},
      // A drive root already ends in a backslash: no second one.
      {"C:\\SAVERS\\BEACH.SCR", "C:\\", "C:\\vantrel\\ssavers\\BEACH\\BEACH.DAT", "C:\\SAVERS\\BEACH.DAT"},
      {"\\home\\ann\\bin\\BEACH.SCR", "\\", "\\vantrel\\ssavers\\BEACH\\BEACH.DAT", "\\home\\ann\\bin\\BEACH.DAT"},
      // Two dots: only the last one goes.
      {"C:\\SYS\\MY.PHOTOS.SCR", "C:\\WIN", "C:\\WIN\\vantrel\\ssavers\\MY.PHOTOS\\MY.PHOTOS.DAT",
       "C:\\SYS\\MY.PHOTOS.DAT"},
      // No dot at all (a link named after its package): the name is taken whole.
      {"\\home\\ann\\bin\\glimmerdemo", "\\data", "\\data\\vantrel\\ssavers\\glimmerdemo\\glimmerdemo.DAT",
       "\\home\\ann\\bin\\glimmerdemo.DAT"},
      // A dot in a folder is no extension.
      {"\\home\\ann\\.local\\bin\\beach", "\\data", "\\data\\vantrel\\ssavers\\beach\\beach.DAT",
       "\\home\\ann\\.local\\bin\\beach.DAT"},
      // Letter case comes through unchanged.
      {"\\Savers\\Beach.Scr", "\\Data", "\\Data\\vantrel\\ssavers\\Beach\\Beach.DAT", "\\Savers\\Beach.DAT"},
      // A first candidate too long for MAX_PATH is skipped, not cut.
      {"\\s\\BEACH.SCR", longRoot.c_str(), longFirst.c_str(), "\\s\\BEACH.DAT"},
      // No data root: only the second candidate.
      {"\\s\\BEACH.SCR", "", "", "\\s\\BEACH.DAT"},
  };
  for (const CandidateCase& c : cases) {
    SCOPED_TRACE(c.modulePath);
    char path[MAX_PATH];
    memset(path, 'x', sizeof path);
    EXPECT_EQ(FormPackageCandidate(0, c.modulePath, c.windowsDirectory, path), c.first[0] != '\0');
    EXPECT_STREQ(path, c.first);
    EXPECT_EQ(FormPackageCandidate(1, c.modulePath, c.windowsDirectory, path), c.second[0] != '\0');
    EXPECT_STREQ(path, c.second);
  }
}

TEST(PackageLocator, SecondCandidateThatWouldNotFitIsRefused) {
  // 255 characters with a two-letter extension: .DAT makes 257, fits; 257 + ".S" -> 259 + 2 does not.
  std::string fits = "\\" + std::string(252, 'a') + ".S";
  std::string tooLong = "\\" + std::string(256, 'a');
  char path[MAX_PATH];
  EXPECT_TRUE(FormPackageCandidate(1, fits.c_str(), "", path));
  EXPECT_EQ(strlen(path), 257u);
  EXPECT_FALSE(FormPackageCandidate(1, tooLong.c_str(), "", path));
  EXPECT_STREQ(path, "");
}

// ---- opening -------------------------------------------------------------------

struct OpenCase {
  const char* name;
  const char* module;        // relative to the test folder
  bool inDataRoot;           // a package at root/vantrel/ssavers/BASE/BASE.DAT
  const char* beside;        // a package beside the module, or null
  const char* expected;      // relative path opened, or null for failure
};

TEST(PackageLocator, OpensTheDataRootFirstThenBesideTheModule) {
  const OpenCase cases[] = {
      {"both present", "bin/beach.scr", true, "bin/beach.DAT", "root/vantrel/ssavers/beach/beach.DAT"},
      {"only beside", "bin/beach.scr", false, "bin/beach.DAT", "bin/beach.DAT"},
      {"neither", "bin/beach.scr", false, nullptr, nullptr},
      {"beside, other letter case", "bin/BEACH.SCR", false, "bin/beach.dat", "bin/BEACH.DAT"},
      {"link without extension", "bin/glimmerdemo", true, nullptr, "root/vantrel/ssavers/glimmerdemo/glimmerdemo.DAT"},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    std::string module = folder.Host(c.module);
    WriteHostFile(module, {0x7F});
    const char* argv[] = {module.c_str()};
    platform::SetProcessArguments(1, argv);
    std::string base = std::string(c.module).substr(4, std::string(c.module).find('.') - 4);
    if (std::string(c.module).find('.') == std::string::npos) base = std::string(c.module).substr(4);
    if (c.inDataRoot) WriteHostFile(folder.Host("root/vantrel/ssavers/" + base + "/" + base + ".DAT"), {1});
    if (c.beside) WriteHostFile(folder.Host(c.beside), {2});

    HFILE package = OpenContentPackage(nullptr);
    if (c.expected == nullptr) {
      EXPECT_EQ(package, HFILE_ERROR);
      continue;
    }
    ASSERT_NE(package, HFILE_ERROR);
    EXPECT_EQ(std::string(packagePath), folder.Windows(c.expected));
    BYTE first = 0;
    EXPECT_EQ(_lread(package, &first, 1), 1u);
    EXPECT_EQ(first, c.inDataRoot ? 1 : 2);
    _lclose(package);
  }
}

// ---- reading ---------------------------------------------------------------------

// Opens `bytes` as a package file.
HFILE OpenBytes(const TestFolder& folder, const std::vector<uint8_t>& bytes) {
  WriteHostFile(folder.Host("p.DAT"), bytes);
  return _lopen(folder.Windows("p.DAT").c_str(), OF_READ);
}

struct BannerCase {
  const char* name;
  std::string area;     // what the file holds from offset 3584 on (the file ends behind it)
  std::string shown;
};

TEST(PackageReading, BannerEndsAtNulOrAt2047) {
  const BannerCase cases[] = {
      {"NUL first: no banner", std::string("\0Hidden", 7) + std::string(2041, 'x'), ""},
      {"2047 characters and a NUL: whole", std::string(2047, 'a') + '\0', std::string(2047, 'a')},
      {"no NUL in 2048 bytes: 2047 shown", std::string(2048, 'b'), std::string(2047, 'b')},
      {"file ends inside the banner", "Short", "Short"},
      {"file ends before the banner", "", ""},
  };
  for (const BannerCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    std::string file = c.area.empty() ? std::string(100, '\0') : std::string(kBannerOffset, '\0') + c.area;
    std::vector<uint8_t> bytes(file.begin(), file.end());
    HFILE package = OpenBytes(folder, bytes);
    char banner[kBannerSize];
    memset(banner, 'Z', sizeof banner);  // whatever a previous read left
    ReadPackageBanner(package, banner);
    EXPECT_EQ(std::string(banner), c.shown);
    // Behind the text: what the area holds, zeros where the file ends.
    std::string expected = c.area.substr(0, kBannerSize);
    expected.resize(kBannerSize, '\0');
    expected[kBannerMaxLength] = '\0';
    EXPECT_EQ(std::string(banner, kBannerSize), expected);
    _lclose(package);
  }
}

TEST(PackageReading, SettingsAreSignedAndShortFilesReadZero) {
  TestFolder folder;
  PackageContents contents;
  contents.settings = {0x83, 0xFF, 2, 7, 0xFE, 5, 0x80, 127, 9};
  HFILE package = OpenBytes(folder, WritePackage(contents));
  SceneSettings s;
  ReadSceneSettings(package, &s);
  EXPECT_EQ(s.imageCount, -125);
  EXPECT_EQ(s.satelliteCount, -1);
  EXPECT_EQ(s.distanceIndex, 2);
  EXPECT_EQ(s.orbitEnabled, 7);
  EXPECT_EQ(s.orbitStep, -2);
  EXPECT_EQ(s.spinStepX, 5);
  EXPECT_EQ(s.spinStepY, -128);
  EXPECT_EQ(s.spinStepZ, 127);
  EXPECT_EQ(s.slowTimer, 9);
  _lclose(package);

  // Cut after the third setting: the rest read as zero.
  std::vector<uint8_t> cut = WritePackage(contents);
  cut.resize(kSettingsOffset + 3);
  package = OpenBytes(folder, cut);
  memset(&s, 0x55, sizeof s);
  ReadSceneSettings(package, &s);
  EXPECT_EQ(s.imageCount, -125);
  EXPECT_EQ(s.distanceIndex, 2);
  EXPECT_EQ(s.orbitEnabled, 0);
  EXPECT_EQ(s.spinStepZ, 0);
  EXPECT_EQ(s.slowTimer, 0);
  _lclose(package);
}

TEST(PackageReading, PicturesToLoadKeepsToSixSlots) {
  const struct {
    int declared;
    int loaded;
  } cases[] = {{0, 0}, {1, 1}, {5, 5}, {6, 6}, {7, 6}, {127, 6}, {-128, 0}, {-1, 0}};
  for (auto c : cases) EXPECT_EQ(PicturesToLoad(static_cast<signed char>(c.declared)), c.loaded) << c.declared;
}

struct TextCase {
  const char* name;
  size_t nameLength;
  size_t descriptionLength;
  size_t cutAt;  // 0: whole file
  size_t nameRead;
  size_t descriptionRead;
};

TEST(PackageReading, NamesAndDescriptionsOfAnyLength) {
  const TextCase cases[] = {
      {"both empty", 0, 0, 0, 0, 0},
      {"ordinary", 12, 40, 0, 12, 40},
      {"name at the key limit", kSaverNameMaxLength, 10, 0, kSaverNameMaxLength, 10},
      {"name longer than the key: cut", 300, 10, 0, kSaverNameMaxLength, 10},
      {"longest lengths", 0xFFFF, 0xFFFF, 0, kSaverNameMaxLength, 0xFFFF},
      {"file ends inside the name", 50, 10, kNameLengthOffset + 2 + 20, 20, 0},
      {"file ends inside the description", 5, 100, kNameLengthOffset + 2 + 5 + 2 + 30, 5, 30},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    PackageContents contents;
    contents.name.assign(c.nameLength, 'n');
    contents.description.assign(c.descriptionLength, 'd');
    std::vector<uint8_t> bytes = WritePackage(contents);
    if (c.cutAt) bytes.resize(c.cutAt);
    HFILE package = OpenBytes(folder, bytes);

    char* name = ReadSaverName(package);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name), std::string(c.nameRead, 'n'));
    char* description = ReadPackageText(package, 0xFFFF);
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(std::string(description), std::string(c.descriptionRead, 'd'));
    FreePackageText(name);
    FreePackageText(description);

    // The scene window's way: the description is stepped over.
    _llseek(package, kNameLengthOffset, FILE_BEGIN);
    FreePackageText(ReadPackageText(package, 0));
    LONG descriptionEnd = SkipPackageText(package);
    if (!c.cutAt) {
      EXPECT_EQ(descriptionEnd, static_cast<LONG>(5645 + c.nameLength + c.descriptionLength));
    }
    _lclose(package);
  }
}

}  // namespace
