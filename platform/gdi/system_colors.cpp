// System colours: the classic grey scheme the dialogs were drawn for, and the
// brushes of those colours.
#include "gdi_objects.h"

namespace {

constexpr int kColorCount = COLOR_INFOBK + 1;

const COLORREF kSystemColors[kColorCount] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
};

}  // namespace

DWORD GetSysColor(int index) {
  return index >= 0 && index < kColorCount ? kSystemColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kColorCount) return nullptr;
  // One brush per colour, made on first use and kept as a stock object.
  static HBRUSH brushes[kColorCount] = {};
  if (brushes[index] == nullptr) {
    platform::gdi::Object o;
    o.type = OBJ_BRUSH;
    o.stock = true;
    o.color = kSystemColors[index];
    brushes[index] = reinterpret_cast<HBRUSH>(platform::gdi::AddObject(std::move(o)));
  }
  return brushes[index];
}

namespace platform::gdi {

bool BrushColor(HBRUSH brush, COLORREF* color) {
  // A class background may name a system colour as its index plus one.
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= static_cast<uintptr_t>(kColorCount) &&
      FindObject(brush, OBJ_BRUSH) == nullptr) {
    *color = kSystemColors[value - 1];
    return true;
  }
  Object* object = FindObject(brush, OBJ_BRUSH);
  if (object == nullptr || object->hollow) return false;
  *color = object->color;
  return true;
}

}  // namespace platform::gdi
