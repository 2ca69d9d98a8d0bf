#include "recorder.h"

#include <algorithm>

namespace usertest {
namespace {

Override& TheOverride() {
  static Override answer;
  return answer;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Seen{window, message, wParam, lParam});
  LRESULT result = 0;
  if (TheOverride() && TheOverride()(window, message, wParam, lParam, &result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

void Clear() { Log().clear(); }

std::vector<UINT> MessagesOf(HWND window, const std::vector<UINT>& interesting) {
  std::vector<UINT> out;
  for (const Seen& seen : Log()) {
    if (seen.window != window) continue;
    if (!interesting.empty() &&
        std::find(interesting.begin(), interesting.end(), seen.message) == interesting.end()) {
      continue;
    }
    out.push_back(seen.message);
  }
  return out;
}

void SetOverride(Override answer) { TheOverride() = std::move(answer); }

const char* RecorderClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = RecordingProc;
    cls.lpszClassName = "Recorder";
    registered = RegisterClassA(&cls) != 0;
  }
  return "Recorder";
}

HWND MakeWindow(int x, int y, int width, int height, HWND parent, DWORD style, DWORD exStyle) {
  if (parent != nullptr) style |= WS_CHILD;
  else style |= WS_POPUP;
  return CreateWindowExA(exStyle, RecorderClass(), "recorded", style, x, y, width, height, parent,
                         nullptr, nullptr, nullptr);
}

void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace usertest
