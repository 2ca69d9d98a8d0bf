// A wake-up that any thread can give and the message loop's thread waits
// for: a post from the audio thread must end a wait at once, and a wake-up
// given before the wait starts must not be lost.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class WakeSignal {
 public:
  // Waits until woken, or `timeoutMs` passes (forever when negative).
  void Wait(int64_t timeoutMs) {
    std::unique_lock<std::mutex> hold(lock_);
    if (timeoutMs < 0) {
      woken_.wait(hold, [this] { return wake_; });
    } else {
      woken_.wait_for(hold, std::chrono::milliseconds(timeoutMs), [this] { return wake_; });
    }
    wake_ = false;
  }

  // Forgets a wake-up given earlier (a waiter that waits elsewhere).
  void Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    wake_ = false;
  }

  void Wake() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      wake_ = true;
    }
    woken_.notify_all();
  }

 private:
  std::mutex lock_;
  std::condition_variable woken_;
  bool wake_ = false;
};

}  // namespace platform
