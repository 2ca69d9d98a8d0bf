// SwapBuffers of a 1920 x 1080 window (the read-back into the window's
// backing store and its presentation) against a bare glReadPixels of the
// same frame, measured in the same run. Prints the ratio of the two.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "win32.h"

#include <GL/gl.h>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRounds = 9, kFramesPerRound = 10;

void DrawFrame(int frame) {
  glClearColor(0.1f, 0.2f, 0.3f * (frame % 3), 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBegin(GL_TRIANGLES);
  glColor3f(1, 0, 0), glVertex2f(-1, -1);
  glColor3f(0, 1, 0), glVertex2f(1, -1);
  glColor3f(0, 0, 1), glVertex2f(0, 1);
  glEnd();
}

template <class Finish>
double MillisecondsPerFrame(Finish finish) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kFramesPerRound; ++i) {
    DrawFrame(i);
    finish();
  }
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / kFramesPerRound;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  setenv("GLIMMER_BACKEND", "headless", 0);
  setenv("GLIMMER_SCREEN", "1920x1080", 0);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "SwapBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "SwapBench", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                nullptr, nullptr, nullptr);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
  HGLRC context = wglCreateContext(dc);
  if (window == nullptr || context == nullptr || !wglMakeCurrent(dc, context)) {
    std::fprintf(stderr, "swap bench: no OpenGL window\n");
    return 1;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  auto swap = [dc] { SwapBuffers(dc); };
  auto bare = [&pixels] { glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data()); };
  // Warm up both paths, then alternate rounds so that both see the same machine.
  MillisecondsPerFrame(swap);
  MillisecondsPerFrame(bare);
  std::vector<double> swapTimes, bareTimes;
  for (int round = 0; round < kRounds; ++round) {
    swapTimes.push_back(MillisecondsPerFrame(swap));
    bareTimes.push_back(MillisecondsPerFrame(bare));
  }
  double swapMs = Median(swapTimes), bareMs = Median(bareTimes);
  std::printf("frame %dx%d: SwapBuffers + presentation %.2f ms, bare glReadPixels %.2f ms\n", kWidth, kHeight,
              swapMs, bareMs);
  std::printf("ratio %.2f (aim: at most 1.3)\n", swapMs / bareMs);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
