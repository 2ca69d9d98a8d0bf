// Window classes: the program's own (RegisterClassA) and the layer's system
// classes. A program class is known by name and instance; lookups take the
// program's class first, then a system class of that name.
#include <strings.h>

#include <vector>

#include "platform/system_classes.h"
#include "window_system.h"

namespace platform {
namespace {

struct ClassTable {
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC001;
};

ClassTable& Classes() {
  static ClassTable* table = new ClassTable;
  return *table;
}

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// The layer's own classes exist before the program's first lookup. A plain
// flag, not a guarded static: registering goes through Classes() again.
void RegisterBuiltInClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterListBoxClass();
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(const char* name, HINSTANCE instance) {
  if (name == nullptr || IS_INTRESOURCE(name)) return nullptr;
  RegisterBuiltInClasses();
  std::shared_ptr<WindowClass> system;
  for (auto& cls : Classes().classes) {
    if (!SameName(cls->name, name)) continue;
    if (cls->system) {
      system = cls;
    } else if (cls->instance == instance || instance == nullptr || cls->instance == nullptr ||
               (cls->style & CS_GLOBALCLASS) != 0) {
      return cls;
    }
  }
  return system;
}

bool RegisterSystemClass(const char* name, WNDPROC proc, UINT style, int extraBytes) {
  if (name == nullptr || proc == nullptr) return false;
  RegisterBuiltInClasses();  // a class registered here replaces a built-in one
  auto& classes = Classes().classes;
  for (auto& cls : classes) {
    if (cls->system && SameName(cls->name, name)) {
      cls->proc = proc;
      cls->style = style;
      cls->windowExtra = extraBytes;
      return true;
    }
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = name;
  cls->proc = proc;
  cls->style = style;
  cls->windowExtra = extraBytes;
  cls->system = true;
  classes.push_back(cls);
  return true;
}

}  // namespace platform

using platform::Classes;
using platform::WindowClass;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
  if (wndClass == nullptr || wndClass->lpfnWndProc == nullptr ||
      wndClass->lpszClassName == nullptr || IS_INTRESOURCE(wndClass->lpszClassName) ||
      wndClass->lpszClassName[0] == '\0' || wndClass->cbWndExtra < 0 || wndClass->cbClsExtra < 0) {
    return 0;
  }
  // The same name twice for one instance is refused, as the platform does.
  for (auto& cls : Classes().classes) {
    if (!cls->system && strcasecmp(cls->name.c_str(), wndClass->lpszClassName) == 0 &&
        cls->instance == wndClass->hInstance) {
      return 0;
    }
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = wndClass->lpszClassName;
  cls->style = wndClass->style;
  cls->proc = wndClass->lpfnWndProc;
  cls->classExtra = wndClass->cbClsExtra;
  cls->windowExtra = wndClass->cbWndExtra;
  cls->instance = wndClass->hInstance;
  cls->icon = wndClass->hIcon;
  cls->cursor = wndClass->hCursor;
  cls->background = wndClass->hbrBackground;
  Classes().classes.push_back(cls);
  return Classes().nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
  if (className == nullptr || IS_INTRESOURCE(className)) return FALSE;
  auto& classes = Classes().classes;
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (!(*it)->system && strcasecmp((*it)->name.c_str(), className) == 0 &&
        (*it)->instance == instance) {
      // Windows of the class keep their shared record until they go.
      classes.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass) {
  std::shared_ptr<WindowClass> cls = platform::FindClass(className, instance);
  if (cls == nullptr || wndClass == nullptr) return FALSE;
  wndClass->style = cls->style;
  wndClass->lpfnWndProc = cls->proc;
  wndClass->cbClsExtra = cls->classExtra;
  wndClass->cbWndExtra = cls->windowExtra;
  wndClass->hInstance = cls->instance;
  wndClass->hIcon = cls->icon;
  wndClass->hCursor = cls->cursor;
  wndClass->hbrBackground = cls->background;
  wndClass->lpszMenuName = nullptr;
  wndClass->lpszClassName = className;
  return TRUE;
}
