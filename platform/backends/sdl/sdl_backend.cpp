// The sdl backend: real windows on X11 or Wayland through SDL2.
//
// Each shown store root is an SDL window: borderless, covering the display
// when its rectangle is the whole screen, above others when topmost. A root
// placed in another program's window (a preview host given by its X11 id)
// draws into that window, which SDL adopts but which stays the host's: we
// watch it for exposure and destruction only. Presenting copies the changed
// rows of the store into the window surface. Native input and focus go
// through the same injection calls that tests use.
//
// Waiting: SDL_WaitEventTimeout while there is an SDL window, capped so that
// SDL's delayed focus-out handling (it confirms a focus loss a moment later)
// is seen promptly; a condition variable while there is none, as nothing
// native can arrive then. Wake does both, from any thread.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>

#include "../wake_signal.h"
#include "platform/backend.h"
#include "platform/testing.h"
#include "platform/window_canvas.h"
#include "sdl_parts.h"
#include "win32.h"

namespace platform {
namespace {

// Longest single wait on SDL, so a confirmed focus loss is not held back.
constexpr int kLongestWaitMs = 250;

struct Root {
  SDL_Window* window = nullptr;  // ours, or the host's adopted window
  uint64_t host = 0;             // native host id, 0 for a window of our own
  RECT screen{};                 // where the store sits on the screen
};

class SdlBackend : public Backend {
 public:
  bool Start() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Window surfaces in plain memory: an accelerated one makes a GLX context
    // current on this thread, and then OpenGL through EGL (wgl) cannot be.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A screen-saver manager ends its hack with SIGTERM: let it end us.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Window surfaces as plain X images: SDL would otherwise put an OpenGL
    // renderer behind them and recreate the window (a new native id) for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    x11_ = std::strcmp(driver, "x11") == 0;
    if (x11_) sdl::InstallX11ErrorHandler();
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) == 0) {
      width_ = bounds.w;
      height_ = bounds.h;
    }
    return true;
  }

  const char* Name() const override { return "sdl"; }

  void ScreenSize(int* width, int* height) override {
    *width = width_;
    *height = height_;
  }

  void ShowRoot(HWND root, const RECT& screen, uint64_t host, bool topmost) override {
    Root& r = roots_[root];
    r.screen = screen;
    int w = std::max<LONG>(1, screen.right - screen.left), h = std::max<LONG>(1, screen.bottom - screen.top);
    if (host != 0) {
      r.host = host;
      r.window = HostWindow(host);
      return;
    }
    if (r.window == nullptr) {
      char title[256] = "";
      GetWindowTextA(root, title, sizeof title);
      bool covers = screen.left == 0 && screen.top == 0 && w == width_ && h == height_;
      DWORD style = static_cast<DWORD>(GetWindowLongA(root, GWL_STYLE));
      Uint32 flags = SDL_WINDOW_HIDDEN;
      if ((style & WS_CAPTION) != WS_CAPTION || covers) flags |= SDL_WINDOW_BORDERLESS;
      if (covers) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
      if (topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
      r.window = SDL_CreateWindow(title, screen.left, screen.top, w, h, flags);
      if (r.window == nullptr) return;
      windowRoots_[SDL_GetWindowID(r.window)] = root;
      if (x11_) {
        char className[256] = "";
        GetClassNameA(root, className, sizeof className);
        sdl::X11TagWindow(r.window, className, title);
      }
    } else {
      SDL_SetWindowPosition(r.window, screen.left, screen.top);
      SDL_SetWindowSize(r.window, w, h);
    }
    SDL_ShowWindow(r.window);
  }

  void HideRoot(HWND root) override {
    auto it = roots_.find(root);
    if (it == roots_.end()) return;
    if (it->second.host == 0 && it->second.window != nullptr) {
      windowRoots_.erase(SDL_GetWindowID(it->second.window));
      SDL_DestroyWindow(it->second.window);
    }
    roots_.erase(it);
  }

  void Present(HWND root, const RECT& changed) override {
    auto it = roots_.find(root);
    if (it == roots_.end() || it->second.window == nullptr) return;
    WindowCanvas canvas;
    if (!GetWindowCanvas(root, &canvas)) return;
    Root& r = it->second;
    SDL_Surface* target = SDL_GetWindowSurface(r.window);
    if (target == nullptr) return;
    // Where the store's origin falls on the target window.
    int offsetX = 0, offsetY = 0;
    if (r.host != 0) {
      RECT host{};
      if (sdl::X11WindowScreenRect(r.host, &host)) {
        offsetX = r.screen.left - host.left;
        offsetY = r.screen.top - host.top;
      }
    }
    SDL_Rect area{changed.left + offsetX, changed.top + offsetY, changed.right - changed.left,
                  changed.bottom - changed.top};
    SDL_Rect whole{0, 0, target->w, target->h};
    SDL_Rect shown;
    if (!SDL_IntersectRect(&area, &whole, &shown)) return;
    const Surface& store = *canvas.surface;
    const uint32_t* from = store.pixels + static_cast<size_t>(shown.y - offsetY) * store.stride + (shown.x - offsetX);
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    auto* to = static_cast<uint8_t*>(target->pixels) + static_cast<size_t>(shown.y) * target->pitch +
               static_cast<size_t>(shown.x) * target->format->BytesPerPixel;
    SDL_ConvertPixels(shown.w, shown.h, SDL_PIXELFORMAT_ARGB8888, from, store.stride * 4,
                      target->format->format, to, target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_UpdateWindowSurfaceRects(r.window, &shown, 1);
  }

  void Raise(HWND root) override {
    auto it = roots_.find(root);
    if (it == roots_.end() || it->second.window == nullptr || it->second.host != 0) return;
    SDL_RaiseWindow(it->second.window);
    SDL_SetWindowInputFocus(it->second.window);
  }

  void SetCursorShown(bool shown) override { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

  // SDL's global mouse state is cached between its own events on X11, so
  // X11 asks the server; elsewhere the last reported position stands.
  bool QueryCursorPos(POINT* point) override { return x11_ && sdl::X11PointerPosition(point); }

  void WarpCursor(int x, int y) override { SDL_WarpMouseGlobal(x, y); }

  bool NativeWindowRect(uint64_t id, RECT* screen) override {
    return x11_ && sdl::X11WindowScreenRect(id, screen);
  }

  uint64_t FindNativeWindow(const char* className, const char* title) override {
    return x11_ ? sdl::X11FindTaggedWindow(className, title) : 0;
  }

  bool RaiseNative(uint64_t id) override { return x11_ && sdl::X11RaiseWindow(id); }

  void PumpEvents() override {
    SDL_Event event;
    focusLost_ = false;
    while (SDL_PollEvent(&event)) Handle(event);
    // Focus moving from one of our windows to another arrives as a loss and
    // a gain together; only a loss that no gain follows leaves the program.
    if (focusLost_) InjectFocus(nullptr);
    focusLost_ = false;
  }

  void WaitEvents(int64_t timeoutMs) override {
    if (roots_.empty() && hosts_.empty()) {
      wakeSignal_.Wait(timeoutMs);
      return;
    }
    wakeSignal_.Clear();
    int limit = timeoutMs < 0 ? kLongestWaitMs : static_cast<int>(std::min<int64_t>(timeoutMs, kLongestWaitMs));
    SDL_WaitEventTimeout(nullptr, limit);
  }

  void Wake() override {
    wakeSignal_.Wake();
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
  }

 private:
  SDL_Window* HostWindow(uint64_t id) {
    auto it = hosts_.find(id);
    if (it != hosts_.end()) return it->second;
    SDL_Window* window = SDL_CreateWindowFrom(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
    if (window != nullptr) sdl::WatchHostWindow(window);
    hosts_[id] = window;
    return window;
  }

  HWND RootOf(Uint32 windowId) {
    auto it = windowRoots_.find(windowId);
    return it == windowRoots_.end() ? nullptr : it->second;
  }

  POINT ToScreen(Uint32 windowId, int x, int y) {
    auto it = roots_.find(RootOf(windowId));
    if (it == roots_.end()) return POINT{x, y};
    return POINT{it->second.screen.left + x, it->second.screen.top + y};
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_MOUSEMOTION: {
        POINT at = ToScreen(event.motion.windowID, event.motion.x, event.motion.y);
        InjectMouseMove(at.x, at.y);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        MouseButton button = event.button.button == SDL_BUTTON_RIGHT    ? MouseButton::kRight
                             : event.button.button == SDL_BUTTON_MIDDLE ? MouseButton::kMiddle
                                                                        : MouseButton::kLeft;
        if (event.button.button > SDL_BUTTON_RIGHT) break;  // side buttons: none in the engine
        POINT at = ToScreen(event.button.windowID, event.button.x, event.button.y);
        InjectMouseButton(button, event.type == SDL_MOUSEBUTTONDOWN, at.x, at.y);
        break;
      }
      case SDL_MOUSEWHEEL:
        InjectMouseWheel(event.wheel.y * 120);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (UINT key = sdl::VirtualKeyFor(event.key.keysym)) {
          InjectKey(key, event.type == SDL_KEYDOWN, static_cast<UINT>(event.key.keysym.scancode));
        }
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
      case SDL_SYSWMEVENT:
        for (auto& [root, r] : roots_) {
          if (r.host != 0 && sdl::IsX11DestroyOf(event, r.host)) {
            // The host took our window with it, as the platform destroys a
            // child with its parent.
            HWND gone = root;
            hosts_.erase(r.host);
            DestroyWindow(gone);
            break;
          }
        }
        break;
      default:
        break;
    }
  }

  void HandleWindowEvent(const SDL_WindowEvent& event) {
    HWND root = RootOf(event.windowID);
    switch (event.event) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (root != nullptr) {
          focusLost_ = false;
          InjectFocus(root);
        }
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        if (root != nullptr) focusLost_ = true;
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        for (auto& [handle, r] : roots_) {
          if (r.window != nullptr && SDL_GetWindowID(r.window) == event.windowID) {
            Present(handle, RECT{0, 0, r.screen.right - r.screen.left, r.screen.bottom - r.screen.top});
          }
        }
        break;
      case SDL_WINDOWEVENT_CLOSE:
        if (root != nullptr) PostMessageA(root, WM_CLOSE, 0, 0);
        break;
      default:
        break;
    }
  }

  bool x11_ = false;
  bool focusLost_ = false;
  int width_ = 1024;
  int height_ = 768;
  Uint32 wakeEvent_ = 0;
  std::map<HWND, Root> roots_;
  std::map<Uint32, HWND> windowRoots_;
  std::map<uint64_t, SDL_Window*> hosts_;
  WakeSignal wakeSignal_;
};

}  // namespace

Backend* CreateSdlBackend() {
  auto* backend = new SdlBackend;
  if (backend->Start()) return backend;
  delete backend;
  return nullptr;
}

}  // namespace platform
