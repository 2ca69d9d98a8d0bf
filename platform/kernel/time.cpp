// The tick count and Sleep, on the layer's one clock.
#include <sched.h>

#include "platform/clock.h"
#include "win32/kernel.h"

DWORD WINAPI GetTickCount() { return static_cast<DWORD>(platform::ClockNow()); }

void WINAPI Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    // Gives up the rest of the time slice; virtual time does not move.
    if (!platform::ClockIsVirtual()) sched_yield();
    return;
  }
  platform::ClockSleepUntil(platform::ClockNow() + milliseconds);
}
