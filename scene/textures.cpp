#include "scene/textures.h"

#include "scene/scene_state.h"

#include <GL/gl.h>

int TextureEdge(int size) {
  // Halve until nothing is left, at most 16 times: a negative value never
  // reaches 0 and so gets the largest edge, like any value above 65535.
  int halvings = 0;
  while (size != 0 && halvings < 16) {
    size >>= 1;
    ++halvings;
  }
  return halvings == 0 ? 0 : 1 << (halvings - 1);
}

void FillOpaqueAlpha() {
  for (int slot = 0; slot < UsedPictureSlots(); ++slot) {
    // A slot whose DIB section could not be made has no pixels; MakeTexture
    // leaves its edge at 0, but the pointer is checked all the same.
    if (textureEdge[slot] == 0 || texturePixels[slot] == nullptr) continue;
    size_t texels = size_t(textureEdge[slot]) * size_t(textureEdge[slot]);
    BYTE* pixel = texturePixels[slot];
    for (size_t i = 0; i < texels; ++i) pixel[i * 4 + 3] = 255;
  }
}

namespace {

// The largest texture edge the current context takes, 0 when no context is
// current (a context that could not be made): there is then nothing to
// draw the texture with.
int MaxTextureEdge() {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  return largest > 0 ? largest : 0;
}

}  // namespace

int MakeTexture(HWND window, PackedDib* dibSlot, int* edgeSlot, HBITMAP* bitmapSlot, BYTE** pixelsSlot) {
  PackedDib dib = *dibSlot;
  if (dib == nullptr) return 0;
  LONG width = DibWidth(dib);
  LONG height = DibHeight(dib);
  // The mean side, in 64 bits so that no pair of header values overflows.
  int edge = TextureEdge(int((int64_t(width) + int64_t(height)) / 2));
  int largest = MaxTextureEdge();
  if (edge >= largest) edge = largest;

  if (*bitmapSlot != nullptr) {
    DeleteObject(*bitmapSlot);
    *bitmapSlot = nullptr;
    *pixelsSlot = nullptr;
  }
  *edgeSlot = 0;

  if (edge > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = edge;
    info.bmiHeader.biHeight = edge;  // bottom-up rows: the first row is texture row t = 0
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    ReleaseDC(window, windowDc);

    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    // A section that cannot be made leaves the slot without a texture (edge
    // 0): the alpha fill and the solid list then pass it by, as an empty slot.
    if (section != nullptr && bits != nullptr) {
      *bitmapSlot = section;
      *pixelsSlot = static_cast<BYTE*>(bits);
      *edgeSlot = edge;
      HGDIOBJ previous = SelectObject(memoryDc, section);
      SelectPalette(memoryDc, scenePalette, TRUE);
      RealizePalette(memoryDc);
      // Rows and columns the scaling drops are discarded, not blended.
      SetStretchBltMode(memoryDc, COLORONCOLOR);
      DrawPackedDib(memoryDc, 0, 0, edge, edge, dib, 0, 0, width, height, SRCCOPY);
      GdiFlush();  // the pixels complete in memory before OpenGL reads them
      if (previous != nullptr) SelectObject(memoryDc, previous);
    } else if (section != nullptr) {
      DeleteObject(section);
    }
    DeleteDC(memoryDc);
  }

  FreePackedDib(dib);
  *dibSlot = nullptr;
  return 1;
}
