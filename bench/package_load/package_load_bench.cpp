// Loading six 12-megapixel pictures through the package path (conversion to
// a temporary BMP file, reading it back as a PackedDib) against decoding the
// same pictures to memory with libjpeg-turbo alone, in the same run. Prints
// both times and their ratio; the package path should stay within 1.5 times
// the plain decode.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

#include "package/content_package.h"
#include "package/picture_loading.h"
#include "platform/paths.h"
#include "tools/glimmerkit/jpeg_encoder.h"
#include "tools/glimmerkit/package_writer.h"

namespace {

constexpr unsigned kWidth = 4000;
constexpr unsigned kHeight = 3000;
constexpr int kRounds = 3;

// A camera-like picture: smooth light across the frame with fine grain, so
// the decoder has real detail to work through.
std::vector<uint8_t> MakePicture(int index) {
  JpegPicture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.quality = 90;
  picture.samples.resize(static_cast<size_t>(kWidth) * kHeight * 3);
  uint32_t state = 12345 + index;
  uint8_t* out = picture.samples.data();
  for (unsigned y = 0; y < kHeight; ++y)
    for (unsigned x = 0; x < kWidth; ++x) {
      state = state * 1664525 + 1013904223;
      int grain = static_cast<int>(state >> 28) - 8;
      out[0] = static_cast<uint8_t>(std::clamp(static_cast<int>(x * 255 / kWidth) + grain, 0, 255));
      out[1] = static_cast<uint8_t>(std::clamp(static_cast<int>(y * 255 / kHeight) + grain, 0, 255));
      out[2] = static_cast<uint8_t>(std::clamp(40 * index + grain + static_cast<int>((x ^ y) & 31), 0, 255));
      out += 3;
    }
  return EncodeJpeg(picture);
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The reference: each picture decoded into one buffer in memory.
double DecodeToMemory(const std::vector<std::vector<uint8_t>>& pictures) {
  auto start = std::chrono::steady_clock::now();
  for (const auto& jpeg : pictures) {
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, jpeg.data(), jpeg.size());
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    size_t rowBytes = static_cast<size_t>(decoder.output_width) * decoder.output_components;
    uint8_t* image = static_cast<uint8_t*>(malloc(rowBytes * decoder.output_height));
    while (decoder.output_scanline < decoder.output_height) {
      JSAMPROW row = image + rowBytes * decoder.output_scanline;
      jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    free(image);
  }
  return Seconds(std::chrono::steady_clock::now() - start);
}

// The saver's way: open the package, read what precedes the directory, load.
double LoadThroughPackage(int expected) {
  auto start = std::chrono::steady_clock::now();
  HFILE package = _lopen(packagePath, OF_READ | OF_SHARE_DENY_NONE);
  SceneSettings settings;
  ReadSceneSettings(package, &settings);
  FreePackageText(ReadSaverName(package));
  LONG descriptionEnd = SkipPackageText(package);
  LoadPackagePicturesForWidth(1920, package, descriptionEnd, settings.imageCount);
  double seconds = Seconds(std::chrono::steady_clock::now() - start);
  int loaded = 0;
  for (PackedDib& dib : pictureDib) {
    if (dib) ++loaded;
    FreePackedDib(dib);
    dib = nullptr;
  }
  if (loaded != expected) {
    fprintf(stderr, "package_load: %d of %d pictures loaded\n", loaded, expected);
    exit(1);
  }
  return seconds;
}

}  // namespace

int main() {
  char pattern[] = "/tmp/glimmer-bench-XXXXXX";
  std::string folder = mkdtemp(pattern);
  PackageContents contents;
  contents.name = "Bench";
  contents.settings[0] = 6;
  for (int i = 0; i < 6; ++i) contents.pictures.push_back(MakePicture(i));
  std::vector<uint8_t> bytes = WritePackage(contents);
  std::string hostPackage = folder + "/bench.DAT";
  FILE* file = fopen(hostPackage.c_str(), "wb");
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  strcpy(packagePath, platform::ToWindowsPath(hostPackage).c_str());

  double reference = 1e9, packaged = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    reference = std::min(reference, DecodeToMemory(contents.pictures));
    packaged = std::min(packaged, LoadThroughPackage(6));
  }
  std::filesystem::remove_all(folder);

  printf("package_load: six %ux%u pictures (%.1f MB of JPEG)\n", kWidth, kHeight, bytes.size() / 1e6);
  printf("  libjpeg-turbo to memory: %.3f s\n", reference);
  printf("  package path (convert, temporary BMP, read back): %.3f s\n", packaged);
  printf("  ratio: %.2f (aim: at most 1.5)\n", packaged / reference);
  return 0;
}
