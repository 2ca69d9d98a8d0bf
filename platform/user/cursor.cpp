// The cursor and the system's stock icons and cursors. SetCursor with null
// hides the pointer on the backend; ShowCursor keeps the platform's display
// count (shown while it is 0 or more).
#include "platform/backend.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

struct CursorState {
  HCURSOR current = nullptr;
  int showCount = 0;
  bool shown = true;
};

CursorState& Cursor() {
  static CursorState* state = new CursorState;
  return *state;
}

// Stock cursors and icons are handles of their own range, one per
// resource number, so they compare equal however often they are loaded.
constexpr uintptr_t kStockCursorBase = 0x00C00000;
constexpr uintptr_t kStockIconBase = 0x00D00000;

bool IsStockNumber(LPCSTR name) {
  uintptr_t number = reinterpret_cast<uintptr_t>(name);
  return IS_INTRESOURCE(name) && number >= 32512 && number <= 32767;
}

}  // namespace

void ApplyCursor() {
  CursorState& state = Cursor();
  bool shown = state.current != nullptr && state.showCount >= 0;
  if (shown == state.shown) return;
  state.shown = shown;
  CurrentBackend().SetCursorShown(shown);
}

bool CursorShown() { return Cursor().shown; }

}  // namespace platform

using namespace platform;

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  HCURSOR previous = Cursor().current;
  Cursor().current = cursor;
  ApplyCursor();
  return previous;
}

HCURSOR WINAPI GetCursor() { return Cursor().current; }

int WINAPI ShowCursor(BOOL show) {
  Cursor().showCount += show ? 1 : -1;
  ApplyCursor();
  return Cursor().showCount;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance != nullptr || !IsStockNumber(name)) return nullptr;
  return reinterpret_cast<HCURSOR>(kStockCursorBase + reinterpret_cast<uintptr_t>(name));
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  // The program's own icons would come from its resources; the engine's
  // resources carry none under a number, so only stock icons load.
  if (instance != nullptr || !IsStockNumber(name)) return nullptr;
  return reinterpret_cast<HICON>(kStockIconBase + reinterpret_cast<uintptr_t>(name));
}
