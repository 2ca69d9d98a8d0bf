// The headless backend: a memory screen of GLIMMER_SCREEN size with nothing
// behind it. The window system's stores are the screen (ComposeScreen reads
// them); input and focus come from the test interface; waiting is a
// condition variable that a post from any thread signals.
#include "../wake_signal.h"
#include "platform/backend.h"
#include "platform/config.h"

namespace platform {
namespace {

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend() { ConfiguredScreenSize(&width_, &height_); }

  const char* Name() const override { return "headless"; }

  void ScreenSize(int* width, int* height) override {
    *width = width_;
    *height = height_;
  }

  void ShowRoot(HWND, const RECT&, uint64_t, bool) override {}
  void HideRoot(HWND) override {}
  void Present(HWND, const RECT&) override {}
  void Raise(HWND) override {}
  void SetCursorShown(bool) override {}
  bool QueryCursorPos(POINT*) override { return false; }
  void WarpCursor(int, int) override {}
  bool NativeWindowRect(uint64_t, RECT*) override { return false; }
  // One process, one memory screen: no other program's windows to find.
  uint64_t FindNativeWindow(const char*, const char*) override { return 0; }
  bool RaiseNative(uint64_t) override { return false; }
  void PumpEvents() override {}

  void WaitEvents(int64_t timeoutMs) override { wakeSignal_.Wait(timeoutMs); }

  void Wake() override { wakeSignal_.Wake(); }

 private:
  int width_ = 0;
  int height_ = 0;
  WakeSignal wakeSignal_;
};

}  // namespace

Backend* CreateHeadlessBackend() { return new HeadlessBackend; }

}  // namespace platform
