// Pictures of what the layer shows, as PNG files, for people and tests.
#pragma once

#include "win32/types.h"

namespace platform {

// Writes the whole screen (window null: every shown top-level window over
// black) or one window's client area to a PNG file (8-bit RGB). False when
// the window is stale or the file cannot be written.
bool WriteSnapshotPng(const char* path, HWND window);

// GLIMMER_SNAPSHOT="MS:path.png[,MS:path.png...]": writes a screen snapshot
// MS milliseconds (on the layer's clock) after the program first draws into
// a window. Called by the drawing services when that happens; later calls
// do nothing. Returns how many snapshots were scheduled.
int StartConfiguredSnapshots();

}  // namespace platform
