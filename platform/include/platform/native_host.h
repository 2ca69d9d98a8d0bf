// A native window of another program as a parent (the preview host that a
// screen-saver manager passes by its window id).
#pragma once

#include <cstdint>

#include "win32/types.h"

namespace platform {

// The window handle standing for native window `id`, made on first use;
// null when the backend knows no such window. On the sdl backend the id is
// an X11 window id; IsWindow also accepts such an id directly.
HWND AdoptNativeWindow(uint64_t id);

}  // namespace platform
