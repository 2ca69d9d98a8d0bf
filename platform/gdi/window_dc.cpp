// Window and screen device contexts, over the window system's backing
// stores (platform/window_canvas.h). The canvas is looked up at every
// drawing call, so a context follows its window when it moves or resizes.
#include "platform/window_dc.h"

#include <algorithm>

#include "device_context.h"
#include "draw_target.h"
#include "gdi_objects.h"
#include "platform/snapshot.h"
#include "platform/window_canvas.h"
#include "win32/user.h"

namespace platform::gdi {
namespace {

// The desktop window's context is the screen's, as on the platform.
bool IsScreenWindow(HWND window) { return window == nullptr || window == GetDesktopWindow(); }

void AddTarget(HWND window, const WindowCanvas& canvas, int dx, int dy, std::vector<Target>* targets) {
  if (canvas.surface == nullptr || canvas.surface->pixels == nullptr) return;
  Target t;
  t.top = canvas.surface->pixels;
  t.rowStep = canvas.surface->stride;
  t.dx = dx;
  t.dy = dy;
  t.owner = window;
  // Never past the store, whatever the window system says.
  RECT store{0, 0, canvas.surface->width, canvas.surface->height};
  if (Intersect(canvas.clip, store, &t.clip)) targets->push_back(t);
}

}  // namespace

void ResolveWindowTargets(const Dc& dc, std::vector<Target>* targets) {
  WindowCanvas canvas;
  if (dc.kind == DcKind::kWindow) {
    if (GetWindowCanvas(dc.window, &canvas))
      AddTarget(dc.window, canvas, canvas.client.left, canvas.client.top, targets);
    return;
  }
  // The screen: each shown top-level window at its place on the screen.
  constexpr int kMost = 256;
  HWND windows[kMost];
  int count = std::min(ListShownTopLevelWindows(windows, kMost), kMost);
  for (int i = 0; i < count; ++i) {
    if (!GetWindowCanvas(windows[i], &canvas)) continue;
    AddTarget(windows[i], canvas, canvas.client.left - canvas.screen.left, canvas.client.top - canvas.screen.top,
              targets);
  }
}

void MarkTargetChanged(const Target& target, const RECT& rect) {
  if (target.owner != nullptr) MarkCanvasChanged(target.owner, rect);
}

void ScreenSize(int* width, int* height) {
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace platform::gdi

namespace platform {

HDC CreateWindowDC(HWND window) {
  // Snapshots asked for in the environment count from the first drawing.
  StartConfiguredSnapshots();
  if (gdi::IsScreenWindow(window)) return gdi::AddDc(gdi::DcKind::kScreen, nullptr);
  if (!IsWindow(window)) return nullptr;
  return gdi::AddDc(gdi::DcKind::kWindow, window);
}

void ReleaseWindowDC(HDC dc) { gdi::RemoveDc(dc); }

bool SolidBrushColor(HBRUSH brush, COLORREF* color) { return gdi::BrushColor(brush, color); }

}  // namespace platform

HDC GetDC(HWND window) { return platform::CreateWindowDC(window); }

int ReleaseDC(HWND window, HDC handle) {
  platform::gdi::Dc* dc = platform::gdi::FindDc(handle);
  // Memory contexts go through DeleteDC.
  if (dc == nullptr || dc->kind == platform::gdi::DcKind::kMemory) return 0;
  return platform::gdi::RemoveDc(handle) ? 1 : 0;
}
