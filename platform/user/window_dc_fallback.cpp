// Stand-ins until the drawing services provide window device contexts and
// brush colours (platform/window_dc.h). The drawing services delete this
// file when they define these functions.
#include "platform/window_dc.h"

namespace platform {

HDC CreateWindowDC(HWND window) {
  // A handle that draws nothing; BeginPaint needs one to hand out.
  return window != nullptr ? reinterpret_cast<HDC>(reinterpret_cast<uintptr_t>(window) | 1) : nullptr;
}

void ReleaseWindowDC(HDC dc) {}

bool SolidBrushColor(HBRUSH brush, COLORREF* color) { return false; }

}  // namespace platform
