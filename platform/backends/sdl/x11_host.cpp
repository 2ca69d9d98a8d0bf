// X11 windows of other programs: the preview host a screen-saver manager
// passes by its id.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <mutex>

#include "sdl_parts.h"

namespace platform::sdl {
namespace {

int (*previousHandler)(Display*, XErrorEvent*) = nullptr;

int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
  // A host window can disappear at any moment; requests on it then fail.
  if (error->error_code == BadWindow || error->error_code == BadDrawable ||
      error->error_code == BadMatch) {
    return 0;
  }
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

Display* OwnDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

}  // namespace

void InstallX11ErrorHandler() {
  static std::once_flag once;
  std::call_once(once, [] { previousHandler = XSetErrorHandler(IgnoreVanishedWindows); });
}

bool X11WindowScreenRect(uint64_t id, RECT* screen) {
  Display* display = OwnDisplay();
  if (display == nullptr || id == 0 || id > 0xFFFFFFFFu) return false;
  InstallX11ErrorHandler();
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, static_cast<Window>(id), &attributes) == 0) return false;
  int x = 0, y = 0;
  ::Window child;
  XTranslateCoordinates(display, static_cast<Window>(id), attributes.root, 0, 0, &x, &y, &child);
  *screen = RECT{x, y, x + attributes.width, y + attributes.height};
  return true;
}

bool X11PointerPosition(POINT* point) {
  Display* display = OwnDisplay();
  if (display == nullptr) return false;
  ::Window root, child;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask)) {
    return false;
  }
  *point = POINT{rootX, rootY};
  return true;
}

void WatchHostWindow(SDL_Window* host) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(host, &info) || info.subsystem != SDL_SYSWM_X11) return;
  XSelectInput(info.info.x11.display, info.info.x11.window, StructureNotifyMask | ExposureMask);
  XFlush(info.info.x11.display);
}

bool IsX11DestroyOf(const SDL_Event& event, uint64_t id) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
      event.syswm.msg->subsystem != SDL_SYSWM_X11) {
    return false;
  }
  const XEvent& x = event.syswm.msg->msg.x11.event;
  return x.type == DestroyNotify && x.xdestroywindow.window == static_cast<Window>(id);
}

}  // namespace platform::sdl
