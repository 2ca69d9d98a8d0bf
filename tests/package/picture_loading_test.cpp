#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "package/content_package.h"
#include "package/picture_loading.h"
#include "package_fixtures.h"

namespace {

const Rgb kColours[6] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}, {220, 220, 30}, {30, 220, 220}, {220, 30, 220}};

std::vector<uint8_t> Picture(int i) { return EncodeJpeg(SolidPicture(16 + 8 * i, 16, kColours[i])); }

// Writes `contents` as the package, opens it the way the scene window does
// (settings, name, description length) and loads its pictures.
void LoadPackage(const TestFolder& folder, const PackageContents& contents, LONG clientWidth = 640,
                 std::vector<uint8_t>* bytes = nullptr) {
  std::vector<uint8_t> written = WritePackage(contents);
  if (bytes) written = *bytes;
  WriteHostFile(folder.Host("p.DAT"), written);
  strcpy(packagePath, folder.Windows("p.DAT").c_str());
  HFILE package = _lopen(packagePath, OF_READ);
  ASSERT_NE(package, HFILE_ERROR);
  SceneSettings settings;
  ReadSceneSettings(package, &settings);
  FreePackageText(ReadSaverName(package));
  LONG descriptionEnd = SkipPackageText(package);
  LoadPackagePicturesForWidth(clientWidth, package, descriptionEnd, settings.imageCount);
  // The loader closed the package.
  EXPECT_EQ(_lclose(package), HFILE_ERROR);
}

void ExpectSlots(const std::vector<int>& filled) {
  for (int slot = 0; slot < kMaxPackagePictures; ++slot) {
    SCOPED_TRACE(slot);
    bool expected = std::find(filled.begin(), filled.end(), slot) != filled.end();
    ASSERT_EQ(pictureDib[slot] != nullptr, expected);
    if (!expected) continue;
    PackedDib dib = pictureDib[slot];
    EXPECT_EQ(DibBitCount(dib), 24);
    const BYTE* bits = DibBits(dib);
    EXPECT_TRUE(Near({bits[2], bits[1], bits[0]}, kColours[slot]));
  }
}

void FreeSlots() {
  for (PackedDib& dib : pictureDib) {
    FreePackedDib(dib);
    dib = nullptr;
  }
}

struct LoadCase {
  const char* name;
  std::vector<int> pictures;  // slot numbers with a picture; -1 an empty slot, -2 a picture that fails
  int imageCount;
  std::vector<int> filled;
};

TEST(PictureLoading, FillsTheSlotsTheDirectoryNames) {
  const LoadCase cases[] = {
      {"offsets 0, valid, 0", {-1, 1, -1}, 3, {1}},
      {"a failing middle picture", {0, -2, 2}, 3, {0, 2}},
      {"six pictures", {0, 1, 2, 3, 4, 5}, 6, {0, 1, 2, 3, 4, 5}},
      {"imageCount 0", {0, 1}, 0, {}},
      {"imageCount -1 (255)", {0, 1}, -1, {}},
      {"imageCount -128", {0, 1}, -128, {}},
      {"imageCount 9: the first six", {0, 1, 2, 3, 4, 5, 0, 1, 2}, 9, {0, 1, 2, 3, 4, 5}},
      {"imageCount 127: the first six", {0, 1, 2, 3, 4, 5}, 127, {0, 1, 2, 3, 4, 5}},
      {"fewer entries than declared", {0, 1}, 4, {0, 1}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    PackageContents contents;
    contents.settings[0] = static_cast<uint8_t>(c.imageCount);
    contents.name = "Loader";
    contents.description = "Pictures for the loader";
    for (int p : c.pictures) {
      if (p == -1) contents.pictures.push_back({});
      else if (p == -2) contents.pictures.push_back(std::vector<uint8_t>(300, 0x33));
      else contents.pictures.push_back(Picture(p));
    }
    LoadPackage(folder, contents);
    ExpectSlots(c.filled);
    // The temporary file is gone, made or not.
    EXPECT_FALSE(HostFileExists(folder.Host("runtime/glimmerkit/SSS4D2.TMP")));
    FreeSlots();
  }
}

TEST(PictureLoading, TruncatedPackageLoadsWhatItHolds) {
  TestFolder folder;
  PackageContents contents;
  contents.settings[0] = 3;
  contents.pictures = {Picture(0), Picture(1), Picture(2)};
  std::vector<uint8_t> bytes = WritePackage(contents);
  // Cut inside the second picture: the third entry points beyond the end.
  uint32_t area = PictureAreaOffset(contents);
  bytes.resize(area + contents.pictures[0].size() + 40);
  LoadPackage(folder, contents, 640, &bytes);
  EXPECT_NE(pictureDib[0], nullptr);
  EXPECT_EQ(pictureDib[2], nullptr);
  FreeSlots();

  // Cut inside the directory: the entries not read count as 0, empty slots.
  bytes = WritePackage(contents);
  bytes.resize(DirectoryEntryOffset(kNameLengthOffset + 4, 1) + 2);
  LoadPackage(folder, contents, 640, &bytes);
  ExpectSlots({});
}

TEST(PictureLoading, BytesTheLoaderNeverReadsChangeNothing) {
  TestFolder folder;
  PackageContents contents;
  contents.settings[0] = 2;
  contents.name = "N";
  contents.description = "D";
  contents.pictures = {Picture(0), Picture(1)};
  std::vector<uint8_t> bytes = WritePackage(contents);
  uint32_t descriptionEnd = kNameLengthOffset + 2 + 1 + 2 + 1;
  // The gap behind the description and the second half of each entry.
  std::fill_n(bytes.begin() + descriptionEnd, kDirectoryGap, 0xFF);
  for (int i = 0; i < 2; ++i) std::fill_n(bytes.begin() + DirectoryEntryOffset(descriptionEnd, i) + 4, 4, 0xA5);
  std::fill_n(bytes.begin(), kBannerOffset, 0x5A);
  LoadPackage(folder, contents, 640, &bytes);
  ExpectSlots({0, 1});
  FreeSlots();
}

TEST(PictureLoading, PrefixFollowsTheClientWidth) {
  const struct {
    LONG width;
    const char* file;
  } cases[] = {{0, "SSP4D2.TMP"}, {319, "SSP4D2.TMP"}, {320, "SSS4D2.TMP"}, {1920, "SSS4D2.TMP"}};
  for (auto c : cases) {
    SCOPED_TRACE(c.width);
    TestFolder folder;
    PackageContents contents;
    contents.settings[0] = 1;
    contents.pictures = {Picture(0)};
    LoadPackage(folder, contents, c.width);
    // In the layer's private temporary folder, never in a shared one.
    EXPECT_EQ(std::string(tempBmpPath), folder.Windows("runtime/glimmerkit/") + c.file);
    EXPECT_FALSE(HostFileExists(folder.Host("runtime/glimmerkit/") + c.file));
    ExpectSlots({0});
    FreeSlots();
  }
}

TEST(PictureLoading, TemporaryFolderTooLongFallsBackToTheDataRoot) {
  TestFolder folder;
  // A runtime folder whose temporary name cannot be formed in 260 bytes.
  std::string deep = folder.Host("");
  while (deep.size() < 250) deep += "/" + std::string(40, 'd');
  std::filesystem::create_directories(deep);
  chmod(deep.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", deep.c_str(), 1);

  PackageContents contents;
  contents.settings[0] = 2;
  contents.pictures = {Picture(0), Picture(1)};
  LoadPackage(folder, contents, 800);
  EXPECT_EQ(std::string(tempBmpPath), folder.Windows("root") + "\\SSS1234.TMP");
  EXPECT_FALSE(HostFileExists(folder.Host("root/SSS1234.TMP")));
  ExpectSlots({0, 1});
  FreeSlots();
}

}  // namespace

namespace {

TEST(PictureLoading, TheSceneWindowsClientWidthChoosesThePrefix) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.lpszClassName = "PictureLoadingScene";
  ASSERT_NE(RegisterClassA(&cls), 0);
  const struct {
    int width;
    const char* file;
  } cases[] = {{319, "SSP4D2.TMP"}, {320, "SSS4D2.TMP"}};
  for (auto c : cases) {
    SCOPED_TRACE(c.width);
    TestFolder folder;
    HWND window = CreateWindowExA(0, cls.lpszClassName, "", WS_POPUP, 0, 0, c.width, 200, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    PackageContents contents;
    contents.settings[0] = 1;
    contents.pictures = {Picture(0)};
    WriteHostFile(folder.Host("p.DAT"), WritePackage(contents));
    strcpy(packagePath, folder.Windows("p.DAT").c_str());
    HFILE package = _lopen(packagePath, OF_READ);
    LoadPackagePictures(window, package, static_cast<LONG>(kNameLengthOffset + 4), 1);
    EXPECT_EQ(std::string(tempBmpPath), folder.Windows("runtime/glimmerkit/") + c.file);
    ExpectSlots({0});
    FreeSlots();
    DestroyWindow(window);
  }
}

}  // namespace
