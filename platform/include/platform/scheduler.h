// Events on the layer's clock. A part of the layer that must act at a time
// (the end of a song under the virtual clock) schedules a call here; the
// message loop runs due calls on its own thread before it looks at the queue,
// and when it would block it waits (real clock) or jumps (virtual clock) to
// the earliest of the next timer and the next event.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Runs `action` on the message loop's thread once the clock reads `when`
// (milliseconds, platform::ClockNow()). Safe from any thread; wakes a blocked
// loop. Returns an id for CancelEvent, never 0.
uint64_t ScheduleEvent(uint64_t when, std::function<void()> action);

// Cancels an event that has not run yet; false when it ran or is unknown.
bool CancelEvent(uint64_t id);

// Wakes a blocked message loop so that it looks again (any thread).
void WakeMessageLoop();

}  // namespace platform
