#include "scene/solid_list.h"

#include "scene/scene_state.h"

// Every face of every solid as it is drawn: its picture slot, its normal
// (the pyramid's are not of unit length; GL_NORMALIZE takes care of that) and
// its corners, counter-clockwise seen from outside, each with its texture
// coordinate. All solids fit the cube from -2 to 2, +z towards the viewer.
namespace {

struct Corner {
  double s, t, x, y, z;
};

struct Face {
  int slot;
  double nx, ny, nz;
  int corners;
  Corner corner[4];
};

// Two faces in the plane z = 0: exactly one of them faces the viewer.
const Face panelFaces[] = {
    {0, 0, 0, 1, 4, {{1, 0, 2, -2, 0}, {1, 1, 2, 2, 0}, {0, 1, -2, 2, 0}, {0, 0, -2, -2, 0}}},
    {1, 0, 0, -1, 4, {{1, 0, -2, -2, 0}, {1, 1, -2, 2, 0}, {0, 1, 2, 2, 0}, {0, 0, 2, -2, 0}}},
};

const Face cubeFaces[] = {
    {0, 0, 0, 1, 4, {{1, 0, 2, -2, 2}, {1, 1, 2, 2, 2}, {0, 1, -2, 2, 2}, {0, 0, -2, -2, 2}}},
    {1, 0, 0, -1, 4, {{1, 0, -2, -2, -2}, {1, 1, -2, 2, -2}, {0, 1, 2, 2, -2}, {0, 0, 2, -2, -2}}},
    {2, -1, 0, 0, 4, {{1, 0, -2, -2, 2}, {1, 1, -2, 2, 2}, {0, 1, -2, 2, -2}, {0, 0, -2, -2, -2}}},
    {3, 1, 0, 0, 4, {{1, 0, 2, -2, -2}, {1, 1, 2, 2, -2}, {0, 1, 2, 2, 2}, {0, 0, 2, -2, 2}}},
    {4, 0, 1, 0, 4, {{1, 0, 2, 2, 2}, {1, 1, 2, 2, -2}, {0, 1, -2, 2, -2}, {0, 0, -2, 2, 2}}},
    {5, 0, -1, 0, 4, {{1, 0, 2, -2, -2}, {1, 1, 2, -2, 2}, {0, 1, -2, -2, 2}, {0, 0, -2, -2, -2}}},
};

// Four sides meeting at the apex (0, 2, 0), each showing the triangle of its
// picture between the bottom corners and the middle of the top edge, and the
// base, which takes slot 4 (the cube's bottom takes slot 5).
const Face pyramidFaces[] = {
    {0, 0, 0.5, 1, 3, {{1, 0, 2, -2, 2}, {0.5, 1, 0, 2, 0}, {0, 0, -2, -2, 2}}},
    {1, 0, 0.5, -1, 3, {{1, 0, -2, -2, -2}, {0.5, 1, 0, 2, 0}, {0, 0, 2, -2, -2}}},
    {2, -1, 0.5, 0, 3, {{1, 0, -2, -2, 2}, {0.5, 1, 0, 2, 0}, {0, 0, -2, -2, -2}}},
    {3, 1, 0.5, 0, 3, {{1, 0, 2, -2, -2}, {0.5, 1, 0, 2, 0}, {0, 0, 2, -2, 2}}},
    {4, 0, -1, 0, 4, {{1, 0, 2, -2, -2}, {1, 1, 2, -2, 2}, {0, 1, -2, -2, 2}, {0, 0, -2, -2, -2}}},
};

bool SlotHasTexture(int slot) {
  return textureEdge[slot] != 0 && texturePixels[slot] != nullptr;
}

// The slot's picture goes into a texture object once, here, instead of into
// the list: the list then only binds it, so a frame does not copy up to six
// images per drawn copy. The object carries its own filters and wrap mode
// (texture parameters belong to the object), the same fixed values the scene
// sets for the context's default texture.
void MakeTextureObject(int slot) {
  glGenTextures(1, &textureObject[slot]);
  glBindTexture(GL_TEXTURE_2D, textureObject[slot]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, 4, textureEdge[slot], textureEdge[slot], 0, GL_BGRA_EXT,
               GL_UNSIGNED_BYTE, texturePixels[slot]);
}

}  // namespace

void buildSolidList() {
  const Face* faces = panelFaces;
  int faceCount = 2;
  if (imageCount == 5) {
    faces = pyramidFaces;
    faceCount = 5;
  } else if (imageCount == 6) {
    faces = cubeFaces;
    faceCount = 6;
  }

  // Only the slots the solid shows get an object: on the panel the textures
  // of slots 2 and up are made but never seen.
  for (int i = 0; i < faceCount; ++i) {
    int slot = faces[i].slot;
    if (textureObject[slot] == 0 && SlotHasTexture(slot)) MakeTextureObject(slot);
  }
  glBindTexture(GL_TEXTURE_2D, 0);

  glNewList(kSolidList, GL_COMPILE);
  for (int i = 0; i < faceCount; ++i) {
    const Face& face = faces[i];
    // The first face always selects its slot's image, so nothing carries
    // over from the previous execution; an empty slot binds the context's
    // default texture, which never gets an image and so draws the face
    // untextured and lit. A later face without a texture keeps the image
    // selected before it.
    if (i == 0 || SlotHasTexture(face.slot)) glBindTexture(GL_TEXTURE_2D, textureObject[face.slot]);
    glBegin(GL_POLYGON);
    glNormal3d(face.nx, face.ny, face.nz);
    for (int c = 0; c < face.corners; ++c) {
      const Corner& corner = face.corner[c];
      glTexCoord2d(corner.s, corner.t);
      glVertex3d(corner.x, corner.y, corner.z);
    }
    glEnd();
  }
  glEndList();
}
