// Device contexts: a memory context drawing into its selected bitmap, a
// window context drawing into the window's area of its top-level backing
// store, and the screen context drawing onto every top-level window that
// covers the screen pixels it touches.
#pragma once

#include "win32/gdi.h"

namespace platform::gdi {

enum class DcKind { kMemory, kWindow, kScreen };

struct Dc {
  DcKind kind = DcKind::kMemory;
  HWND window = nullptr;  // the window of a window context
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ palette = nullptr;
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
  bool paletteBackground = false;  // the palette was selected for the background
  int pixelFormat = 0;  // a memory context's; a window's lives with the window
};

// The context behind `handle`, or null when it is stale.
Dc* FindDc(HDC handle);

HDC AddDc(DcKind kind, HWND window);
bool RemoveDc(HDC handle);

// The screen's size in pixels.
void ScreenSize(int* width, int* height);

}  // namespace platform::gdi
