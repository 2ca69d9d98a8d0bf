#include "package_fixtures.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"

TestFolder::TestFolder() {
  char pattern[] = "/tmp/glimmer-package-test-XXXXXX";
  root_ = mkdtemp(pattern);
  std::filesystem::create_directories(root_ + "/root");
  std::filesystem::create_directories(root_ + "/runtime");
  chmod((root_ + "/runtime").c_str(), 0700);
  setenv("GLIMMER_WINDOWS_DIR", (root_ + "/root").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TestFolder::Host(const std::string& relative) const {
  std::string path = root_ + "/" + relative;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  return path;
}

std::string TestFolder::Windows(const std::string& relative) const { return platform::ToWindowsPath(Host(relative)); }

void WriteHostFile(const std::string& hostPath, const std::vector<uint8_t>& bytes) {
  std::ofstream out(hostPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadHostFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HostFileExists(const std::string& hostPath) { return std::filesystem::exists(hostPath); }

JpegPicture SolidPicture(unsigned width, unsigned height, Rgb colour) {
  return QuadrantPicture(width, height, colour, colour, colour, colour);
}

JpegPicture QuadrantPicture(unsigned width, unsigned height, Rgb tl, Rgb tr, Rgb bl, Rgb br) {
  JpegPicture picture;
  picture.width = width;
  picture.height = height;
  picture.samples.resize(static_cast<size_t>(width) * height * 3);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      bool right = x >= width / 2, bottom = y >= height / 2;
      Rgb c = bottom ? (right ? br : bl) : (right ? tr : tl);
      uint8_t* out = &picture.samples[(static_cast<size_t>(y) * width + x) * 3];
      out[0] = c.r;
      out[1] = c.g;
      out[2] = c.b;
    }
  return picture;
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> MakeBmp(const BmpRecipe& recipe) {
  std::vector<uint8_t> info;
  if (recipe.core) {
    Put(info, recipe.headerSize ? recipe.headerSize : 12, 4);
    Put(info, static_cast<uint32_t>(recipe.width), 2);
    Put(info, static_cast<uint32_t>(recipe.height), 2);
    Put(info, 1, 2);
    Put(info, recipe.bits, 2);
  } else {
    Put(info, recipe.headerSize ? recipe.headerSize : 40, 4);
    Put(info, static_cast<uint32_t>(recipe.width), 4);
    Put(info, static_cast<uint32_t>(recipe.height), 4);
    Put(info, 1, 2);
    Put(info, recipe.bits, 2);
    Put(info, recipe.compression, 4);
    Put(info, recipe.imageSizeField, 4);
    Put(info, 2835, 4);
    Put(info, 2835, 4);
    Put(info, recipe.colorsUsed, 4);
    Put(info, 0, 4);
  }
  std::vector<uint8_t> out;
  uint32_t natural = (recipe.fileHeader ? 14 : 0) + static_cast<uint32_t>(info.size() + recipe.table.size());
  if (recipe.fileHeader) {
    out.push_back('B');
    out.push_back('M');
    Put(out, natural + static_cast<uint32_t>(recipe.pixels.size()), 4);
    Put(out, 0, 4);
    Put(out, recipe.bitsOffset < 0 ? natural : static_cast<uint32_t>(recipe.bitsOffset), 4);
  }
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), recipe.table.begin(), recipe.table.end());
  if (recipe.bitsOffset > natural && recipe.bitsOffset < natural + 4096) out.resize(recipe.bitsOffset, 0xEE);
  out.insert(out.end(), recipe.pixels.begin(), recipe.pixels.end());
  return out;
}

uint32_t Le32(const uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}
uint16_t Le16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
