// Where the copies of the solid stand, how far away the scene is, and the
// projection for any client size.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "scene/frame.h"
#include <GL/gl.h>
#include "scene/scene_state.h"
#include "scene_gl_fixture.h"

namespace {

using scene_test::kBlack;
using scene_test::kSlotColour;
using scene_test::SceneGl;

// A six-picture cube at distance index 1 (22 units): on a 160 x 120 screen an
// orbit of 7 units lands about 37 pixels from the centre.
constexpr int kOrbitPixels = 37;

struct Place {
  int dx, dy;  // from the screen centre, +y down
};

// What a place on screen shows: nothing (black) or one of these pictures.
struct Sees {
  std::set<int> slots;
  bool Matches(uint32_t pixel) const {
    if (slots.empty()) return pixel == kBlack;
    for (int slot : slots)
      if (pixel == kSlotColour[slot]) return true;
    return false;
  }
};

const Sees kNothing{{}};
const Sees kFront{{0}};
const Sees kBack{{1}};
// Turned half round the diagonal, satellite 2 shows its back, right and top
// faces to the viewer.
const Sees kSatellite2{{1, 3, 4}};

struct Expect {
  Place at;
  Sees sees;
};

void PrepareCube(SceneGl& scene) {
  imageCount = 6;
  distanceIndex = 1;
  for (int slot = 0; slot < kPictureSlots; ++slot) scene.SolidSlot(slot, kSlotColour[slot]);
}

void Check(SceneGl& scene, const std::vector<uint32_t>& frame, const char* what,
           std::initializer_list<Expect> expects) {
  for (const Expect& e : expects) {
    uint32_t pixel = scene.At(frame, scene.width() / 2 + e.at.dx, scene.height() / 2 + e.at.dy);
    char hex[16];
    snprintf(hex, sizeof hex, "%06X", pixel);
    std::string expected;
    for (int slot : e.sees.slots) expected += " picture " + std::to_string(slot);
    EXPECT_TRUE(e.sees.Matches(pixel)) << what << ": at (" << e.at.dx << ", " << e.at.dy << ") expected"
                                       << (expected.empty() ? " nothing" : expected) << ", got " << hex;
  }
}

const Place kCentre{0, 0}, kBelow{0, kOrbitPixels}, kAbove{0, -kOrbitPixels}, kLeft{-kOrbitPixels, 0},
    kRight{kOrbitPixels, 0};

// With the orbit angle at 0 the copies stand at their starting places: the
// main solid below the centre, satellite 1 behind it, satellite 2 to its
// left, all turned by the tilt, counter-clockwise as the viewer sees it.
TEST(Frame, CopiesStartAtTheirPlacesTurnedByTheTilt) {
  struct Case {
    unsigned tilt;
    Place main, satellite2;
  };
  const Case cases[] = {{0, kBelow, kLeft}, {90, kRight, kBelow}, {180, kAbove, kRight}, {270, kLeft, kAbove}};
  for (const Case& c : cases) {
    SceneGl scene;
    PrepareCube(scene);
    satelliteCount = 2;
    orbitEnabled = 1;
    orbitStep = 0;
    tiltAngle = c.tilt;
    scene.Build();
    AdvanceSceneAngles();  // a step of 0 leaves them in place
    std::vector<uint32_t> frame = scene.Frame();
    std::string what = "tilt " + std::to_string(c.tilt);
    Check(scene, frame, what.c_str(),
          {{c.main, kFront}, {kCentre, kBack}, {c.satellite2, kSatellite2}});
  }
}

TEST(Frame, SatelliteCountChoosesTheCopies) {
  struct Case {
    int count;
    Sees satellite1, satellite2;
  };
  const Case cases[] = {{0, kNothing, kNothing},      {1, kBack, kNothing},
                        {2, kBack, kSatellite2},      {127, kBack, kSatellite2},
                        {-1, kNothing, kNothing},     {-128, kNothing, kNothing}};
  for (const Case& c : cases) {
    SceneGl scene;
    PrepareCube(scene);
    satelliteCount = static_cast<signed char>(c.count);
    orbitEnabled = 1;
    scene.Build();
    std::vector<uint32_t> frame = scene.Frame();
    std::string what = "satelliteCount " + std::to_string(c.count);
    Check(scene, frame, what.c_str(), {{kBelow, kFront}, {kCentre, c.satellite1}, {kLeft, c.satellite2}});
  }
}

// Without its orbit the main solid turns at the centre; the satellites still
// circle it.
TEST(Frame, MainSolidStaysAtTheCentreWithoutItsOrbit) {
  SceneGl scene;
  PrepareCube(scene);
  satelliteCount = 2;
  orbitEnabled = 0;
  scene.Build();
  std::vector<uint32_t> frame = scene.Frame();
  Check(scene, frame, "orbit off", {{kCentre, kFront}, {kBelow, kNothing}, {kLeft, kSatellite2}});
}

// A quarter turn of the orbit: the main solid goes behind the centre (it
// circles in the vertical plane through the viewing axis) and, turned with
// its orbit, shows its top; satellite 1 comes round to the left showing its
// right face; satellite 2 comes down.
TEST(Frame, OrbitMovesEachCopyRoundItsOwnCircle) {
  SceneGl scene;
  PrepareCube(scene);
  satelliteCount = 2;
  orbitEnabled = 1;
  orbitStep = 90;
  scene.Build();
  AdvanceSceneAngles();
  EXPECT_EQ(orbitAngle, 90u);
  std::vector<uint32_t> frame = scene.Frame();
  Check(scene, frame, "orbit 90",
        {{kCentre, Sees{{4}}}, {kLeft, Sees{{3}}}, {kBelow, kSatellite2}, {kAbove, kNothing}});
}

TEST(Frame, TheFourDistancesChangeTheSize) {
  struct Case {
    int index;
    int width;  // the front face, 4 units wide at (distance - 2) units
  };
  const Case cases[] = {{0, 46}, {1, 23}, {2, 19}, {3, 15}, {-1, 46}, {-128, 46}, {4, 15}, {127, 15}};
  for (const Case& c : cases) {
    SceneGl scene;
    PrepareCube(scene);
    distanceIndex = static_cast<signed char>(c.index);
    scene.Build();
    std::vector<uint32_t> frame = scene.Frame();
    EXPECT_NEAR(scene_test::LitRunAcross(scene, frame, scene.height() / 2), c.width, 2) << "index " << c.index;
  }
}

TEST(Frame, ProjectionFollowsTheClientShape) {
  struct Case {
    int width, height;
    double aspect;
  };
  const Case cases[] = {{640, 480, 4.0 / 3.0}, {480, 640, 0.75}, {300, 0, 300.0}, {0, 0, 0.0}};
  BareGl gl(16, 16);
  ASSERT_TRUE(gl.ok());
  for (const Case& c : cases) {
    SetSceneProjection(c.width, c.height);
    double projection[16];
    glMatrixMode(GL_PROJECTION);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_MODELVIEW);
    for (double m : projection) EXPECT_TRUE(std::isfinite(m)) << c.width << " x " << c.height;
    // 55 degrees of vertical field: the y scale is 1 / tan(27.5 degrees).
    if (c.aspect > 0) {
      EXPECT_NEAR(projection[5], 1.0 / std::tan(27.5 * M_PI / 180.0), 1e-6);
      EXPECT_NEAR(projection[5] / projection[0], c.aspect, c.aspect * 1e-6) << c.width << " x " << c.height;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], c.width);
    EXPECT_EQ(viewport[3], c.height);
  }
}

}  // namespace
