#include "scene/scene_window.h"

#include "package/content_package.h"
#include "package/picture_loading.h"
#include "scene/fixed_state.h"
#include "scene/frame.h"
#include "scene/palette.h"
#include "scene/scene_state.h"
#include "scene/solid_list.h"
#include "scene/textures.h"
#include "songs/songs.h"

#include <GL/gl.h>

namespace {

// Every creation starts from nothing. The context and palette handles are
// cleared too (the previous window cleared them as it released them): a
// destruction after a failed creation must find nothing to release.
void ResetSceneState() {
  for (int slot = 0; slot < kPictureSlots; ++slot) {
    pictureDib[slot] = nullptr;
    textureEdge[slot] = 0;
    texturePixels[slot] = nullptr;
    textureBitmap[slot] = nullptr;
    textureObject[slot] = 0;
  }
  sceneContext = nullptr;
  scenePalette = nullptr;
  frameTimer = 0;
  orbitAngle = spinAngleX = spinAngleY = spinAngleZ = 0;
}

void KeepSettings(const SceneSettings& settings) {
  imageCount = settings.imageCount;
  satelliteCount = settings.satelliteCount;
  distanceIndex = settings.distanceIndex;
  orbitEnabled = settings.orbitEnabled;
  orbitStep = settings.orbitStep;
  spinStepX = settings.spinStepX;
  spinStepY = settings.spinStepY;
  spinStepZ = settings.spinStepZ;
  slowTimer = settings.slowTimer;
}

// Double-buffered RGBA with a 16-bit depth buffer, in the display's depth.
void SetScenePixelFormat(HDC dc) {
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = BYTE(GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL));
  wanted.cDepthBits = 16;
  wanted.iLayerType = PFD_MAIN_PLANE;
  // The scene goes on whatever either call answers: without a format the
  // window shows nothing useful but keeps its timer.
  SetPixelFormat(dc, ChoosePixelFormat(dc, &wanted), &wanted);
}

LRESULT CreateScene(HWND window) {
  ResetSceneState();
  RuntimeSrand(GetTickCount());
  tiltAngle = DWORD(RuntimeRand() % 360);

  HINSTANCE instance = reinterpret_cast<HINSTANCE>(intptr_t(GetWindowLongA(window, GWL_HINSTANCE)));
  HFILE package = OpenContentPackage(instance);
  if (package == HFILE_ERROR) return -1;
  SceneSettings settings{};
  ReadSceneSettings(package, &settings);
  KeepSettings(settings);
  char* name = ReadSaverName(package);
  LONG descriptionEnd = SkipPackageText(package);
  // Songs play only full-screen: the song start itself passes a preview by.
  StartSongs(window, packagePath, name);
  FreePackageText(name);
  // The window's client width names the temporary picture file.
  LoadPackagePictures(window, package, descriptionEnd, imageCount);

  HDC dc = GetDC(window);
  SetScenePixelFormat(dc);
  scenePalette = CreateScenePalette(dc);
  sceneContext = wglCreateContext(dc);
  SelectPalette(dc, scenePalette, FALSE);
  RealizePalette(dc);
  wglMakeCurrent(dc, sceneContext);
  for (int slot = 0; slot < UsedPictureSlots(); ++slot)
    if (pictureDib[slot] != nullptr)
      MakeTexture(window, &pictureDib[slot], &textureEdge[slot], &textureBitmap[slot], &texturePixels[slot]);
  FillOpaqueAlpha();
  SetTextureUploadState();
  buildSolidList();
  wglMakeCurrent(nullptr, nullptr);
  ReleaseDC(window, dc);

  dc = GetDC(window);
  wglMakeCurrent(dc, sceneContext);
  SetFixedTextureState();
  wglMakeCurrent(nullptr, nullptr);
  ReleaseDC(window, dc);

  frameTimer = SetTimer(window, kFrameTimerId, FrameInterval(slowTimer), nullptr);
  return 0;
}

// Releases what exists and clears each handle as it goes, so a destruction
// after a failed creation (or a second one) releases nothing twice.
void DestroyScene(HWND window) {
  StopSongs();
  if (frameTimer != 0) {
    KillTimer(window, frameTimer);
    frameTimer = 0;
  }
  wglMakeCurrent(nullptr, nullptr);
  if (sceneContext != nullptr) {
    // The solid list and the slots' texture objects go with it.
    wglDeleteContext(sceneContext);
    sceneContext = nullptr;
  }
  for (GLuint& object : textureObject) object = 0;
  if (scenePalette != nullptr) {
    DeleteObject(scenePalette);
    scenePalette = nullptr;
  }
  for (int slot = 0; slot < kPictureSlots; ++slot) {
    if (pictureDib[slot] != nullptr) {
      FreePackedDib(pictureDib[slot]);
      pictureDib[slot] = nullptr;
    }
    if (textureBitmap[slot] != nullptr) {
      DeleteObject(textureBitmap[slot]);
      textureBitmap[slot] = nullptr;
    }
    texturePixels[slot] = nullptr;
    textureEdge[slot] = 0;
  }
}

void SizeScene(HWND window, LPARAM lParam) {
  HDC dc = GetDC(window);
  wglMakeCurrent(dc, sceneContext);
  SetSceneProjection(LOWORD(lParam), HIWORD(lParam));
  wglMakeCurrent(nullptr, nullptr);
  ReleaseDC(window, dc);
  InvalidateRect(window, nullptr, TRUE);
}

void PaintScene(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HPALETTE kept = SelectPalette(dc, scenePalette, FALSE);
  RealizePalette(dc);
  wglMakeCurrent(dc, sceneContext);
  DrawSceneFrame();
  SwapBuffers(dc);
  SelectPalette(dc, kept, TRUE);
  wglMakeCurrent(nullptr, nullptr);
  EndPaint(window, &paint);
}

LRESULT RealizeScenePalette(HWND window) {
  HDC dc = GetDC(window);
  HPALETTE kept = SelectPalette(dc, scenePalette, FALSE);
  UINT realized = RealizePalette(dc);
  wglMakeCurrent(dc, sceneContext);
  wglMakeCurrent(nullptr, nullptr);
  SelectPalette(dc, kept, TRUE);
  ReleaseDC(window, dc);
  if (realized != 0) InvalidateRect(window, nullptr, TRUE);
  return LRESULT(realized);
}

}  // namespace

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return CreateScene(window);
    case WM_DESTROY:
      DestroyScene(window);
      return 0;
    case WM_SIZE:
      SizeScene(window, lParam);
      return 0;
    case WM_PAINT:
      PaintScene(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers the whole window
    case WM_TIMER:
      AdvanceSceneAngles();
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_QUERYNEWPALETTE:
      return RealizeScenePalette(window);
    case WM_PALETTECHANGED:
      // A change the scene window caused itself needs no answer.
      if (reinterpret_cast<HWND>(wParam) == window) break;
      return RealizeScenePalette(window);
    case MM_MCINOTIFY:
      // The next song after a successful end; never the default procedure.
      return AdvanceSongs(wParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

ATOM RegisterSceneWindowClass(HINSTANCE instance) {
  WNDCLASSA sceneClass{};
  sceneClass.style = 0;
  sceneClass.lpfnWndProc = SceneWindowProc;
  sceneClass.hInstance = instance;
  sceneClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  sceneClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  sceneClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  sceneClass.lpszClassName = kSceneWindowClass;
  return RegisterClassA(&sceneClass);
}
