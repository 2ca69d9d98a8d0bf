// How much of a core an idle message loop costs: one window, one 1000 ms
// timer, the real clock, for three ticks. The reference is a busy loop
// measured the same way in the same run; the ratio of the two is printed.
// Runs on the backend the environment chooses (GLIMMER_BACKEND).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "platform/backend.h"
#include "platform/clock.h"
#include "win32.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU time over wall time while `work` runs.
template <typename Work>
double CoreFraction(Work work, double* wall) {
  double cpu0 = CpuSeconds(), wall0 = WallSeconds();
  work();
  *wall = WallSeconds() - wall0;
  return (CpuSeconds() - cpu0) / *wall;
}

int ticks = 0;

LRESULT CALLBACK IdleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && ++ticks == 3) PostQuitMessage(0);
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
  platform::ClockUseReal();
  double busyWall = 0;
  volatile unsigned long spin = 0;
  double busy = CoreFraction(
      [&] {
        double until = WallSeconds() + 0.3;
        while (WallSeconds() < until) spin = spin + 1;
      },
      &busyWall);

  WNDCLASSA cls{};
  cls.lpfnWndProc = IdleProc;
  cls.lpszClassName = "IdleBench";
  RegisterClassA(&cls);
  HWND window = CreateWindowExA(0, "IdleBench", "idle", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);  // creation's paint
  SetTimer(window, 1, 1000, nullptr);

  double idleWall = 0;
  double idle = CoreFraction(
      [&] {
        while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
      },
      &idleWall);

  std::printf("idle_loop (%s backend): one 1000 ms timer, %d ticks in %.2f s: %.4f%% of a core\n",
              platform::CurrentBackend().Name(), ticks, idleWall, idle * 100);
  std::printf("reference busy loop: %.1f%% of a core over %.2f s\n", busy * 100, busyWall);
  std::printf("ratio idle/busy: %.6f (%s)\n", idle / busy, idle < 0.01 ? "well under 1% of a core" : "TOO BUSY");
  return 0;
}
