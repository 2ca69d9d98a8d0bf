// Pictures made into textures: the edge, the stretch, the slot's ownership,
// and the slot left without a texture when there is nothing to make it with.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstring>

#include "bare_gl.h"
#include "package/picture_loading.h"
#include "scene/scene_state.h"
#include "scene/textures.h"

namespace {

// A 24-bit packed picture, `top` over the upper half and `bottom` below, as
// the package loader leaves one: header, then rows bottom first.
PackedDib TwoTonePicture(int width, int height, uint32_t top, uint32_t bottom) {
  int row = (width * 3 + 3) & ~3;
  size_t bytes = kDibHeaderSize + size_t(row) * height;
  auto* dib = static_cast<BYTE*>(GlobalAlloc(GPTR, bytes));
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = DWORD(row) * height;
  memcpy(dib, &header, sizeof header);
  for (int y = 0; y < height; ++y) {
    uint32_t rgb = y < height / 2 ? bottom : top;
    BYTE* pixel = dib + kDibHeaderSize + size_t(row) * y;
    for (int x = 0; x < width; ++x, pixel += 3) {
      pixel[0] = rgb & 0xFF;
      pixel[1] = (rgb >> 8) & 0xFF;
      pixel[2] = (rgb >> 16) & 0xFF;
    }
  }
  return dib;
}

uint32_t Texel(int slot, int x, int y) {
  const BYTE* t = texturePixels[slot] + (size_t(y) * textureEdge[slot] + x) * 4;
  return (uint32_t(t[2]) << 16) | (uint32_t(t[1]) << 8) | t[0];
}

struct Slot {
  PackedDib dib = nullptr;
  int edge = 0;
  HBITMAP bitmap = nullptr;
  BYTE* pixels = nullptr;
  int Make() { return MakeTexture(nullptr, &dib, &edge, &bitmap, &pixels); }
};

TEST(MakeTexture, EmptySlotStaysEmpty) {
  BareGl gl(8, 8);
  Slot slot;
  EXPECT_EQ(slot.Make(), 0);
  EXPECT_EQ(slot.edge, 0);
  EXPECT_EQ(slot.bitmap, nullptr);
  EXPECT_EQ(slot.pixels, nullptr);
}

// A 200 x 100 picture fills a 128 x 128 texture whole: the aspect ratio is
// not kept, the bottom row comes first, alpha stays 0 until the fill.
TEST(MakeTexture, PictureStretchedOntoASquare) {
  BareGl gl(8, 8);
  ASSERT_TRUE(gl.ok());
  imageCount = 1;
  pictureDib[0] = TwoTonePicture(200, 100, 0xFF0000, 0x0000FF);
  EXPECT_EQ(MakeTexture(nullptr, &pictureDib[0], &textureEdge[0], &textureBitmap[0], &texturePixels[0]), 1);
  EXPECT_EQ(pictureDib[0], nullptr) << "the picture is released once made";
  ASSERT_EQ(textureEdge[0], 128);
  ASSERT_NE(textureBitmap[0], nullptr);
  ASSERT_NE(texturePixels[0], nullptr);
  EXPECT_EQ(Texel(0, 0, 0), 0x0000FFu);
  EXPECT_EQ(Texel(0, 127, 63), 0x0000FFu);
  EXPECT_EQ(Texel(0, 0, 64), 0xFF0000u);
  EXPECT_EQ(Texel(0, 127, 127), 0xFF0000u);
  EXPECT_EQ(texturePixels[0][3], 0);
  FillOpaqueAlpha();
  for (int i = 0; i < 128 * 128; ++i) ASSERT_EQ(texturePixels[0][i * 4 + 3], 255) << "texel " << i;
  DeleteObject(textureBitmap[0]);
  textureBitmap[0] = nullptr;
}

// Making a slot's texture again replaces its DIB section.
TEST(MakeTexture, RemakingReplacesTheSection) {
  BareGl gl(8, 8);
  Slot slot;
  slot.dib = TwoTonePicture(16, 16, 0x00FF00, 0x00FF00);
  ASSERT_EQ(slot.Make(), 1);
  HBITMAP first = slot.bitmap;
  ASSERT_NE(first, nullptr);
  slot.dib = TwoTonePicture(40, 24, 0x00FF00, 0x00FF00);
  ASSERT_EQ(slot.Make(), 1);
  EXPECT_EQ(slot.edge, 32);
  EXPECT_NE(slot.bitmap, nullptr);
  EXPECT_EQ(GetObjectType(first), 0u) << "the first section is deleted";
  DeleteObject(slot.bitmap);
}

// Without a current context there is no largest texture size to cap the
// edge by, and nothing to draw a texture with: the slot gets none.
TEST(MakeTexture, NoContextNoTexture) {
  Slot slot;
  slot.dib = TwoTonePicture(64, 64, 0xFF0000, 0xFF0000);
  EXPECT_EQ(slot.Make(), 1);
  EXPECT_EQ(slot.dib, nullptr);
  EXPECT_EQ(slot.edge, 0);
  EXPECT_EQ(slot.bitmap, nullptr);
  EXPECT_EQ(slot.pixels, nullptr);
}

// A DIB section that cannot be made (here: no address space left for a
// 16384-texel square) leaves the slot without a texture, and the alpha fill
// passes it by.
TEST(MakeTexture, SectionThatCannotBeMadeLeavesNoTexture) {
  BareGl gl(8, 8);
  ASSERT_TRUE(gl.ok());
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  if (largest < 16384) GTEST_SKIP() << "largest texture " << largest;
  imageCount = 1;
  pictureDib[0] = TwoTonePicture(32767, 1, 0xFF0000, 0xFF0000);  // mean side 16384
  rlimit kept;
  getrlimit(RLIMIT_AS, &kept);
  rlimit tight = kept;
  // Room for what runs now, not for 1 GiB of texels.
  FILE* status = fopen("/proc/self/statm", "r");
  unsigned long pages = 0;
  ASSERT_EQ(fscanf(status, "%lu", &pages), 1);
  fclose(status);
  tight.rlim_cur = pages * 4096ul + (256ul << 20);
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
  int made = MakeTexture(nullptr, &pictureDib[0], &textureEdge[0], &textureBitmap[0], &texturePixels[0]);
  setrlimit(RLIMIT_AS, &kept);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(pictureDib[0], nullptr);
  EXPECT_EQ(textureEdge[0], 0);
  EXPECT_EQ(textureBitmap[0], nullptr);
  EXPECT_EQ(texturePixels[0], nullptr);
  FillOpaqueAlpha();  // must not touch the missing pixels
}

}  // namespace
