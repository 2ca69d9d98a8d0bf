// The scene's arithmetic: texture edges, angle steps, timer intervals and
// distances.
#include <gtest/gtest.h>

#include "scene/frame.h"
#include "scene/textures.h"

namespace {

TEST(TextureEdge, PowerOfTwoNotAboveTheMeanSide) {
  struct Case {
    int width, height, edge;
  };
  const Case cases[] = {
      {640, 480, 512},   {800, 600, 512},     {1024, 768, 512}, {1280, 1024, 1024},
      {100, 50, 64},     {3, 1, 2},           {1, 1, 1},        {2, 1, 1},
      {512, 512, 512},   {511, 511, 256},     {200, 100, 128},  {0, 0, 0},
      {65535, 65535, 32768}, {65536, 65536, 32768}, {131072, 131072, 32768},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextureEdge((c.width + c.height) / 2), c.edge) << c.width << " x " << c.height;
}

TEST(TextureEdge, NegativeSizesGetTheLargestEdge) {
  EXPECT_EQ(TextureEdge(-1), 32768);
  EXPECT_EQ(TextureEdge(-100000), 32768);
  EXPECT_EQ(TextureEdge(INT32_MIN), 32768);
}

TEST(AdvanceAngle, StaysWithinOneTurn) {
  struct Case {
    unsigned from;
    int step;
    unsigned to;
  };
  const Case cases[] = {
      {0, -5, 355}, {300, 127, 67}, {0, -128, 232}, {123, 0, 123},
      {359, 1, 0},  {0, 127, 127},  {232, -128, 104}, {359, -128, 231},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AdvanceAngle(c.from, static_cast<signed char>(c.step)), c.to) << c.from << " + " << c.step;
}

TEST(FrameInterval, SlowTimerChoosesTheLongTick) {
  struct Case {
    int slow;
    unsigned interval;
  };
  const Case cases[] = {{0, 25}, {1, 1200}, {2, 1200}, {255, 1200}};
  for (const Case& c : cases) EXPECT_EQ(FrameInterval(BYTE(c.slow)), c.interval) << c.slow;
}

TEST(SceneDistance, FourDistancesAndClampedOutsiders) {
  struct Case {
    int index;
    double distance;
  };
  const Case cases[] = {{0, -12}, {1, -22}, {2, -26}, {3, -32},
                        {-1, -12}, {-128, -12}, {4, -32}, {127, -32}};
  for (const Case& c : cases) EXPECT_EQ(SceneDistance(c.index), c.distance) << c.index;
}

}  // namespace
