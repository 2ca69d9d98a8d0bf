#include "pixel_format.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "../gdi/device_context.h"
#include "../gdi/display_format.h"
#include "egl_display.h"
#include "win32/user.h"

namespace platform::wgl {
namespace {

std::map<HWND, int>& WindowFormats() {
  static std::map<HWND, int> formats;
  return formats;
}

PIXELFORMATDESCRIPTOR Format(DWORD flags, BYTE colorBits, BYTE depth, BYTE stencil) {
  PIXELFORMATDESCRIPTOR f{};
  f.nSize = sizeof f;
  f.nVersion = 1;
  f.dwFlags = flags;
  f.iPixelType = PFD_TYPE_RGBA;
  f.cColorBits = colorBits;
  if (colorBits == 8) {
    // 3-3-2: red in the low bits, blue in the high ones.
    f.cRedBits = 3, f.cRedShift = 0, f.cGreenBits = 3, f.cGreenShift = 3, f.cBlueBits = 2, f.cBlueShift = 6;
  } else {
    f.cRedBits = 8, f.cRedShift = 16, f.cGreenBits = 8, f.cGreenShift = 8, f.cBlueBits = 8, f.cBlueShift = 0;
    f.cAlphaBits = 8, f.cAlphaShift = 24;
  }
  f.cDepthBits = depth;
  f.cStencilBits = stencil;
  f.iLayerType = PFD_MAIN_PLANE;
  return f;
}

}  // namespace

std::vector<PIXELFORMATDESCRIPTOR> OfferedFormats() {
  const DWORD gl = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (gdi::DisplayIsPalettised()) {
    DWORD palette = gl | PFD_NEED_PALETTE;
    return {Format(palette | PFD_DOUBLEBUFFER, 8, 16, 0), Format(palette | PFD_DOUBLEBUFFER, 8, 24, 8),
            Format(palette | PFD_SUPPORT_GDI, 8, 16, 0)};
  }
  return {Format(gl | PFD_DOUBLEBUFFER, 32, 24, 8), Format(gl | PFD_DOUBLEBUFFER, 32, 16, 0),
          Format(gl | PFD_SUPPORT_GDI, 32, 24, 8)};
}

HWND WindowOfDc(HDC dc) {
  gdi::Dc* found = gdi::FindDc(dc);
  return found != nullptr && found->kind == gdi::DcKind::kWindow ? found->window : nullptr;
}

int WindowPixelFormat(HWND window) {
  auto found = WindowFormats().find(window);
  if (found == WindowFormats().end()) return 0;
  if (!IsWindow(window)) {
    WindowFormats().erase(found);
    return 0;
  }
  return found->second;
}

EGLConfig WindowEglConfig(HWND window) {
  int format = WindowPixelFormat(window);
  std::vector<PIXELFORMATDESCRIPTOR> formats = OfferedFormats();
  if (format < 1 || format > static_cast<int>(formats.size())) return nullptr;
  return EglConfigFor(formats[format - 1].cDepthBits, formats[format - 1].cStencilBits);
}

void ForgetDeadWindows() {
  for (auto it = WindowFormats().begin(); it != WindowFormats().end();)
    it = IsWindow(it->first) ? std::next(it) : WindowFormats().erase(it);
}

}  // namespace platform::wgl

using namespace platform::wgl;

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* wanted) {
  if (platform::gdi::FindDc(dc) == nullptr || wanted == nullptr) return 0;
  std::vector<PIXELFORMATDESCRIPTOR> formats = OfferedFormats();
  const DWORD required = wanted->dwFlags & (PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI |
                                            PFD_SUPPORT_OPENGL);
  int best = 0;
  long bestScore = 0;
  for (size_t i = 0; i < formats.size(); ++i) {
    const PIXELFORMATDESCRIPTOR& f = formats[i];
    if ((f.dwFlags & required) != required || f.iPixelType != wanted->iPixelType) continue;
    // Lower is better: a buffering mismatch weighs most, then missing colour
    // or depth bits, then bits beyond what was asked.
    long score = 0;
    if (!(wanted->dwFlags & PFD_DOUBLEBUFFER_DONTCARE) &&
        (f.dwFlags & PFD_DOUBLEBUFFER) != (wanted->dwFlags & PFD_DOUBLEBUFFER))
      score += 100000;
    int colorGap = f.cColorBits - wanted->cColorBits;
    score += colorGap < 0 ? -colorGap * 1000 : colorGap * 10;
    if (!(wanted->dwFlags & PFD_DEPTH_DONTCARE)) {
      int depthGap = f.cDepthBits - wanted->cDepthBits;
      score += depthGap < 0 ? -depthGap * 1000 : depthGap;
    }
    int stencilGap = f.cStencilBits - wanted->cStencilBits;
    score += stencilGap < 0 ? -stencilGap * 1000 : stencilGap;
    if (best == 0 || score < bestScore) {
      best = static_cast<int>(i) + 1;
      bestScore = score;
    }
  }
  return best;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* wanted) {
  platform::gdi::Dc* found = platform::gdi::FindDc(dc);
  if (found == nullptr || format < 1 || format > static_cast<int>(OfferedFormats().size())) return FALSE;
  if (found->kind == platform::gdi::DcKind::kMemory) {
    found->pixelFormat = format;
    return TRUE;
  }
  HWND window = WindowOfDc(dc);
  if (window == nullptr) return FALSE;
  // A window's format is set once; setting the same one again is harmless.
  int existing = WindowPixelFormat(window);
  if (existing != 0) return existing == format ? TRUE : FALSE;
  ForgetDeadWindows();
  WindowFormats()[window] = format;
  return TRUE;
}

int GetPixelFormat(HDC dc) {
  platform::gdi::Dc* found = platform::gdi::FindDc(dc);
  if (found == nullptr) return 0;
  if (found->kind == platform::gdi::DcKind::kMemory) return found->pixelFormat;
  HWND window = WindowOfDc(dc);
  return window != nullptr ? WindowPixelFormat(window) : 0;
}

int DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR out) {
  if (platform::gdi::FindDc(dc) == nullptr) return 0;
  std::vector<PIXELFORMATDESCRIPTOR> formats = OfferedFormats();
  int count = static_cast<int>(formats.size());
  if (out == nullptr) return count;
  if (format < 1 || format > count || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
  *out = formats[format - 1];
  return count;
}
