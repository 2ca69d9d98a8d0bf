// Rectangle helpers. A rectangle is empty when it has no area.
#include <algorithm>

#include "win32.h"

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (rect == nullptr) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL WINAPI IsRectEmpty(const RECT* rect) {
  return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL WINAPI CopyRect(LPRECT dst, const RECT* src) {
  if (dst == nullptr || src == nullptr) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
  if (rect == nullptr) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
  if (rect == nullptr) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
  return rect != nullptr && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}

BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (dst == nullptr || a == nullptr || b == nullptr) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *dst = RECT{};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL WINAPI UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (dst == nullptr || a == nullptr || b == nullptr) return FALSE;
  if (IsRectEmpty(a)) {
    *dst = IsRectEmpty(b) ? RECT{} : *b;
  } else if (IsRectEmpty(b)) {
    *dst = *a;
  } else {
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  }
  return IsRectEmpty(dst) ? FALSE : TRUE;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top &&
         a->right == b->right && a->bottom == b->bottom;
}
