// sample_window: opens a window (full-screen by default), ticks a 100 ms
// timer that moves a white square across a blue field, and writes the
// messages a person can cause (pointer, keys, focus) to standard output, one
// line each. Escape or a click with the right button closes it.
//
//   sample_window [--window X Y W H] [--title TEXT] [--seconds N]
//                 [--parent ID] [--color RRGGBB] [--still] [--single]
//
// --parent places it as a child filling another window, given by its
// handle or native (X11) id, as a saver preview is placed; --still paints
// once and never moves the square (a quiet host for such a child); --single
// brings a window of the same title that another run shows to the front
// and ends, as a second start of a full-screen saver does.
//
// With GLIMMER_BACKEND=headless and GLIMMER_CLOCK=virtual it runs its
// seconds at once and reports how many ticks it saw.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window_canvas.h"
#include "win32.h"

#include <GL/gl.h>

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kEndTimer = 2;
uint32_t field = 0xFF2040C0u;  // the blue a screenshot looks for
constexpr uint32_t kSquare = 0xFFFFFFFFu;

int ticks = 0;
bool still = false;
// --gl: the field and a turning triangle drawn with OpenGL and brought in
// by SwapBuffers, and a line of text over them drawn with DrawTextA.
bool withGl = false;
HGLRC glContext = nullptr;

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  platform::WindowCanvas canvas;
  if (platform::GetWindowCanvas(window, &canvas)) {
    int width = canvas.client.right - canvas.client.left;
    int side = 40;
    int squareX = canvas.client.left + (ticks * 8) % std::max(1, width - side);
    int squareY = canvas.client.top + 20;
    for (LONG y = canvas.clip.top; y < canvas.clip.bottom; ++y) {
      uint32_t* row = canvas.surface->pixels + static_cast<size_t>(y) * canvas.surface->stride;
      for (LONG x = canvas.clip.left; x < canvas.clip.right; ++x) {
        bool inSquare = x >= squareX && x < squareX + side && y >= squareY && y < squareY + side;
        row[x] = inSquare ? kSquare : field;
      }
    }
    platform::MarkCanvasChanged(window, canvas.clip);
  }
  EndPaint(window, &paint);
}

void MakeGlContext(HWND window) {
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 16;
  SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
  glContext = wglCreateContext(dc);
  ReleaseDC(window, dc);
}

void PaintGl(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  if (wglMakeCurrent(dc, glContext)) {
    glViewport(0, 0, client.right, client.bottom);
    glClearColor(((field >> 16) & 0xFF) / 255.0f, ((field >> 8) & 0xFF) / 255.0f, (field & 0xFF) / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(static_cast<float>(ticks * 6 % 360), 0, 0, 1);
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0.8f, 0), glVertex2f(-0.6f, -0.5f);
    glColor3f(1, 0.2f, 0.2f), glVertex2f(0.6f, -0.5f);
    glColor3f(0.9f, 0.9f, 1), glVertex2f(0, 0.6f);
    glEnd();
    glFlush();
    SwapBuffers(dc);
    wglMakeCurrent(nullptr, nullptr);
  }
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  RECT line{0, client.bottom - 40, client.right, client.bottom - 20};
  DrawTextA(dc, "Glimmerkit: OpenGL & text", -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  EndPaint(window, &paint);
}

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (!still) SetTimer(window, kTickTimer, 100, nullptr);
      if (withGl) MakeGlContext(window);
      return 0;
    case WM_SIZE:
      Say("WM_SIZE %d %d", LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SHOWWINDOW:
      Say("WM_SHOWWINDOW %d", static_cast<int>(wParam));
      return 0;
    case WM_PAINT:
      if (withGl) PaintGl(window);
      else Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wParam == kEndTimer) {
        DestroyWindow(window);
        return 0;
      }
      ++ticks;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE: {
      POINT screen;
      GetCursorPos(&screen);
      Say("WM_MOUSEMOVE %d %d screen %d %d", static_cast<SHORT>(LOWORD(lParam)),
          static_cast<SHORT>(HIWORD(lParam)), static_cast<int>(screen.x), static_cast<int>(screen.y));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Say("%s %d %d", message == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : message == WM_RBUTTONDOWN ? "WM_RBUTTONDOWN" : "WM_MBUTTONDOWN",
          static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
      if (message == WM_RBUTTONDOWN) DestroyWindow(window);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Say("%s 0x%02X", message == WM_KEYDOWN ? "WM_KEYDOWN" : "WM_SYSKEYDOWN", static_cast<unsigned>(wParam));
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_CHAR:
      Say("WM_CHAR 0x%02X", static_cast<unsigned>(wParam));
      return 0;
    case WM_SETFOCUS:
      Say("WM_SETFOCUS");
      return 0;
    case WM_KILLFOCUS:
      Say("WM_KILLFOCUS");
      return 0;
    case WM_ACTIVATEAPP:
      Say("WM_ACTIVATEAPP %d", static_cast<int>(wParam));
      return 0;
    case WM_DESTROY:
      Say("WM_DESTROY ticks %d", ticks);
      if (glContext != nullptr) wglDeleteContext(glContext);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int x = 0, y = 0, width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::string title = "Glimmer Sample";
  int seconds = 0;
  DWORD exStyle = WS_EX_TOPMOST;
  DWORD style = WS_POPUP | WS_VISIBLE;
  HWND parent = nullptr;
  bool single = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--window") == 0 && i + 4 < argc) {
      x = std::atoi(argv[++i]);
      y = std::atoi(argv[++i]);
      width = std::atoi(argv[++i]);
      height = std::atoi(argv[++i]);
      exStyle = 0;
    } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
      title = argv[++i];
    } else if (std::strcmp(argv[i], "--gl") == 0) {
      withGl = true;
    } else if (std::strcmp(argv[i], "--parent") == 0 && i + 1 < argc) {
      parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[++i], nullptr, 0)));
      RECT area;
      if (!IsWindow(parent) || !GetClientRect(parent, &area)) {
        std::fprintf(stderr, "%s: no window %s\n", argv[0], argv[i]);
        return 1;
      }
      x = y = 0;
      width = area.right;
      height = area.bottom;
      exStyle = 0;
      style = WS_CHILD | WS_VISIBLE;
    } else if (std::strcmp(argv[i], "--color") == 0 && i + 1 < argc) {
      field = 0xFF000000u | static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 16));
    } else if (std::strcmp(argv[i], "--single") == 0) {
      single = true;
    } else if (std::strcmp(argv[i], "--still") == 0) {
      still = true;

    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr,
                   "usage: %s [--window X Y W H] [--title TEXT] [--seconds N] [--parent ID] "
                   "[--color RRGGBB] [--still] [--single]\n",
                   argv[0]);
      return 2;
    }
  }

  if (single) {
    HWND running = FindWindowA("GlimmerSample", title.c_str());
    if (running != nullptr && IsWindow(running)) {
      SetForegroundWindow(running);
      Say("FOUND EXISTING");
      return 0;
    }
  }

  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = SampleProc;
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.lpszClassName = "GlimmerSample";
  if (RegisterClassA(&cls) == 0) return 1;
  HWND window = CreateWindowExA(exStyle, "GlimmerSample", title.c_str(), style, x, y, width, height,
                                parent, nullptr, nullptr, nullptr);
  if (window == nullptr) return 1;
  if (parent == nullptr) SetForegroundWindow(window);
  if (seconds > 0) SetTimer(window, kEndTimer, static_cast<UINT>(seconds) * 1000, nullptr);
  Say("READY %dx%d", width, height);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
