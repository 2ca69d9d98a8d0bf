#include "gdi_objects.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace platform::gdi {

// Stock objects live at kStockBase + index, clear of the small numbers a
// class brush uses for a system colour (index + 1); created objects count up
// from kFirstHandle and are never reused, so a stale handle stays stale.
constexpr uintptr_t kStockBase = 0x80;
constexpr uintptr_t kStockCount = DEFAULT_GUI_FONT + 1;
constexpr uintptr_t kFirstHandle = 0x100;

namespace {

std::unordered_map<uintptr_t, Object>& Table() {
  static std::unordered_map<uintptr_t, Object> table;
  return table;
}
uintptr_t nextHandle = kFirstHandle;

LOGFONTA StockFont(int which) {
  LOGFONTA font{};
  if (which == DEFAULT_GUI_FONT || which == ANSI_VAR_FONT) {
    // The dialog font: "MS Sans Serif" at 8 points, 96 pixels an inch.
    font.lfHeight = -11;
    font.lfWeight = FW_NORMAL;
    std::strcpy(font.lfFaceName, "MS Sans Serif");
  } else {
    // The system font: bold sans, 16 pixels from the top of the line to the
    // bottom.
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "System");
  }
  return font;
}

bool MakeStock(uintptr_t index, Object* out) {
  Object o;
  o.stock = true;
  switch (index) {
    case WHITE_BRUSH: o.type = OBJ_BRUSH; o.color = RGB(255, 255, 255); break;
    case LTGRAY_BRUSH: o.type = OBJ_BRUSH; o.color = RGB(192, 192, 192); break;
    case GRAY_BRUSH: o.type = OBJ_BRUSH; o.color = RGB(128, 128, 128); break;
    case DKGRAY_BRUSH: o.type = OBJ_BRUSH; o.color = RGB(64, 64, 64); break;
    case BLACK_BRUSH: o.type = OBJ_BRUSH; o.color = RGB(0, 0, 0); break;
    case NULL_BRUSH: o.type = OBJ_BRUSH; o.hollow = true; break;
    case WHITE_PEN: o.type = OBJ_PEN; o.color = RGB(255, 255, 255); break;
    case BLACK_PEN: o.type = OBJ_PEN; o.color = RGB(0, 0, 0); break;
    case NULL_PEN: o.type = OBJ_PEN; o.hollow = true; break;
    case OEM_FIXED_FONT: case ANSI_FIXED_FONT: case ANSI_VAR_FONT: case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: case SYSTEM_FIXED_FONT: case DEFAULT_GUI_FONT:
      o.type = OBJ_FONT;
      o.font = StockFont(static_cast<int>(index));
      break;
    case DEFAULT_PALETTE: {
      // The twenty colours every palette reserves.
      static const BYTE kColors[20][3] = {
          {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128},
          {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
          {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},
          {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
      o.type = OBJ_PAL;
      for (const auto& c : kColors) o.palette.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
      break;
    }
    default:
      return false;
  }
  *out = std::move(o);
  return true;
}

// The bitmap every new memory device context starts with: one black pixel.
uint32_t stockPixel = 0;

}  // namespace

Object* FindObject(HGDIOBJ handle, DWORD type) {
  uintptr_t key = reinterpret_cast<uintptr_t>(handle);
  auto& table = Table();
  auto found = table.find(key);
  if (found == table.end()) {
    Object stock;
    if (key < kStockBase || key >= kStockBase + kStockCount || !MakeStock(key - kStockBase, &stock))
      return nullptr;
    found = table.emplace(key, std::move(stock)).first;
  }
  if (type != 0 && found->second.type != type) return nullptr;
  return &found->second;
}

HGDIOBJ AddObject(Object object) {
  uintptr_t key = nextHandle++;
  Table().emplace(key, std::move(object));
  return reinterpret_cast<HGDIOBJ>(key);
}

HGDIOBJ StockBitmap() {
  // Kept outside the stock indices of GetStockObject, as the platform does.
  static HGDIOBJ handle = [] {
    Object o;
    o.type = OBJ_BITMAP;
    o.stock = true;
    o.bitmap = Bitmap{1, 1, true, &stockPixel};
    return AddObject(std::move(o));
  }();
  return handle;
}

bool RemoveObject(HGDIOBJ handle) {
  uintptr_t key = reinterpret_cast<uintptr_t>(handle);
  auto& table = Table();
  auto found = table.find(key);
  if (found == table.end()) return false;
  if (found->second.type == OBJ_BITMAP) std::free(found->second.bitmap.bits);
  table.erase(found);
  return true;
}

}  // namespace platform::gdi

using platform::gdi::FindObject;
using platform::gdi::Object;

HGDIOBJ GetStockObject(int which) {
  if (which < 0) return nullptr;
  HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(platform::gdi::kStockBase + which);
  return FindObject(handle) != nullptr ? handle : nullptr;
}

BOOL DeleteObject(HGDIOBJ handle) {
  Object* object = FindObject(handle);
  if (object == nullptr) return FALSE;
  if (object->stock) return TRUE;  // stock objects outlive every caller
  // An object selected into a device context stays: deleting it would leave
  // the context drawing into freed memory.
  if (object->selections > 0) return FALSE;
  return platform::gdi::RemoveObject(handle) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ handle) {
  Object* object = FindObject(handle);
  return object != nullptr ? object->type : 0;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  Object* object = FindObject(handle);
  if (object == nullptr) return 0;
  switch (object->type) {
    case OBJ_BITMAP: {
      if (buffer == nullptr) return sizeof(BITMAP);
      if (size < static_cast<int>(sizeof(BITMAP))) return 0;
      const auto& b = object->bitmap;
      BITMAP info{0, b.width, b.height, b.width * 4, 1, 32, b.bits};
      std::memcpy(buffer, &info, sizeof info);
      return sizeof(BITMAP);
    }
    case OBJ_PAL: {
      if (buffer == nullptr || size < 2) return 2;
      WORD count = static_cast<WORD>(object->palette.size());
      std::memcpy(buffer, &count, 2);
      return 2;
    }
    case OBJ_FONT: {
      if (buffer == nullptr) return sizeof(LOGFONTA);
      int n = size < static_cast<int>(sizeof(LOGFONTA)) ? size : static_cast<int>(sizeof(LOGFONTA));
      if (n <= 0) return 0;
      std::memcpy(buffer, &object->font, n);
      return n;
    }
    default:
      return 0;
  }
}

HBRUSH CreateSolidBrush(COLORREF color) {
  Object o;
  o.type = OBJ_BRUSH;
  o.color = color & 0x00FFFFFF;
  return reinterpret_cast<HBRUSH>(platform::gdi::AddObject(std::move(o)));
}
