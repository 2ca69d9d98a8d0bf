#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "package/dib_reader.h"
#include "package_fixtures.h"

namespace {

std::vector<uint8_t> Sequence(size_t count, uint8_t first = 1) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

PackedDib ReadRecipe(const TestFolder& folder, const BmpRecipe& recipe) {
  WriteHostFile(folder.Host("in.bmp"), MakeBmp(recipe));
  return ReadPackedDib(folder.Windows("in.bmp").c_str());
}

// What a readable file must give.
struct AcceptedCase {
  const char* name;
  BmpRecipe recipe;
  uint32_t colorsUsed;            // in the block's header
  uint32_t colorsImportant;
  std::vector<uint8_t> table;     // the block's table (4-byte entries, masks)
  uint32_t imageSize;
};

TEST(DibReader, ReadsEveryHeaderForm) {
  std::vector<AcceptedCase> cases;
  {
    BmpRecipe s;  // what the converter writes: 3 x 2, 24 bits, rows of 12 bytes
    s.width = 3, s.height = 2, s.pixels = Sequence(24);
    cases.push_back({"24 bits with file header", s, 0, 0, {}, 24});
    s.fileHeader = false;
    cases.push_back({"24 bits without file header", s, 0, 0, {}, 24});
  }
  {
    BmpRecipe s;  // core header, 8 bits: 256 three-byte entries become four-byte ones
    s.core = true, s.width = 4, s.height = 1, s.bits = 8;
    s.table = Sequence(256 * 3);
    s.pixels = {7, 8, 9, 10};
    std::vector<uint8_t> widened;
    for (int i = 0; i < 256; ++i) widened.insert(widened.end(), {s.table[3 * i], s.table[3 * i + 1], s.table[3 * i + 2], 0});
    cases.push_back({"core header, 8 bits", s, 256, 256, widened, 4});
    s.fileHeader = false;
    cases.push_back({"core header without file header", s, 256, 256, widened, 4});
  }
  {
    BmpRecipe s;  // 8 bits, five colours used
    s.width = 2, s.height = 2, s.bits = 8, s.colorsUsed = 5, s.table = Sequence(20), s.pixels = {0, 1, 0, 0, 2, 3, 0, 0};
    cases.push_back({"8 bits, 5 colours used", s, 5, 0, Sequence(20), 8});
    s.fileHeader = false;
    cases.push_back({"8 bits, 5 colours, no file header", s, 5, 0, Sequence(20), 8});
  }
  for (uint16_t bits : {1, 4, 8}) {
    BmpRecipe s;
    s.width = 8, s.height = 1, s.bits = bits;
    s.table = Sequence((1u << bits) * 4);
    s.pixels = Sequence(4);
    static const char* names[] = {"", "1 bit: 2 entries", "", "", "4 bits: 16 entries", "", "", "", "8 bits: 256 entries"};
    cases.push_back({names[bits], s, 1u << bits, 0, s.table, bits == 8 ? 8u : 4u});
  }
  {
    BmpRecipe s;  // 32-bit bit fields: the masks follow the header, bits 52 bytes in
    s.width = 2, s.height = 1, s.bits = 32, s.compression = 3;
    s.table = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    s.pixels = Sequence(8);
    cases.push_back({"32-bit bit fields", s, 0, 0, s.table, 8});
    s.bits = 16, s.width = 4;
    cases.push_back({"16-bit bit fields", s, 0, 0, s.table, 8});
    s.fileHeader = false;
    cases.push_back({"16-bit bit fields, no file header", s, 0, 0, s.table, 8});
  }
  for (uint16_t bits : {16, 32}) {
    BmpRecipe s;  // no bit fields: no table, the rows right behind the header
    s.width = 2, s.height = 2, s.bits = bits;
    uint32_t size = bits == 16 ? 8 : 16;
    s.pixels = Sequence(size);
    cases.push_back({bits == 16 ? "16 bits, no bit fields" : "32 bits, no bit fields", s, 0, 0, {}, size});
    s.fileHeader = false;
    cases.push_back({bits == 16 ? "16 bits, no bit fields, no file header" : "32 bits, no bit fields, no file header", s,
                     0, 0, {}, size});
  }
  {
    BmpRecipe s;  // top row first
    s.width = 1, s.height = -3, s.pixels = Sequence(12);
    cases.push_back({"negative height", s, 0, 0, {}, 12});
    s.height = 3, s.imageSizeField = 0xFFFFFFF0;  // a lie: the rows take 12 bytes
    cases.push_back({"image size field too large", s, 0, 0, {}, 12});
    s.imageSizeField = 4;
    cases.push_back({"image size field too small", s, 0, 0, {}, 12});
  }
  {
    BmpRecipe s;  // the bits offset leaves a gap behind the table
    s.width = 1, s.height = 1, s.pixels = {1, 2, 3, 4}, s.bitsOffset = 100;
    cases.push_back({"gap before the bits", s, 0, 0, {}, 4});
  }

  for (const AcceptedCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    PackedDib dib = ReadRecipe(folder, c.recipe);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(Le32(dib + 0), 40u);
    EXPECT_EQ(DibWidth(dib), c.recipe.width);
    EXPECT_EQ(DibHeight(dib), c.recipe.height);
    EXPECT_EQ(DibBitCount(dib), c.recipe.bits);
    EXPECT_EQ(Le32(dib + 16), c.recipe.compression);
    EXPECT_EQ(DibImageSize(dib), c.imageSize);
    EXPECT_EQ(Le32(dib + 32), c.colorsUsed);
    EXPECT_EQ(Le32(dib + 36), c.colorsImportant);
    ASSERT_EQ(DibColorTableSize(dib), c.table.size());
    EXPECT_EQ(std::vector<uint8_t>(dib + 40, dib + 40 + c.table.size()), c.table);
    EXPECT_EQ(DibBits(dib), dib + 40 + c.table.size());
    EXPECT_EQ(GlobalSize(dib), 40 + c.table.size() + c.imageSize);
    std::vector<uint8_t> expectedBits = c.recipe.pixels;
    expectedBits.resize(c.imageSize, 0);
    EXPECT_EQ(std::vector<uint8_t>(DibBits(dib), DibBits(dib) + c.imageSize), expectedBits);
    FreePackedDib(dib);
  }
}

TEST(DibReader, ConvertersPictureOf640By480) {
  TestFolder folder;
  BmpRecipe s;
  s.width = 640, s.height = 480, s.pixels = Sequence(1920 * 480);
  PackedDib dib = ReadRecipe(folder, s);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(GlobalSize(dib), 40u + 921600);
  EXPECT_EQ(DibImageSize(dib), 921600u);
  EXPECT_EQ(Le32(dib + 32), 0u);
  EXPECT_EQ(memcmp(DibBits(dib), s.pixels.data(), s.pixels.size()), 0);
  FreePackedDib(dib);
}

// Files no block can be made from.
TEST(DibReader, RefusesHeadersItCannotTrust) {
  std::vector<std::pair<const char*, BmpRecipe>> cases;
  auto add = [&](const char* name, auto change) {
    BmpRecipe s;
    s.width = 2, s.height = 2, s.pixels = Sequence(16);
    change(s);
    cases.push_back({name, s});
  };
  add("header size 108", [](BmpRecipe& s) { s.headerSize = 108; });
  add("header size 124", [](BmpRecipe& s) { s.headerSize = 124; });
  add("header size 0xFFFFFFFF", [](BmpRecipe& s) { s.headerSize = 0xFFFFFFFF; });
  add("width x height x bits overflows", [](BmpRecipe& s) { s.width = 0x7FFFFFFF, s.height = 0x7FFFFFFF, s.bits = 32; });
  add("more pixels than the limit", [](BmpRecipe& s) { s.width = 65536, s.height = 1025; });
  add("height INT_MIN", [](BmpRecipe& s) { s.height = INT_MIN; });
  add("height 0", [](BmpRecipe& s) { s.height = 0; });
  add("width 0", [](BmpRecipe& s) { s.width = 0; });
  add("negative width", [](BmpRecipe& s) { s.width = -5; });
  add("0 bits", [](BmpRecipe& s) { s.bits = 0; });
  add("2 bits", [](BmpRecipe& s) { s.bits = 2; });
  add("64 bits", [](BmpRecipe& s) { s.bits = 64; });
  add("run-length compression", [](BmpRecipe& s) { s.bits = 8, s.compression = 1; });
  add("bit fields at 24 bits", [](BmpRecipe& s) { s.compression = 3; });
  add("a JPEG inside", [](BmpRecipe& s) { s.compression = 4; });
  add("more colours than a table holds", [](BmpRecipe& s) { s.bits = 8, s.colorsUsed = 0x10000; });
  add("core header of width 0", [](BmpRecipe& s) { s.core = true, s.width = 0; });
  for (const auto& [name, recipe] : cases) {
    SCOPED_TRACE(name);
    TestFolder folder;
    EXPECT_EQ(ReadRecipe(folder, recipe), nullptr);
  }
}

TEST(DibReader, FilesTooShortForTheirHeaderGiveNull) {
  TestFolder folder;
  BmpRecipe s;
  std::vector<uint8_t> whole = MakeBmp(s);
  for (size_t length : {size_t(0), size_t(2), size_t(14), size_t(17), size_t(53)}) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
    WriteHostFile(folder.Host("in.bmp"), cut);
    EXPECT_EQ(ReadPackedDib(folder.Windows("in.bmp").c_str()), nullptr) << length;
  }
  EXPECT_EQ(ReadPackedDib(folder.Windows("missing.bmp").c_str()), nullptr);
}

// Files that promise more than they hold: a full block, the rest zero.
TEST(DibReader, WhatTheFileLacksReadsAsZero) {
  struct Case {
    const char* name;
    BmpRecipe recipe;
    size_t cutTo;  // 0: keep whole
  };
  std::vector<Case> cases;
  {
    BmpRecipe s;
    s.width = 4, s.height = 4, s.pixels = Sequence(48);
    cases.push_back({"rows cut short", s, 54 + 20});
    s.bitsOffset = 0x7FFFFFF0;
    cases.push_back({"bits offset far beyond the file", s, 0});
    s.bitsOffset = 0xFFFFFFF0;
    cases.push_back({"bits offset beyond what a seek reaches", s, 0});
  }
  {
    BmpRecipe s;  // 256 colours declared, 10 in the file, nothing after
    s.width = 4, s.height = 1, s.bits = 8, s.colorsUsed = 256, s.table = Sequence(40);
    cases.push_back({"colour table beyond the file", s, 0});
  }
  {
    BmpRecipe s;
    s.width = 4, s.height = 1, s.bits = 8, s.colorsUsed = 65535, s.table = Sequence(16);
    cases.push_back({"largest colour count", s, 0});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    std::vector<uint8_t> bytes = MakeBmp(c.recipe);
    if (c.cutTo) bytes.resize(c.cutTo);
    // What the file holds from the table on, the rest zero.
    size_t tableAt = 54;
    WriteHostFile(folder.Host("in.bmp"), bytes);
    PackedDib dib = ReadPackedDib(folder.Windows("in.bmp").c_str());
    ASSERT_NE(dib, nullptr);
    size_t blockSize = 40 + DibColorTableSize(dib) + DibImageSize(dib);
    ASSERT_EQ(GlobalSize(dib), blockSize);
    size_t tableSize = DibColorTableSize(dib);
    for (size_t i = 0; i < tableSize; ++i) {
      uint8_t expected = tableAt + i < bytes.size() && i < c.recipe.table.size() ? c.recipe.table[i] : 0;
      ASSERT_EQ(dib[40 + i], expected) << "table byte " << i;
    }
    // With an offset beyond the file no pixel byte can be read.
    bool bitsInFile = c.recipe.bitsOffset < 0;
    size_t bitsAt = tableAt + c.recipe.table.size();
    for (size_t i = 0; i < DibImageSize(dib); ++i) {
      uint8_t expected = bitsInFile && bitsAt + i < bytes.size() ? bytes[bitsAt + i] : 0;
      ASSERT_EQ(DibBits(dib)[i], expected) << "pixel byte " << i;
    }
    FreePackedDib(dib);
  }
}

TEST(DibReader, ColourCountsAndTableSizes) {
  struct Case {
    BmpRecipe recipe;
    WORD count;
    DWORD tableSize;
  };
  auto header = [](const BmpRecipe& recipe) {
    BmpRecipe s = recipe;
    s.fileHeader = false;
    return MakeBmp(s);
  };
  std::vector<Case> cases;
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    BmpRecipe s;
    s.bits = bits;
    WORD count = bits <= 8 ? 1 << bits : 0;
    cases.push_back({s, count, count * 4u});
    s.core = true;
    cases.push_back({s, count, count * 3u});
  }
  BmpRecipe used;
  used.bits = 24, used.colorsUsed = 7;
  cases.push_back({used, 7, 28});
  used.colorsUsed = 0x12345;  // the count keeps 16 bits
  cases.push_back({used, 0x2345, 0x2345 * 4});
  BmpRecipe fields;
  fields.bits = 32, fields.compression = 3;
  cases.push_back({fields, 0, 12});
  fields.colorsUsed = 65535;  // beyond a 16-bit byte count
  cases.push_back({fields, 65535, 65535 * 4 + 12});
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = header(c.recipe);
    EXPECT_EQ(DibColorCount(bytes.data()), c.count) << c.recipe.bits << (c.recipe.core ? " core" : "");
    EXPECT_EQ(DibColorTableSize(bytes.data()), c.tableSize) << c.recipe.bits << (c.recipe.core ? " core" : "");
  }
}

TEST(DibReader, CopyDibHeaderFillsTheComputedFields) {
  BYTE header[40];
  EXPECT_EQ(CopyDibHeader(nullptr, header), 0);
  BmpRecipe s;
  s.fileHeader = false, s.width = 5, s.height = 3, s.bits = 4;
  std::vector<uint8_t> bytes = MakeBmp(s);
  EXPECT_EQ(CopyDibHeader(bytes.data(), header), 1);
  EXPECT_EQ(Le32(header + 20), 4u * 3);  // 5 pixels of 4 bits: 20 bits, one 32-bit word a row
  EXPECT_EQ(Le32(header + 32), 16u);
}

}  // namespace
