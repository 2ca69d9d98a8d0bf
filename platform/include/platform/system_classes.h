// Window classes the layer itself provides ("LISTBOX" and the like). They are
// found by CreateWindowExA for any instance, after the program's own classes.
#pragma once

#include "win32/types.h"

namespace platform {

// Registers (or replaces) a system class; `extraBytes` is the window extra
// size its procedure keeps through GetWindowLongPtrA. Returns false for a
// null name or procedure.
bool RegisterSystemClass(const char* name, WNDPROC proc, UINT style, int extraBytes = 0);

// The built-in classes, registered by the class table before its first lookup.
bool RegisterListBoxClass();

}  // namespace platform
