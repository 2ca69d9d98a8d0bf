// Invalid areas and painting. Each window keeps the bounding rectangle of its
// invalid area and whether it wants its background erased; the loop offers
// WM_PAINT to a visible window with an invalid area when nothing else waits,
// and BeginPaint validates it (erasing first through WM_ERASEBKGND).
#include <algorithm>

#include "platform/window_dc.h"
#include "window_system.h"

namespace platform {
namespace {

RECT ClientBounds(const Window* window) {
  return RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
}

void AddInvalid(Window* window, const RECT& area, bool erase) {
  RECT clipped;
  RECT bounds = ClientBounds(window);
  if (!IntersectRect(&clipped, &area, &bounds)) {
    // Nothing to paint, but a requested erase still stands for the next paint.
    if (erase && window->invalid) window->eraseNeeded = true;
    return;
  }
  if (window->invalid) {
    UnionRect(&window->invalidRect, &window->invalidRect, &clipped);
  } else {
    window->invalidRect = clipped;
    window->invalid = true;
  }
  if (erase) window->eraseNeeded = true;
}

void PaintNow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr) return;
  if (window->invalid && IsShownChain(window)) SendTo(window, WM_PAINT, 0, 0);
  window = FindWindowRecord(handle);
  if (window == nullptr) return;
  std::vector<HWND> children = window->children;
  for (HWND child : children) PaintNow(child);
}

}  // namespace

void InvalidateWhole(Window* window, bool erase) { AddInvalid(window, ClientBounds(window), erase); }

bool NextPaintWindow(HWND filter, HWND* found) {
  for (HWND handle : AllWindows()) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || window->foreign || !window->invalid || window->destroying ||
        !IsShownChain(window) || !MessageWindowMatches(handle, filter)) {
      continue;
    }
    *found = handle;
    return true;
  }
  return false;
}

}  // namespace platform

using namespace platform;

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
  if (handle == nullptr) {
    for (HWND each : AllWindows()) {
      Window* window = FindWindowRecord(each);
      if (window != nullptr && !window->foreign) InvalidateWhole(window, erase != FALSE);
    }
    return TRUE;
  }
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign) return FALSE;
  if (rect == nullptr) {
    InvalidateWhole(window, erase != FALSE);
  } else {
    AddInvalid(window, *rect, erase != FALSE);
  }
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND handle, const RECT* rect) {
  if (handle == nullptr) return InvalidateRect(nullptr, nullptr, TRUE);
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign) return FALSE;
  if (!window->invalid) return TRUE;
  RECT& area = window->invalidRect;
  if (rect == nullptr ||
      (rect->left <= area.left && rect->top <= area.top && rect->right >= area.right &&
       rect->bottom >= area.bottom)) {
    window->invalid = false;
    window->eraseNeeded = false;
    return TRUE;
  }
  // The bounding rectangle shrinks only where a whole band is validated.
  if (rect->left <= area.left && rect->right >= area.right) {
    if (rect->top <= area.top && rect->bottom > area.top) area.top = rect->bottom;
    else if (rect->bottom >= area.bottom && rect->top < area.bottom) area.bottom = rect->top;
  } else if (rect->top <= area.top && rect->bottom >= area.bottom) {
    if (rect->left <= area.left && rect->right > area.left) area.left = rect->right;
    else if (rect->right >= area.right && rect->left < area.right) area.right = rect->left;
  }
  if (IsRectEmpty(&area)) {
    window->invalid = false;
    window->eraseNeeded = false;
  }
  return TRUE;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign || paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  HDC dc = CreateWindowDC(handle);
  paint->hdc = dc;
  paint->rcPaint = window->invalid ? window->invalidRect : RECT{};
  bool erase = window->eraseNeeded;
  window->invalid = false;
  window->eraseNeeded = false;
  if (erase) {
    // fErase tells the procedure that the background still needs erasing.
    paint->fErase = SendTo(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  if (paint->hdc != nullptr) ReleaseWindowDC(paint->hdc);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND handle) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign) return FALSE;
  PaintNow(handle);
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL erase) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign) return FALSE;
  if (rect != nullptr) *rect = window->invalid ? window->invalidRect : RECT{};
  return window->invalid ? TRUE : FALSE;
}
