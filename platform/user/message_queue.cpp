// The message queue and the loop's calls.
//
// GetMessageA looks, in this order, at: scheduled clock events that are due
// (run, not returned), posted messages, the quit request, input, windows
// with an invalid area (WM_PAINT) and due timers (WM_TIMER). With nothing to
// return it waits: under the real clock on the backend until the next timer
// or event is due, a native event arrives or another thread posts; under the
// virtual clock it moves the clock straight to the next timer or event. When
// nothing at all is pending under the virtual clock (no timer, no event), it
// blocks on the backend like the real loop would, so that a post from
// another thread (or native input) still wakes it; time does not move then.
//
// One queue serves the process: the engine runs its windows on one thread.
// Other threads may post messages and schedule events; both wake the loop.
#include <strings.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/scheduler.h"
#include "platform/testing.h"
#include "window_system.h"

namespace platform {
namespace {

struct ClockEvent {
  uint64_t id;
  uint64_t when;
  std::function<void()> action;
};

struct Queue {
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quit = false;
  int quitCode = 0;
  std::vector<ClockEvent> events;
  uint64_t nextEventId = 1;
  DWORD lastMessageTime = 0;
};

Queue& TheQueue() {
  static Queue* queue = new Queue;
  return *queue;
}

bool InRange(UINT message, UINT low, UINT high) {
  if (low == 0 && high == 0) return true;
  return message >= low && message <= high;
}

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

void RunDueEvents() {
  std::vector<ClockEvent> due;
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    auto& events = TheQueue().events;
    uint64_t now = ClockNow();
    for (auto it = events.begin(); it != events.end();) {
      if (it->when <= now) {
        due.push_back(std::move(*it));
        it = events.erase(it);
      } else {
        ++it;
      }
    }
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const ClockEvent& a, const ClockEvent& b) { return a.when < b.when; });
  for (auto& event : due) event.action();
}

bool NextEventDue(uint64_t* when) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  bool any = false;
  for (auto& event : TheQueue().events) {
    if (!any || event.when < *when) *when = event.when;
    any = true;
  }
  return any;
}

// Takes the first message of `from` that passes the filters.
bool TakeQueued(std::deque<MSG>& from, HWND filter, UINT low, UINT high, bool remove, MSG* out) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  for (auto it = from.begin(); it != from.end(); ++it) {
    if (!InRange(it->message, low, high) || !MessageWindowMatches(it->hwnd, filter)) continue;
    *out = *it;
    if (remove) from.erase(it);
    return true;
  }
  return false;
}

bool TryRetrieve(MSG* out, HWND filter, UINT low, UINT high, bool remove) {
  RunDueEvents();
  CurrentBackend().PumpEvents();
  Queue& queue = TheQueue();
  if (TakeQueued(queue.posted, filter, low, high, remove, out)) return true;
  if (queue.quit && filter == nullptr && InRange(WM_QUIT, low, high)) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, MessageTimeNow(),
               CurrentCursorPos()};
    if (remove) queue.quit = false;
    return true;
  }
  if (TakeQueued(queue.input, filter, low, high, remove, out)) {
    // The window under the pointer chooses the cursor before it sees the
    // mouse message, as on the platform.
    if (remove && IsMouseMessage(out->message) && IsLiveHandle(out->hwnd)) {
      SendMessageA(out->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(out->hwnd),
                   MAKELPARAM(HTCLIENT, out->message));
    }
    return true;
  }
  HWND painted = nullptr;
  if (InRange(WM_PAINT, low, high) && NextPaintWindow(filter, &painted)) {
    *out = MSG{painted, WM_PAINT, 0, 0, MessageTimeNow(), CurrentCursorPos()};
    return true;
  }
  if (InRange(WM_TIMER, low, high) && TakeDueTimer(filter, remove, out)) return true;
  return false;
}

// Waits for something to retrieve, or moves the virtual clock to it.
void WaitForWork(HWND filter, UINT low, UINT high) {
  uint64_t deadline = 0;
  bool timed = NextEventDue(&deadline);
  uint64_t timerDue = 0;
  if (InRange(WM_TIMER, low, high) && NextTimerDue(filter, &timerDue)) {
    deadline = timed ? std::min(deadline, timerDue) : timerDue;
    timed = true;
  }
  uint64_t now = ClockNow();
  if (ClockIsVirtual()) {
    if (timed && deadline > now) {
      ClockAdvanceTo(deadline);
      return;
    }
    if (timed) return;  // already due: look again
    CurrentBackend().WaitEvents(-1);
    return;
  }
  CurrentBackend().WaitEvents(timed ? static_cast<int64_t>(deadline > now ? deadline - now : 0) : -1);
}

}  // namespace

bool MessageWindowMatches(HWND target, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) return target == nullptr;
  return target == filter || IsChild(filter, target);
}

LRESULT SendTo(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr || window->foreign || window->proc == nullptr) return 0;
  WNDPROC proc = window->proc;
  return proc(window->handle, message, wParam, lParam);
}

void PurgeMessagesFor(HWND handle) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto gone = [handle](const MSG& m) { return m.hwnd == handle; };
  auto& posted = TheQueue().posted;
  posted.erase(std::remove_if(posted.begin(), posted.end(), gone), posted.end());
  auto& input = TheQueue().input;
  input.erase(std::remove_if(input.begin(), input.end(), gone), input.end());
}

void PostInput(const MSG& message) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto& input = TheQueue().input;
  // Pointer moves coalesce: only the latest position waits in the queue.
  if (message.message == WM_MOUSEMOVE && !input.empty() && input.back().message == WM_MOUSEMOVE &&
      input.back().hwnd == message.hwnd) {
    input.back() = message;
    return;
  }
  input.push_back(message);
}

void PostFront(const MSG& message) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  TheQueue().posted.push_front(message);
}

void ClearInputState() {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  TheQueue().input.clear();
}

int PendingMessageCount() {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  return static_cast<int>(TheQueue().posted.size() + TheQueue().input.size());
}

uint64_t ScheduleEvent(uint64_t when, std::function<void()> action) {
  uint64_t id;
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    Queue& queue = TheQueue();
    id = queue.nextEventId++;
    queue.events.push_back(ClockEvent{id, when, std::move(action)});
  }
  WakeMessageLoop();
  return id;
}

bool CancelEvent(uint64_t id) {
  std::lock_guard<std::recursive_mutex> hold(TableLock());
  auto& events = TheQueue().events;
  auto it = std::find_if(events.begin(), events.end(), [id](const ClockEvent& e) { return e.id == id; });
  if (it == events.end()) return false;
  events.erase(it);
  return true;
}

void WakeMessageLoop() {
  if (Backend* backend = ChosenBackend()) backend->Wake();
}

}  // namespace platform

using namespace platform;

BOOL WINAPI PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    if (handle != nullptr) {
      Window* window = FindWindowRecord(handle);
      if (window == nullptr) return FALSE;
      // Another program's window (a preview host) is not ours to deliver to.
      if (window->foreign) return TRUE;
    }
    TheQueue().posted.push_back(
        MSG{handle, message, wParam, lParam, MessageTimeNow(), CurrentCursorPos()});
  }
  WakeMessageLoop();
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendTo(FindWindowRecord(handle), message, wParam, lParam);
}

VOID WINAPI PostQuitMessage(int exitCode) {
  {
    std::lock_guard<std::recursive_mutex> hold(TableLock());
    TheQueue().quit = true;
    TheQueue().quitCode = exitCode;
  }
  WakeMessageLoop();
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND filter, UINT low, UINT high) {
  if (msg == nullptr) return -1;
  if (filter != nullptr && filter != reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) &&
      FindWindowRecord(filter) == nullptr) {
    return -1;
  }
  for (;;) {
    if (TryRetrieve(msg, filter, low, high, true)) {
      TheQueue().lastMessageTime = msg->time;
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    WaitForWork(filter, low, high);
  }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND filter, UINT low, UINT high, UINT remove) {
  if (msg == nullptr) return FALSE;
  if (!TryRetrieve(msg, filter, low, high, (remove & PM_REMOVE) != 0)) return FALSE;
  TheQueue().lastMessageTime = msg->time;
  return TRUE;
}

BOOL WINAPI WaitMessage() {
  MSG ignored;
  if (!TryRetrieve(&ignored, nullptr, 0, 0, false)) WaitForWork(nullptr, 0, 0);
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    // Only a procedure that SetTimer was given is called: a posted WM_TIMER
    // with an arbitrary lParam must not become a jump to that address.
    if (!TimerFiresProc(msg->hwnd, msg->wParam, msg->lParam)) return 0;
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  Window* window = FindWindowRecord(msg->hwnd);
  if (window == nullptr) return 0;
  return SendTo(window, msg->message, msg->wParam, msg->lParam);
}

DWORD WINAPI GetMessageTime() { return TheQueue().lastMessageTime; }

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
  if (name == nullptr || name[0] == '\0') return 0;
  static std::map<std::string, UINT>* known = new std::map<std::string, UINT>;
  std::string key = name;
  for (char& c : key) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  auto it = known->find(key);
  if (it != known->end()) return it->second;
  UINT id = 0xC000 + static_cast<UINT>(known->size());
  if (id > 0xFFFF) return 0;
  (*known)[key] = id;
  return id;
}
