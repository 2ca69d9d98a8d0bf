// Timers on the layer's clock. A timer is due `interval` after it was set or
// last fired; a due timer yields one WM_TIMER however late the loop looks,
// and is then re-armed from the time it fired, so a slow loop never sees a
// burst of ticks.
#include <algorithm>
#include <vector>

#include "platform/clock.h"
#include "window_system.h"

namespace platform {
namespace {

// The platform's shortest timer interval.
constexpr UINT kMinimumInterval = 10;
// Identifiers handed out for timers without a window.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFF0000;

struct Timer {
  HWND window;
  UINT_PTR id;
  uint64_t interval;
  uint64_t due;
  TIMERPROC proc;
};

struct Timers {
  std::vector<Timer> list;
  UINT_PTR nextThreadId = kFirstThreadTimerId;
};

Timers& TheTimers() {
  static Timers* timers = new Timers;
  return *timers;
}

}  // namespace

void KillTimersOf(HWND handle) {
  auto& list = TheTimers().list;
  list.erase(std::remove_if(list.begin(), list.end(), [handle](const Timer& t) { return t.window == handle; }),
             list.end());
}

bool TimerFiresProc(HWND handle, UINT_PTR id, LPARAM proc) {
  for (const Timer& t : TheTimers().list) {
    if (t.window == handle && t.id == id && reinterpret_cast<LPARAM>(t.proc) == proc) return true;
  }
  return false;
}

bool NextTimerDue(HWND filter, uint64_t* when) {
  bool any = false;
  for (const Timer& t : TheTimers().list) {
    if (!MessageWindowMatches(t.window, filter)) continue;
    if (!any || t.due < *when) *when = t.due;
    any = true;
  }
  return any;
}

bool TakeDueTimer(HWND filter, bool remove, MSG* out) {
  uint64_t now = ClockNow();
  Timer* earliest = nullptr;
  for (Timer& t : TheTimers().list) {
    if (t.due > now || !MessageWindowMatches(t.window, filter)) continue;
    if (earliest == nullptr || t.due < earliest->due) earliest = &t;
  }
  if (earliest == nullptr) return false;
  *out = MSG{earliest->window, WM_TIMER, earliest->id, reinterpret_cast<LPARAM>(earliest->proc),
             MessageTimeNow(), CurrentCursorPos()};
  if (remove) earliest->due = now + earliest->interval;
  return true;
}

}  // namespace platform

using namespace platform;

UINT_PTR WINAPI SetTimer(HWND handle, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (handle != nullptr) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || window->foreign) return 0;
  }
  uint64_t interval = std::max(elapse, kMinimumInterval);
  uint64_t due = ClockNow() + interval;
  auto& timers = TheTimers();
  if (handle == nullptr) {
    // A timer without a window gets an identifier of its own unless it
    // names one of those already made.
    bool known = std::any_of(timers.list.begin(), timers.list.end(),
                             [id](const Timer& t) { return t.window == nullptr && t.id == id; });
    if (!known) id = timers.nextThreadId++;
  }
  for (Timer& t : timers.list) {
    if (t.window == handle && t.id == id) {
      t.interval = interval;
      t.due = due;
      t.proc = proc;
      return handle == nullptr ? id : (id != 0 ? id : 1);
    }
  }
  timers.list.push_back(Timer{handle, id, interval, due, proc});
  return handle == nullptr ? id : (id != 0 ? id : 1);
}

BOOL WINAPI KillTimer(HWND handle, UINT_PTR id) {
  auto& list = TheTimers().list;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const Timer& t) { return t.window == handle && t.id == id; });
  if (it == list.end()) return FALSE;
  list.erase(it);
  return TRUE;
}
