// The layer's one clock. Real time (steady) by default; virtual time when
// GLIMMER_CLOCK=virtual, where nothing moves unless the layer moves it: a
// message loop that would block jumps the clock to the next due event, and
// Sleep advances it. Everything timed (GetTickCount, timers, songs) reads it.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds on the layer's clock, 64 bits (GetTickCount is the low 32).
uint64_t ClockNow();

bool ClockIsVirtual();

// Switches the clock for this process (tests); virtual time starts at `start`.
void ClockUseVirtual(uint64_t start);
void ClockUseReal();

// Moves virtual time forward to `when` (never backwards); no effect on the
// real clock.
void ClockAdvanceTo(uint64_t when);

// Waits until the clock reads at least `when`, or `waker` is signalled.
// Under the virtual clock this returns at once after advancing the clock.
void ClockSleepUntil(uint64_t when);

}  // namespace platform
