// Backing stores and composition. A window whose parent is null (or another
// program's window) has a store of its own; its descendants draw into it at
// their offsets. The backend is told when a store is shown, moved, hidden or
// changed; the screen is composed from the stores, bottom window first.
#include <algorithm>

#include "platform/backend.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

RECT StoreBounds(const Window* root) { return RECT{0, 0, root->surface.width, root->surface.height}; }

// Where a window's client area sits in its root's store.
RECT StoreRectOf(Window* window, Window* root) {
  LONG x = 0, y = 0;
  for (Window* at = window; at != nullptr && at != root; at = FindWindowRecord(at->parent)) {
    x += at->rect.left;
    y += at->rect.top;
  }
  return RECT{x, y, x + (window->rect.right - window->rect.left), y + (window->rect.bottom - window->rect.top)};
}

uint64_t HostIdOf(const Window* root) {
  Window* parent = FindWindowRecord(root->parent);
  return parent != nullptr && parent->foreign ? (parent->nativeId != 0 ? parent->nativeId : 0) : 0;
}

// The part of the screen a root's store shows: its rectangle, inside its
// host's rectangle for a window placed in another program's window.
RECT VisibleScreenRect(const Window* root) {
  RECT screen = ScreenRectOf(root);
  if (Window* host = FindWindowRecord(root->parent)) IntersectRect(&screen, &screen, &host->rect);
  return screen;
}

}  // namespace

void EnsureStore(Window* root) {
  int width = std::max<LONG>(0, root->rect.right - root->rect.left);
  int height = std::max<LONG>(0, root->rect.bottom - root->rect.top);
  if (root->surface.width == width && root->surface.height == height && root->surface.pixels != nullptr) {
    return;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height + 1, 0xFF000000u);
  // What was drawn stays where it was, as far as the new size holds it.
  for (int y = 0; y < std::min(height, root->surface.height); ++y) {
    std::copy_n(root->pixels.begin() + static_cast<size_t>(y) * root->surface.stride,
                std::min(width, root->surface.width), pixels.begin() + static_cast<size_t>(y) * width);
  }
  root->pixels = std::move(pixels);
  root->surface = Surface{width, height, width, root->pixels.data()};
}

void SyncRootWithBackend(Window* window) {
  if (!IsStoreRoot(window)) return;
  bool shown = IsShownChain(window) && !window->destroying;
  if (shown) {
    CurrentBackend().ShowRoot(window->handle, ScreenRectOf(window), HostIdOf(window),
                              (window->exStyle & WS_EX_TOPMOST) != 0);
    window->rootShown = true;
    CurrentBackend().Present(window->handle, StoreBounds(window));
  } else if (window->rootShown) {
    window->rootShown = false;
    CurrentBackend().HideRoot(window->handle);
  }
}

void ForgetRoot(Window* window) {
  if (window->rootShown) {
    window->rootShown = false;
    CurrentBackend().HideRoot(window->handle);
  }
  UnstackRoot(window->handle);
}

bool GetWindowCanvas(HWND handle, WindowCanvas* canvas) {
  Window* window = FindWindowRecord(handle);
  if (window == nullptr || window->foreign || canvas == nullptr) return false;
  Window* root = StoreRootOf(window);
  if (root == nullptr || root->surface.pixels == nullptr) return false;
  canvas->surface = &root->surface;
  canvas->client = StoreRectOf(window, root);
  RECT clip = canvas->client;
  RECT bounds = StoreBounds(root);
  IntersectRect(&clip, &clip, &bounds);
  for (Window* at = window == root ? nullptr : FindWindowRecord(window->parent); at != nullptr && at != root;
       at = FindWindowRecord(at->parent)) {
    RECT area = StoreRectOf(at, root);
    IntersectRect(&clip, &clip, &area);
  }
  canvas->clip = clip;
  canvas->screen = ScreenRectOf(window);
  return true;
}

void MarkCanvasChanged(HWND handle, const RECT& rect) {
  Window* root = StoreRootOf(FindWindowRecord(handle));
  if (root == nullptr || !root->rootShown) return;
  RECT changed;
  RECT bounds = StoreBounds(root);
  if (!IntersectRect(&changed, &rect, &bounds)) return;
  CurrentBackend().Present(root->handle, changed);
}

int ListShownTopLevelWindows(HWND* windows, int capacity) {
  int count = 0;
  for (HWND handle : StackedRoots()) {
    Window* root = FindWindowRecord(handle);
    if (root == nullptr || !root->rootShown) continue;
    if (windows != nullptr && count < capacity) windows[count] = handle;
    ++count;
  }
  return count;
}

void ComposeScreen(Surface* out) {
  if (out == nullptr || out->pixels == nullptr) return;
  for (int y = 0; y < out->height; ++y) {
    std::fill_n(out->pixels + static_cast<size_t>(y) * out->stride, out->width, 0xFF000000u);
  }
  RECT screen{0, 0, out->width, out->height};
  for (HWND handle : StackedRoots()) {
    Window* root = FindWindowRecord(handle);
    if (root == nullptr || !root->rootShown) continue;
    RECT at = ScreenRectOf(root);
    RECT shown = VisibleScreenRect(root);
    if (!IntersectRect(&shown, &shown, &screen)) continue;
    for (LONG y = shown.top; y < shown.bottom; ++y) {
      const uint32_t* from = root->surface.pixels + static_cast<size_t>(y - at.top) * root->surface.stride;
      uint32_t* to = out->pixels + static_cast<size_t>(y) * out->stride;
      for (LONG x = shown.left; x < shown.right; ++x) to[x] = from[x - at.left] | 0xFF000000u;
    }
  }
}

uint32_t ScreenPixel(int x, int y) {
  POINT point{x, y};
  std::vector<HWND> roots = StackedRoots();
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    Window* root = FindWindowRecord(*it);
    if (root == nullptr || !root->rootShown) continue;
    RECT shown = VisibleScreenRect(root);
    if (!PtInRect(&shown, point)) continue;
    RECT at = ScreenRectOf(root);
    return root->surface.pixels[static_cast<size_t>(y - at.top) * root->surface.stride + (x - at.left)] &
           0x00FFFFFFu;
  }
  return 0;
}

HWND CreateForeignWindow(const RECT& screen, uint64_t nativeId) {
  auto window = std::make_unique<Window>();
  window->foreign = true;
  window->nativeId = nativeId;
  window->rect = screen;
  window->style = WS_VISIBLE;
  window->created = true;
  return AddWindowRecord(std::move(window))->handle;
}

}  // namespace platform
