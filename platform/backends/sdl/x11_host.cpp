// X11 windows of other programs: the preview host a screen-saver manager
// passes by its id.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <strings.h>
#include <unistd.h>

#include <mutex>
#include <string>

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

namespace {

// The tag: class name, a NUL, the title.
constexpr const char* kTagProperty = "_GLIMMERKIT_WINDOW";

bool ReadTag(Display* display, ::Window window, std::string* tag, long* pid) {
  Atom tagAtom = XInternAtom(display, kTagProperty, False);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, tagAtom, 0, 1024, False, XA_STRING, &type, &format, &count,
                         &after, &data) != Success || data == nullptr) {
    return false;
  }
  tag->assign(reinterpret_cast<char*>(data), count);
  XFree(data);
  *pid = 0;
  Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success && data != nullptr) {
    if (count == 1) *pid = *reinterpret_cast<long*>(data);
    XFree(data);
  }
  return true;
}

}  // namespace

void X11TagWindow(SDL_Window* window, const char* className, const char* title) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  std::string tag = std::string(className) + '\0' + title;
  Atom tagAtom = XInternAtom(info.info.x11.display, kTagProperty, False);
  XChangeProperty(info.info.x11.display, info.info.x11.window, tagAtom, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(tag.data()), static_cast<int>(tag.size()));
  XFlush(info.info.x11.display);
}

uint64_t X11FindTaggedWindow(const char* className, const char* title) {
  Display* display = OwnDisplay();
  if (display == nullptr) return 0;
  InstallX11ErrorHandler();
  ::Window root = DefaultRootWindow(display), parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
  uint64_t found = 0;
  // Top-level windows, and one level below them for a window manager's frames.
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    ::Window candidates[64];
    unsigned int candidateCount = 0;
    candidates[candidateCount++] = children[i];
    ::Window unusedRoot, unusedParent, *inner = nullptr;
    unsigned int innerCount = 0;
    if (XQueryTree(display, children[i], &unusedRoot, &unusedParent, &inner, &innerCount) && inner) {
      for (unsigned int j = 0; j < innerCount && candidateCount < 64; ++j) candidates[candidateCount++] = inner[j];
      XFree(inner);
    }
    for (unsigned int j = 0; j < candidateCount && found == 0; ++j) {
      std::string tag;
      long pid = 0;
      if (!ReadTag(display, candidates[j], &tag, &pid) || pid == getpid()) continue;
      size_t split = tag.find('\0');
      if (split == std::string::npos) continue;
      if (className != nullptr && strcasecmp(tag.substr(0, split).c_str(), className) != 0) continue;
      if (title != nullptr && tag.substr(split + 1) != title) continue;
      found = candidates[j];
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool X11RaiseWindow(uint64_t id) {
  Display* display = OwnDisplay();
  if (display == nullptr) return false;
  InstallX11ErrorHandler();
  ::Window window = static_cast<::Window>(id);
  XRaiseWindow(display, window);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  // A window manager decides focus itself; ask it as a pager would.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;  // from a pager: honoured without a timestamp check
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
  return true;
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
