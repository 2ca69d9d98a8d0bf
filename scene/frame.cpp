#include "scene/frame.h"

#include "scene/scene_state.h"

#include <GL/glu.h>

#include "scene/solid_list.h"

const double distanceTable[4] = {-12.0, -22.0, -26.0, -32.0};
const float lightPosition[4] = {0.0f, 0.0f, 10.0f, 1.0f};

namespace {

constexpr double kOrbitRadius = 7.0;
constexpr double kFieldOfView = 55.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 50.0;
constexpr double kSatelliteHalfTurn = 180.0;

enum class Copy { Main, Satellite1, Satellite2 };

void Spin() {
  glRotated(double(spinAngleX), 1, 0, 0);
  glRotated(double(spinAngleY), 0, 1, 0);
  glRotated(double(spinAngleZ), 0, 0, 1);
}

// One copy: to the centre, round its own circle (all three circles turned by
// the tilt), the light set in that frame so it does not spin with the copy,
// then the copy's own half turn and the shared spin.
void DrawCopy(Copy copy) {
  glLoadIdentity();
  glTranslated(0, 0, SceneDistance(distanceIndex));
  switch (copy) {
    case Copy::Main:
      if (orbitEnabled != 0) {
        glRotated(double(tiltAngle), 0, 0, 1);
        glRotated(double(orbitAngle), 1, 0, 0);
        glTranslated(0, -kOrbitRadius, 0);
      }
      break;
    case Copy::Satellite1:
      glRotated(double(tiltAngle), 0, 0, 1);
      glRotated(double(orbitAngle), 0, 1, 0);
      glTranslated(0, 0, -kOrbitRadius);
      break;
    case Copy::Satellite2:
      glRotated(double(tiltAngle), 0, 0, 1);
      glRotated(double(orbitAngle), 0, 0, 1);
      glTranslated(-kOrbitRadius, 0, 0);
      break;
  }
  glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
  if (copy == Copy::Satellite1) glRotated(kSatelliteHalfTurn, 0, 1, 0);
  if (copy == Copy::Satellite2) glRotated(kSatelliteHalfTurn, 1, 1, 1);
  Spin();
  glCallList(kSolidList);
}

}  // namespace

double SceneDistance(int index) {
  if (index < 0) index = 0;
  if (index > 3) index = 3;
  return distanceTable[index];
}

DWORD AdvanceAngle(DWORD angle, signed char step) {
  // One correction is enough: the angle is below 360 and the step's size
  // below 360 too.
  int sum = int(angle) + step;
  if (sum >= 360) sum -= 360;
  if (sum < 0) sum += 360;
  return DWORD(sum);
}

UINT FrameInterval(BYTE slow) { return slow != 0 ? 1200 : 25; }

void SetSceneProjection(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, double(width) / double(height != 0 ? height : 1), kNearPlane,
                 kFarPlane);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnable(GL_NORMALIZE);
}

void AdvanceSceneAngles() {
  spinAngleX = AdvanceAngle(spinAngleX, spinStepX);
  spinAngleY = AdvanceAngle(spinAngleY, spinStepY);
  spinAngleZ = AdvanceAngle(spinAngleZ, spinStepZ);
  orbitAngle = AdvanceAngle(orbitAngle, orbitStep);
}

void DrawSceneFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawCopy(Copy::Main);
  if (satelliteCount >= 1) DrawCopy(Copy::Satellite1);
  if (satelliteCount >= 2) DrawCopy(Copy::Satellite2);
  glFlush();
}
