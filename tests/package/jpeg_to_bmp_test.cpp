#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "package/jpeg_to_bmp.h"
#include "package_fixtures.h"

namespace {

// Puts `pictures` into a package in the test folder and returns the
// package's Windows path; `offsets` receives where each picture starts.
std::string PackagePictures(const TestFolder& folder, const std::vector<std::vector<uint8_t>>& pictures,
                            std::vector<DWORD>* offsets = nullptr) {
  PackageContents contents;
  contents.settings[0] = static_cast<uint8_t>(pictures.size());
  contents.pictures = pictures;
  std::vector<uint8_t> bytes = WritePackage(contents);
  WriteHostFile(folder.Host("p.DAT"), bytes);
  if (offsets) {
    uint32_t at = PictureAreaOffset(contents);
    for (const auto& picture : pictures) {
      offsets->push_back(at);
      at += static_cast<uint32_t>(picture.size());
    }
  }
  return folder.Windows("p.DAT");
}

// Converts one picture; returns the result and the BMP file's bytes.
int Convert(const TestFolder& folder, const JpegPicture& picture, std::vector<uint8_t>* bmp) {
  std::vector<DWORD> offsets;
  std::string package = PackagePictures(folder, {EncodeJpeg(picture)}, &offsets);
  int result = ConvertJpegToBmp(package.c_str(), folder.Windows("out.bmp").c_str(), offsets[0]);
  *bmp = ReadHostFile(folder.Host("out.bmp"));
  return result;
}

Rgb BmpPixel(const std::vector<uint8_t>& bmp, int x, int rowInFile) {
  uint32_t width = Le32(&bmp[18]);
  uint32_t padded = (width * 3 + 3) & ~3u;
  const uint8_t* p = &bmp[54 + rowInFile * padded + x * 3];
  return {p[2], p[1], p[0]};
}

struct SizeCase {
  unsigned width, height;
  uint32_t padded;
  uint32_t fileSize;
};

TEST(JpegToBmp, RowsArePaddedToFourBytes) {
  const SizeCase cases[] = {
      {1, 3, 4, 54 + 4 * 3},
      {4, 3, 12, 54 + 12 * 3},
      {5, 3, 16, 54 + 16 * 3},
      {640, 480, 1920, 921654},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.width);
    TestFolder folder;
    std::vector<uint8_t> bmp;
    ASSERT_EQ(Convert(folder, SolidPicture(c.width, c.height, {200, 100, 50}), &bmp), 1);
    ASSERT_EQ(bmp.size(), c.fileSize);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(&bmp[2]), c.fileSize);
    EXPECT_EQ(Le32(&bmp[6]), 0u);
    EXPECT_EQ(Le32(&bmp[10]), 54u);
    EXPECT_EQ(Le32(&bmp[14]), 40u);
    EXPECT_EQ(Le32(&bmp[18]), c.width);
    EXPECT_EQ(Le32(&bmp[22]), c.height);
    EXPECT_EQ(Le16(&bmp[26]), 1);
    EXPECT_EQ(Le16(&bmp[28]), 24);
    EXPECT_EQ(Le32(&bmp[30]), 0u);
    EXPECT_EQ(Le32(&bmp[34]), 0u);  // image size left to the reader
    EXPECT_EQ(Le32(&bmp[46]), 0u);
    EXPECT_EQ(Le32(&bmp[50]), 0u);
    for (unsigned row = 0; row < c.height; ++row) {
      for (uint32_t pad = c.width * 3; pad < c.padded; ++pad) ASSERT_EQ(bmp[54 + row * c.padded + pad], 0) << row;
      EXPECT_TRUE(Near(BmpPixel(bmp, 0, row), {200, 100, 50}));
    }
  }
}

TEST(JpegToBmp, BottomRowComesFirst) {
  TestFolder folder;
  const Rgb red{230, 20, 20}, green{20, 200, 20}, blue{20, 20, 230}, white{240, 240, 240};
  std::vector<uint8_t> bmp;
  ASSERT_EQ(Convert(folder, QuadrantPicture(64, 32, red, green, blue, white), &bmp), 1);
  // Offset 54: blue, green, red of the bottom-left pixel.
  EXPECT_NEAR(bmp[54], blue.b, 10);
  EXPECT_NEAR(bmp[55], blue.g, 10);
  EXPECT_NEAR(bmp[56], blue.r, 10);
  EXPECT_TRUE(Near(BmpPixel(bmp, 63, 0), white));
  EXPECT_TRUE(Near(BmpPixel(bmp, 0, 31), red));   // the last row is the top row
  EXPECT_TRUE(Near(BmpPixel(bmp, 63, 31), green));
}

TEST(JpegToBmp, EveryRowLandsInItsPlaceInTallAndWidePictures) {
  // Wide enough that a picture is written in several pieces; stripes of 16
  // rows, each a grey of its own, show where every row went.
  const struct {
    unsigned width, height;
  } cases[] = {{2000, 400}, {9000, 48}, {1, 700}};
  for (auto c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    TestFolder folder;
    JpegPicture picture = SolidPicture(c.width, c.height, {0, 0, 0});
    auto shade = [](unsigned y) { return static_cast<uint8_t>((y / 16) * 37 % 240 + 8); };
    for (unsigned y = 0; y < c.height; ++y)
      std::fill_n(picture.samples.begin() + static_cast<size_t>(y) * c.width * 3, c.width * 3, shade(y));
    std::vector<uint8_t> bmp;
    ASSERT_EQ(Convert(folder, picture, &bmp), 1);
    uint32_t padded = (c.width * 3 + 3) & ~3u;
    ASSERT_EQ(bmp.size(), 54 + static_cast<size_t>(padded) * c.height);
    for (unsigned fileRow = 0; fileRow < c.height; ++fileRow) {
      uint8_t expected = shade(c.height - 1 - fileRow);
      ASSERT_TRUE(Near(BmpPixel(bmp, c.width - 1, fileRow), {expected, expected, expected})) << fileRow;
      for (uint32_t pad = c.width * 3; pad < padded; ++pad) ASSERT_EQ(bmp[54 + fileRow * padded + pad], 0);
    }
  }
}

struct DensityCase {
  uint8_t unit;
  uint16_t x, y;
  uint32_t xPerMetre, yPerMetre;
};

TEST(JpegToBmp, DensitiesPerCentimetreBecomePerMetre) {
  const DensityCase cases[] = {
      {2, 28, 28, 2800, 2800}, {2, 10, 40, 1000, 4000}, {1, 72, 72, 0, 0}, {0, 1, 1, 0, 0},
      {2, 65535, 1, 6553500, 100},
  };
  for (const DensityCase& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.unit) << " " << c.x << "x" << c.y);
    TestFolder folder;
    JpegPicture picture = SolidPicture(8, 8, {1, 2, 3});
    picture.densityUnit = c.unit;
    picture.xDensity = c.x;
    picture.yDensity = c.y;
    std::vector<uint8_t> bmp;
    ASSERT_EQ(Convert(folder, picture, &bmp), 1);
    EXPECT_EQ(Le32(&bmp[38]), c.xPerMetre);
    EXPECT_EQ(Le32(&bmp[42]), c.yPerMetre);
  }
}

// Inverted inks, as Adobe stores them (255 = no ink).
JpegPicture InkPicture(unsigned edge, uint8_t c, uint8_t m, uint8_t y, uint8_t k, J_COLOR_SPACE stored) {
  JpegPicture picture;
  picture.width = picture.height = edge;
  picture.components = 4;
  picture.stored = stored;
  for (unsigned i = 0; i < edge * edge; ++i) picture.samples.insert(picture.samples.end(), {c, m, y, k});
  return picture;
}

struct ColourCase {
  const char* name;
  JpegPicture picture;
  Rgb expected;
};

TEST(JpegToBmp, EveryColourModelAndCodingComesOutAsColour) {
  JpegPicture grey;
  grey.width = grey.height = 16;
  grey.components = 1;
  grey.stored = JCS_GRAYSCALE;
  grey.samples.assign(16 * 16, 90);
  JpegPicture rgb = SolidPicture(16, 16, {10, 120, 240});
  rgb.stored = JCS_RGB;
  JpegPicture progressive = SolidPicture(16, 16, {240, 200, 10});
  progressive.progressive = true;
  JpegPicture arithmetic = SolidPicture(16, 16, {60, 10, 160});
  arithmetic.arithmetic = true;
  JpegPicture both = SolidPicture(16, 16, {60, 200, 160});
  both.arithmetic = both.progressive = true;

  const ColourCase cases[] = {
      {"grayscale", grey, {90, 90, 90}},
      {"stored as RGB", rgb, {10, 120, 240}},
      // Inverted inks: cyan 0 (255), magenta full (0), yellow full (0), no black (255) -> red.
      {"CMYK", InkPicture(16, 255, 0, 0, 255, JCS_CMYK), {255, 0, 0}},
      {"YCCK", InkPicture(16, 0, 255, 255, 255, JCS_YCCK), {0, 255, 255}},
      {"CMYK with black", InkPicture(16, 255, 255, 255, 128, JCS_CMYK), {128, 128, 128}},
      {"progressive", progressive, {240, 200, 10}},
      {"arithmetic", arithmetic, {60, 10, 160}},
      {"progressive arithmetic", both, {60, 200, 160}},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    std::vector<uint8_t> bmp;
    ASSERT_EQ(Convert(folder, c.picture, &bmp), 1);
    ASSERT_EQ(bmp.size(), 54u + 48 * 16);
    EXPECT_EQ(Le16(&bmp[28]), 24);
    Rgb got = BmpPixel(bmp, 8, 8);
    EXPECT_TRUE(Near(got, c.expected)) << int(got.r) << "," << int(got.g) << "," << int(got.b);
  }
}

TEST(JpegToBmp, WhatCannotBeConvertedGivesZero) {
  TestFolder folder;
  std::vector<uint8_t> jpeg = EncodeJpeg(SolidPicture(8, 8, {9, 9, 9}));
  std::vector<DWORD> offsets;
  std::vector<uint8_t> notJpeg(500, 0x42);
  std::string package = PackagePictures(folder, {jpeg, notJpeg}, &offsets);
  DWORD size = static_cast<DWORD>(ReadHostFile(folder.Host("p.DAT")).size());
  std::string bmp = folder.Windows("out.bmp");

  const struct {
    const char* name;
    std::string package;
    std::string bmp;
    DWORD offset;
    bool bmpLeft;  // a BMP file exists afterwards (perhaps empty)
  } cases[] = {
      {"offset at the end", package, bmp, size, true},
      {"offset far beyond the end", package, bmp, size + 100000, true},
      {"offset of 2^31 and above", package, bmp, 0x80000000u, false},
      {"not a JPEG stream", package, bmp, offsets[1], true},
      {"no package", folder.Windows("missing.DAT"), bmp, offsets[0], false},
      {"BMP folder missing", package, folder.Windows("") + "no\\such\\folder\\out.bmp", offsets[0], false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(folder.Host("out.bmp").c_str());
    EXPECT_EQ(ConvertJpegToBmp(c.package.c_str(), c.bmp.c_str(), c.offset), 0);
    EXPECT_EQ(HostFileExists(folder.Host("out.bmp")), c.bmpLeft);
    if (c.bmpLeft) {
      EXPECT_EQ(ReadHostFile(folder.Host("out.bmp")).size(), 0u);
    }
  }
}

TEST(JpegToBmp, StreamCutShortIsCompletedByTheDecoder) {
  TestFolder folder;
  // Noise, so that most of the stream is picture data.
  JpegPicture noise = SolidPicture(64, 64, {0, 0, 0});
  uint32_t state = 1;
  for (uint8_t& sample : noise.samples) sample = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 24);
  std::vector<uint8_t> jpeg = EncodeJpeg(noise);
  jpeg.resize(jpeg.size() * 2 / 3);  // no end-of-image marker, the last rows missing
  std::vector<DWORD> offsets;
  std::string package = PackagePictures(folder, {jpeg}, &offsets);
  EXPECT_EQ(ConvertJpegToBmp(package.c_str(), folder.Windows("out.bmp").c_str(), offsets[0]), 1);
  EXPECT_EQ(ReadHostFile(folder.Host("out.bmp")).size(), 54u + 192 * 64);
}

// Rewrites the frame header's height and width of a baseline stream.
void ClaimSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height) {
  for (size_t i = 0; i + 8 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = height >> 8;
      jpeg[i + 6] = height & 0xFF;
      jpeg[i + 7] = width >> 8;
      jpeg[i + 8] = width & 0xFF;
      return;
    }
  FAIL() << "no frame header";
}

TEST(JpegToBmp, PicturesAboveTheSizeLimitAreRefusedAtOnce) {
  TestFolder folder;
  std::vector<uint8_t> jpeg = EncodeJpeg(SolidPicture(16, 16, {1, 2, 3}));
  ClaimSize(jpeg, 65000, 65000);  // 4.2 gigapixels: 12 GB if it were held
  std::vector<uint8_t> justOver = EncodeJpeg(SolidPicture(16, 16, {1, 2, 3}));
  ClaimSize(justOver, 8193, 8192);  // one column more than the limit allows
  std::vector<DWORD> offsets;
  std::string package = PackagePictures(folder, {jpeg, justOver}, &offsets);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ConvertJpegToBmp(package.c_str(), folder.Windows("out.bmp").c_str(), offsets[0]), 0);
  EXPECT_EQ(ConvertJpegToBmp(package.c_str(), folder.Windows("out.bmp").c_str(), offsets[1]), 0);
  // Refused from the header: nothing was decoded.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(ReadHostFile(folder.Host("out.bmp")).size(), 0u);
}

TEST(JpegToBmp, FiftyMegapixelPicturesAreTaken) {
  TestFolder folder;
  // A 16 x 16 stream that claims 8688 x 5792 (50.3 megapixels): the decoder
  // completes the missing data, so the whole size goes through.
  std::vector<uint8_t> jpeg = EncodeJpeg(SolidPicture(16, 16, {1, 2, 3}));
  ClaimSize(jpeg, 8688, 5792);
  std::vector<DWORD> offsets;
  std::string package = PackagePictures(folder, {jpeg}, &offsets);
  EXPECT_EQ(ConvertJpegToBmp(package.c_str(), folder.Windows("out.bmp").c_str(), offsets[0]), 1);
  struct stat info;
  ASSERT_EQ(stat(folder.Host("out.bmp").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 54 + 8688LL * 3 * 5792);
}

}  // namespace
