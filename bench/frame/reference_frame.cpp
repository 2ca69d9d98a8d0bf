#include "reference_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// The cube's faces: normal, then four corners (s, t, x, y, z).
const double kFaces[6][3 + 4 * 5] = {
    {0, 0, 1, 1, 0, 2, -2, 2, 1, 1, 2, 2, 2, 0, 1, -2, 2, 2, 0, 0, -2, -2, 2},
    {0, 0, -1, 1, 0, -2, -2, -2, 1, 1, -2, 2, -2, 0, 1, 2, 2, -2, 0, 0, 2, -2, -2},
    {-1, 0, 0, 1, 0, -2, -2, 2, 1, 1, -2, 2, 2, 0, 1, -2, 2, -2, 0, 0, -2, -2, -2},
    {1, 0, 0, 1, 0, 2, -2, -2, 1, 1, 2, 2, -2, 0, 1, 2, 2, 2, 0, 0, 2, -2, 2},
    {0, 1, 0, 1, 0, 2, 2, 2, 1, 1, 2, 2, -2, 0, 1, -2, 2, -2, 0, 0, -2, 2, 2},
    {0, -1, 0, 1, 0, 2, -2, -2, 1, 1, 2, -2, 2, 0, 1, -2, -2, 2, 0, 0, -2, -2, -2},
};

}  // namespace

ReferenceFrame::ReferenceFrame(int width, int height, const std::vector<std::vector<uint8_t>>& pictures,
                               int edge)
    : width_(width), height_(height) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(6, textures_);
  for (int i = 0; i < 6; ++i) {
    glBindTexture(GL_TEXTURE_2D, textures_[i]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, edge, edge, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pictures[i].data());
  }
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(55.0, double(width) / height, 1.0, 50.0);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glEnable(GL_NORMALIZE);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  // The cube once, in a list of its own, as any fixed-function program
  // would draw a solid it shows again and again.
  list_ = glGenLists(1);
  glNewList(list_, GL_COMPILE);
  for (int f = 0; f < 6; ++f) {
    glBindTexture(GL_TEXTURE_2D, textures_[f]);
    glBegin(GL_POLYGON);
    glNormal3d(kFaces[f][0], kFaces[f][1], kFaces[f][2]);
    for (int c = 0; c < 4; ++c) {
      const double* corner = &kFaces[f][3 + c * 5];
      glTexCoord2d(corner[0], corner[1]);
      glVertex3d(corner[2], corner[3], corner[4]);
    }
    glEnd();
  }
  glEndList();
}

ReferenceFrame::~ReferenceFrame() {
  glDeleteLists(list_, 1);
  glDeleteTextures(6, textures_);
}

void ReferenceFrame::Place(double distance, int tilt, int orbitStep, int spinStepX, int spinStepY,
                           int spinStepZ) {
  distance_ = distance;
  tilt_ = tilt;
  orbitStep_ = orbitStep;
  spinStep_[0] = spinStepX;
  spinStep_[1] = spinStepY;
  spinStep_[2] = spinStepZ;
}

void ReferenceFrame::Draw(std::vector<uint8_t>& out) {
  ++tick_;
  const double orbit = (tick_ * orbitStep_) % 360;
  const float light[4] = {0, 0, 10, 1};
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // The main cube circles in the vertical plane, satellite 1 in the
  // horizontal one, satellite 2 in the plane facing the viewer.
  const double axis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  const double offset[3][3] = {{0, -7, 0}, {0, 0, -7}, {-7, 0, 0}};
  for (int copy = 0; copy < 3; ++copy) {
    glLoadIdentity();
    glTranslated(0, 0, distance_);
    glRotated(tilt_, 0, 0, 1);
    glRotated(orbit, axis[copy][0], axis[copy][1], axis[copy][2]);
    glTranslated(offset[copy][0], offset[copy][1], offset[copy][2]);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    if (copy == 1) glRotated(180, 0, 1, 0);
    if (copy == 2) glRotated(180, 1, 1, 1);
    for (int a = 0; a < 3; ++a) glRotated((tick_ * spinStep_[a]) % 360, axis[a][0], axis[a][1], axis[a][2]);
    glCallList(list_);
  }
  out.resize(size_t(width_) * height_ * 4);
  glReadPixels(0, 0, width_, height_, GL_BGRA_EXT, GL_UNSIGNED_BYTE, out.data());
}
