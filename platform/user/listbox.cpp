// The "LISTBOX" system class: a list of strings kept in the window, never
// drawn (the engine only keeps hidden lists). The strings live in an object
// whose address sits in the window's extra bytes.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/system_classes.h"
#include "win32/listbox.h"
#include "win32/user.h"

namespace {

struct ListBox {
  bool sorted = false;
  std::vector<std::string> items;
};

ListBox* Get(HWND window) { return reinterpret_cast<ListBox*>(GetWindowLongPtrA(window, 0)); }

bool ValidIndex(const ListBox* box, WPARAM index) { return index < box->items.size(); }

LRESULT Add(ListBox* box, const char* text) {
  if (text == nullptr) return LB_ERR;
  auto at = box->items.end();
  if (box->sorted) {
    // After any equal entries, so that equal strings keep their adding order.
    at = std::upper_bound(box->items.begin(), box->items.end(), text,
                          [](const char* a, const std::string& b) { return strcasecmp(a, b.c_str()) < 0; });
  }
  return std::distance(box->items.begin(), box->items.insert(at, text));
}

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBox* box = Get(window);
  switch (message) {
    case WM_NCCREATE:
    case WM_CREATE:
      if (box == nullptr) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        box = new ListBox;
        box->sorted = create != nullptr && (create->style & LBS_SORT) != 0;
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(box));
      }
      return message == WM_NCCREATE ? TRUE : 0;
    case WM_DESTROY:
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      delete box;
      return 0;
  }
  if (box == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case LB_ADDSTRING:
      return Add(box, text);
    case LB_INSERTSTRING: {
      // -1 appends; inserting never sorts.
      if (text == nullptr) return LB_ERR;
      size_t at = static_cast<int>(wParam) == -1 ? box->items.size() : wParam;
      if (at > box->items.size()) return LB_ERR;
      box->items.insert(box->items.begin() + at, text);
      return static_cast<LRESULT>(at);
    }
    case LB_DELETESTRING:
      if (!ValidIndex(box, wParam)) return LB_ERR;
      box->items.erase(box->items.begin() + wParam);
      return static_cast<LRESULT>(box->items.size());
    case LB_RESETCONTENT:
      box->items.clear();
      return 0;
    case LB_GETCOUNT:
      return static_cast<LRESULT>(box->items.size());
    case LB_GETTEXTLEN:
      if (!ValidIndex(box, wParam)) return LB_ERR;
      return static_cast<LRESULT>(box->items[wParam].size());
    case LB_GETTEXT: {
      // The caller's buffer holds LB_GETTEXTLEN + 1 bytes, as on the platform.
      if (!ValidIndex(box, wParam) || lParam == 0) return LB_ERR;
      const std::string& item = box->items[wParam];
      std::memcpy(reinterpret_cast<char*>(lParam), item.c_str(), item.size() + 1);
      return static_cast<LRESULT>(item.size());
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace platform {

bool RegisterListBoxClass() { return RegisterSystemClass("LISTBOX", ListBoxProc, 0, sizeof(LONG_PTR)); }

}  // namespace platform
