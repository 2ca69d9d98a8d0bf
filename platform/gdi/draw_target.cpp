#include "draw_target.h"

#include <algorithm>

#include "gdi_objects.h"

namespace platform::gdi {

bool Intersect(const RECT& a, const RECT& b, RECT* out) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) {
    *out = RECT{0, 0, 0, 0};
    return false;
  }
  *out = r;
  return true;
}

std::vector<Target> ResolveTargets(const Dc& dc) {
  std::vector<Target> targets;
  if (dc.kind != DcKind::kMemory) {
    ResolveWindowTargets(dc, &targets);
    return targets;
  }
  Object* object = FindObject(dc.bitmap, OBJ_BITMAP);
  if (object == nullptr || object->bitmap.bits == nullptr) return targets;
  const Bitmap& b = object->bitmap;
  Target t;
  if (b.topDown) {
    t.top = b.bits;
    t.rowStep = b.width;
  } else {
    t.top = b.bits + static_cast<ptrdiff_t>(b.height - 1) * b.width;
    t.rowStep = -static_cast<ptrdiff_t>(b.width);
  }
  t.clip = RECT{0, 0, b.width, b.height};
  targets.push_back(t);
  return targets;
}

bool DcClipBox(const Dc& dc, RECT* box) {
  if (dc.kind == DcKind::kScreen) {
    int width = 0, height = 0;
    ScreenSize(&width, &height);
    *box = RECT{0, 0, width, height};
    return width > 0 && height > 0;
  }
  std::vector<Target> targets = ResolveTargets(dc);
  if (targets.empty()) {
    *box = RECT{0, 0, 0, 0};
    return false;
  }
  const Target& t = targets.front();
  *box = RECT{t.clip.left - t.dx, t.clip.top - t.dy, t.clip.right - t.dx, t.clip.bottom - t.dy};
  return box->left < box->right && box->top < box->bottom;
}

}  // namespace platform::gdi

int GetClipBox(HDC handle, LPRECT rect) {
  platform::gdi::Dc* dc = platform::gdi::FindDc(handle);
  if (dc == nullptr || rect == nullptr) return ERROR;
  return platform::gdi::DcClipBox(*dc, rect) ? SIMPLEREGION : NULLREGION;
}
