// Where a device context's drawing lands. A memory context draws into its
// bitmap; a window context into its window's area of the top-level backing
// store, clipped to what of the window is visible; the screen context into
// every shown top-level window, at the window's place on the screen. Every
// drawing call goes through DrawInto, which clips and, for windows, tells
// the window system what changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device_context.h"

namespace platform::gdi {

struct Target {
  uint32_t* top = nullptr;   // first pixel of the top row
  ptrdiff_t rowStep = 0;     // pixels from one row to the one below it
  RECT clip{};               // target pixels that may change
  int dx = 0, dy = 0;        // target = device context coordinates + (dx, dy)
  HWND owner = nullptr;      // the window whose store this is, else null

  uint32_t& At(int x, int y) const { return top[y * rowStep + x]; }
};

// The targets of `dc` (none for a stale window).
std::vector<Target> ResolveTargets(const Dc& dc);

// The window-relative part: filled by the window system glue.
void ResolveWindowTargets(const Dc& dc, std::vector<Target>* targets);

// Tells the window system that `rect` of a window target changed.
void MarkTargetChanged(const Target& target, const RECT& rect);

// The clip box of `dc` in its own coordinates; false when nothing is visible.
bool DcClipBox(const Dc& dc, RECT* box);

bool Intersect(const RECT& a, const RECT& b, RECT* out);

// Calls paint(target, rect) for each target with the part of `area` (device
// context coordinates) that may change there, in target coordinates, then
// marks it changed. Returns false when the context is stale.
template <class Paint>
void DrawInto(const Dc& dc, const RECT& area, Paint&& paint) {
  for (const Target& target : ResolveTargets(dc)) {
    RECT moved{area.left + target.dx, area.top + target.dy, area.right + target.dx,
               area.bottom + target.dy};
    RECT visible;
    if (!Intersect(moved, target.clip, &visible)) continue;
    paint(target, visible);
    MarkTargetChanged(target, visible);
  }
}

}  // namespace platform::gdi
