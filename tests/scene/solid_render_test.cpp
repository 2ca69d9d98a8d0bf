// Which picture each face of the panel, pyramid and cube shows, rendered on a
// real (surfaceless Mesa) context and read back.
#include <gtest/gtest.h>

#include <string>

#include "scene/scene_state.h"
#include "scene_gl_fixture.h"

namespace {

using scene_test::kSlotColour;
using scene_test::SceneGl;

// A face drawn without a picture: the default material lit by light 0, grey.
constexpr uint32_t kUntextured = 0xFFFFFFFF;

bool IsLitGrey(uint32_t rgb) {
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r == g && g == b && r > 60;
}

std::string Hex(uint32_t rgb) {
  char text[16];
  snprintf(text, sizeof text, "%06X", rgb);
  return text;
}

struct FaceCase {
  const char* what;
  int imageCount;
  unsigned slotsFilled;  // bit k: slot k holds a picture
  unsigned spinX, spinY;
  uint32_t centre;  // a slot's colour, or kUntextured
};

uint32_t Slot(int k) { return kSlotColour[k]; }

const FaceCase kFaceCases[] = {
    {"cube front", 6, 0x3F, 0, 0, Slot(0)},
    {"cube back", 6, 0x3F, 0, 180, Slot(1)},
    {"cube left", 6, 0x3F, 0, 90, Slot(2)},
    {"cube right", 6, 0x3F, 0, 270, Slot(3)},
    {"cube top", 6, 0x3F, 90, 0, Slot(4)},
    {"cube bottom", 6, 0x3F, 270, 0, Slot(5)},
    {"cube without picture 0: front untextured", 6, 0x3E, 0, 0, kUntextured},
    {"cube without pictures 0 and 1: back untextured", 6, 0x3C, 0, 180, kUntextured},
    {"cube without pictures 0 and 1: left has its own", 6, 0x3C, 0, 90, Slot(2)},
    {"cube without picture 3: right keeps picture 2", 6, 0x37, 0, 270, Slot(2)},
    {"pyramid front side", 5, 0x1F, 0, 0, Slot(0)},
    {"pyramid back side", 5, 0x1F, 0, 180, Slot(1)},
    {"pyramid left side", 5, 0x1F, 0, 90, Slot(2)},
    {"pyramid right side", 5, 0x1F, 0, 270, Slot(3)},
    {"pyramid base takes picture 4", 5, 0x1F, 270, 0, Slot(4)},
    {"pyramid without picture 2: left shows picture 1", 5, 0x1B, 0, 90, Slot(1)},
    {"panel front", 2, 0x03, 0, 0, Slot(0)},
    {"panel back", 2, 0x03, 0, 180, Slot(1)},
    {"panel of one picture: back shows it again", 1, 0x01, 0, 180, Slot(0)},
    {"panel of three: back shows picture 1", 3, 0x07, 0, 180, Slot(1)},
    {"panel of four: front shows picture 0", 4, 0x0F, 0, 0, Slot(0)},
    {"no pictures: panel front untextured", 0, 0x00, 0, 0, kUntextured},
    {"no pictures: panel back untextured", 0, 0x00, 0, 180, kUntextured},
    {"negative count: panel untextured", -3, 0x00, 0, 0, kUntextured},
    {"empty slot 0 on the panel: front untextured", 2, 0x02, 0, 0, kUntextured},
    {"empty slot 0 on the panel: back has picture 1", 2, 0x02, 0, 180, Slot(1)},
    {"seven declared: the panel of the first two", 7, 0x3F, 0, 180, Slot(1)},
};

TEST(SolidList, EachFaceShowsItsPicture) {
  for (const FaceCase& c : kFaceCases) {
    SceneGl scene;
    ASSERT_TRUE(scene.gl().ok());
    imageCount = static_cast<signed char>(c.imageCount);
    for (int slot = 0; slot < kPictureSlots; ++slot)
      if (c.slotsFilled & (1u << slot)) scene.SolidSlot(slot, kSlotColour[slot]);
    spinAngleX = c.spinX;
    spinAngleY = c.spinY;
    scene.Build();
    scene.Frame();
    // The second frame: whatever the first execution of the list left bound
    // must not show.
    std::vector<uint32_t> frame = scene.Frame();
    uint32_t centre = scene.At(frame, scene.width() / 2, scene.height() / 2);
    if (c.centre == kUntextured)
      EXPECT_TRUE(IsLitGrey(centre)) << c.what << ": " << Hex(centre);
    else
      EXPECT_EQ(Hex(centre), Hex(c.centre)) << c.what;
  }
}

// Every side face shows its picture upright and unmirrored from outside; the
// cube's top and bottom show it unmirrored (turned, as the viewer meets them).
TEST(SolidList, PicturesAreUnmirrored) {
  const uint32_t topLeft = 0xFF0000, topRight = 0x00FF00, bottomLeft = 0x0000FF, bottomRight = 0xFFFF00;
  struct Case {
    const char* what;
    int imageCount;
    unsigned spinX, spinY;
    bool upright;
  };
  const Case cases[] = {
      {"cube front", 6, 0, 0, true},     {"cube back", 6, 0, 180, true},
      {"cube left", 6, 0, 90, true},     {"cube right", 6, 0, 270, true},
      {"cube top", 6, 90, 0, false},     {"cube bottom", 6, 270, 0, false},
      {"panel front", 2, 0, 0, true},    {"panel back", 2, 0, 180, true},
  };
  for (const Case& c : cases) {
    SceneGl scene;
    imageCount = static_cast<signed char>(c.imageCount);
    for (int slot = 0; slot < c.imageCount; ++slot)
      scene.QuadrantSlot(slot, topLeft, topRight, bottomLeft, bottomRight);
    spinAngleX = c.spinX;
    spinAngleY = c.spinY;
    scene.Build();
    std::vector<uint32_t> frame = scene.Frame();
    int cx = scene.width() / 2, cy = scene.height() / 2;
    // Screen quadrants clockwise from the top left.
    uint32_t seen[4] = {scene.At(frame, cx - 8, cy - 8), scene.At(frame, cx + 8, cy - 8),
                        scene.At(frame, cx + 8, cy + 8), scene.At(frame, cx - 8, cy + 8)};
    const uint32_t clockwise[4] = {topLeft, topRight, bottomRight, bottomLeft};
    if (c.upright) {
      for (int q = 0; q < 4; ++q) EXPECT_EQ(Hex(seen[q]), Hex(clockwise[q])) << c.what << " quadrant " << q;
      continue;
    }
    int start = 0;
    while (start < 4 && seen[0] != clockwise[start]) ++start;
    ASSERT_LT(start, 4) << c.what << ": " << Hex(seen[0]);
    for (int q = 0; q < 4; ++q)
      EXPECT_EQ(Hex(seen[q]), Hex(clockwise[(start + q) % 4])) << c.what << " quadrant " << q;
  }
}

// The list binds texture objects made once; a frame specifies no image.
TEST(SolidList, SlotImagesGoIntoTextureObjectsOnce) {
  SceneGl scene;
  imageCount = 3;  // the panel: slot 2's picture is never shown
  for (int slot = 0; slot < 3; ++slot) scene.SolidSlot(slot, kSlotColour[slot]);
  scene.Build();
  EXPECT_NE(textureObject[0], 0u);
  EXPECT_NE(textureObject[1], 0u);
  EXPECT_NE(textureObject[0], textureObject[1]);
  EXPECT_EQ(textureObject[2], 0u);
  EXPECT_TRUE(glIsTexture(textureObject[0]));
  EXPECT_TRUE(glIsList(1));
  // Changing the slot memory after recording changes nothing on screen.
  scene.SolidSlot(0, 0xFFFFFF);
  std::vector<uint32_t> frame = scene.Frame();
  EXPECT_EQ(Hex(scene.At(frame, scene.width() / 2, scene.height() / 2)), Hex(kSlotColour[0]));
}

}  // namespace
