// OpenGL through the wgl calls: pixel formats, contexts bound to windows,
// and SwapBuffers bringing the frame into the window's pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gdi/test_windows.h"
#include "platform/testing.h"

#include <GL/gl.h>

namespace {

using gdi_test::MakeWindow;

// The descriptor the scene asks for: double-buffered RGBA, 16-bit depth.
PIXELFORMATDESCRIPTOR SceneRequest(HDC dc) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL));
  pfd.cDepthBits = 16;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

// A window with its pixel format set and a context of its own.
struct GlWindow {
  HWND window;
  HDC dc;
  HGLRC context;
  GlWindow(int x, int y, int w, int h) : window(MakeWindow(x, y, w, h)), dc(GetDC(window)) {
    PIXELFORMATDESCRIPTOR pfd = SceneRequest(dc);
    SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
    context = wglCreateContext(dc);
  }
  ~GlWindow() {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
  }
};

uint32_t Screen(int x, int y) { return platform::ScreenPixel(x, y) & 0xFFFFFF; }

TEST(PixelFormat, TheSceneGetsADoubleBufferedFormatSetOnce) {
  HWND window = MakeWindow(0, 0, 16, 16);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd = SceneRequest(dc);
  int count = DescribePixelFormat(dc, 1, sizeof pfd, nullptr);
  EXPECT_GE(count, 2);
  int chosen = ChoosePixelFormat(dc, &pfd);
  ASSERT_GE(chosen, 1);
  PIXELFORMATDESCRIPTOR got{};
  EXPECT_EQ(DescribePixelFormat(dc, chosen, sizeof got, &got), count);
  EXPECT_NE(got.dwFlags & PFD_DOUBLEBUFFER, 0u);
  EXPECT_NE(got.dwFlags & PFD_SUPPORT_OPENGL, 0u);
  EXPECT_EQ(got.dwFlags & PFD_NEED_PALETTE, 0u);
  EXPECT_EQ(got.cColorBits, 32);
  EXPECT_GE(got.cDepthBits, 16);
  EXPECT_EQ(DescribePixelFormat(dc, count + 1, sizeof got, &got), 0);
  EXPECT_EQ(GetPixelFormat(dc), 0);
  EXPECT_EQ(wglCreateContext(dc), nullptr) << "no context before the format is set";
  EXPECT_TRUE(SetPixelFormat(dc, chosen, &pfd));
  EXPECT_EQ(GetPixelFormat(dc), chosen);
  int other = chosen == 1 ? 2 : 1;
  EXPECT_FALSE(SetPixelFormat(dc, other, &pfd)) << "a window's format is set once";
  HDC again = GetDC(window);
  EXPECT_EQ(GetPixelFormat(again), chosen) << "the format belongs to the window";
  ReleaseDC(window, again);
  ReleaseDC(window, dc);
}

TEST(PixelFormat, AnEightBitDisplayOffersThePalettisedFormat) {
  setenv("GLIMMER_PIXEL_FORMAT", "8", 1);
  HWND window = MakeWindow(0, 0, 16, 16);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd = SceneRequest(dc);
  EXPECT_EQ(pfd.cColorBits, 8);
  PIXELFORMATDESCRIPTOR got{};
  DescribePixelFormat(dc, ChoosePixelFormat(dc, &pfd), sizeof got, &got);
  EXPECT_NE(got.dwFlags & PFD_NEED_PALETTE, 0u);
  EXPECT_EQ(got.cColorBits, 8);
  EXPECT_EQ(got.cRedBits, 3);
  EXPECT_EQ(got.cRedShift, 0);
  EXPECT_EQ(got.cGreenBits, 3);
  EXPECT_EQ(got.cGreenShift, 3);
  EXPECT_EQ(got.cBlueBits, 2);
  EXPECT_EQ(got.cBlueShift, 6);
  EXPECT_GE(got.cDepthBits, 16);
  ReleaseDC(window, dc);
  unsetenv("GLIMMER_PIXEL_FORMAT");
}

TEST(Wgl, ATriangleAppearsInTheWindowAfterSwapBuffers) {
  GlWindow gl(4, 4, 64, 48);
  ASSERT_NE(gl.context, nullptr);
  ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
  EXPECT_EQ(wglGetCurrentContext(), gl.context);
  EXPECT_EQ(wglGetCurrentDC(), gl.dc);
  GLint maxTexture = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
  EXPECT_GE(maxTexture, 1024);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // The lower-left half of the window, in green.
  glColor3f(0, 1, 0);
  glBegin(GL_TRIANGLES);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glVertex2f(-1, 1);
  glEnd();
  EXPECT_NE(Screen(4 + 32, 4 + 24), 0xFF0000u) << "nothing shows before the swap";
  EXPECT_TRUE(SwapBuffers(gl.dc));
  EXPECT_EQ(Screen(4 + 2, 4 + 45), 0x00FF00u) << "bottom left";
  EXPECT_EQ(Screen(4 + 61, 4 + 2), 0xFF0000u) << "top right";
  EXPECT_EQ(Screen(4 + 40, 4 + 10), 0xFF0000u) << "above the diagonal";
  EXPECT_EQ(Screen(4 + 20, 4 + 40), 0x00FF00u) << "below the diagonal";
  EXPECT_EQ(Screen(3, 3), 0u) << "outside the window";
  EXPECT_EQ(Screen(4 + 64, 4 + 20), 0u);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

// The buffers a context renders into are the ones its window's format
// describes: a 16-bit depth request gets a 16-bit depth buffer.
TEST(Wgl, TheContextHasTheDepthBitsOfItsFormat) {
  struct Case {
    BYTE depth;
    BYTE stencil;
  };
  const Case cases[] = {{16, 0}, {24, 8}};
  for (const Case& c : cases) {
    HWND window = MakeWindow(0, 0, 16, 16);
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd = SceneRequest(dc);
    pfd.cDepthBits = c.depth;
    pfd.cStencilBits = c.stencil;
    int chosen = ChoosePixelFormat(dc, &pfd);
    PIXELFORMATDESCRIPTOR described{};
    DescribePixelFormat(dc, chosen, sizeof described, &described);
    ASSERT_EQ(described.cDepthBits, c.depth);
    ASSERT_TRUE(SetPixelFormat(dc, chosen, &pfd));
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    GLint depth = 0, stencil = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_EQ(depth, c.depth) << "asked for " << int(c.depth);
    EXPECT_EQ(stencil, c.stencil) << "asked for " << int(c.depth);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
  }
}

TEST(Wgl, TwoWindowsKeepTheirOwnContexts) {
  GlWindow a(0, 0, 20, 20), b(30, 0, 20, 20);
  ASSERT_NE(a.context, nullptr);
  ASSERT_NE(b.context, nullptr);
  ASSERT_TRUE(wglMakeCurrent(a.dc, a.context));
  glClearColor(0, 0, 1, 1);
  ASSERT_TRUE(wglMakeCurrent(b.dc, b.context));
  glClearColor(1, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // Back to a: its own clear colour is still set.
  ASSERT_TRUE(wglMakeCurrent(a.dc, a.context));
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_TRUE(SwapBuffers(a.dc));
  // b's frame is swapped while a's context is current, and a stays current.
  EXPECT_TRUE(SwapBuffers(b.dc));
  EXPECT_EQ(wglGetCurrentContext(), a.context);
  EXPECT_EQ(Screen(10, 10), 0x0000FFu);
  EXPECT_EQ(Screen(40, 10), 0xFFFF00u);
}

TEST(Wgl, TheFrameFollowsTheWindowsSize) {
  GlWindow gl(0, 0, 10, 10);
  ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
  glClearColor(0, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(gl.dc);
  EXPECT_EQ(Screen(15, 15), 0u);
  MoveWindow(gl.window, 0, 0, 30, 20, FALSE);
  ASSERT_TRUE(wglMakeCurrent(gl.dc, gl.context));
  glViewport(0, 0, 30, 20);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(gl.dc);
  EXPECT_EQ(Screen(29, 19), 0x00FFFFu);
  EXPECT_EQ(Screen(30, 19), 0u);
}

TEST(Wgl, StaleAndUnboundHandlesFail) {
  GlWindow gl(0, 0, 8, 8);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(wglMakeCurrent(memory, gl.context)) << "contexts draw into windows";
  EXPECT_EQ(wglCreateContext(memory), nullptr);
  EXPECT_FALSE(SwapBuffers(memory));
  DeleteDC(memory);
  EXPECT_FALSE(SwapBuffers(gl.dc)) << "nothing drawn yet";
  HGLRC extra = wglCreateContext(gl.dc);
  ASSERT_TRUE(wglMakeCurrent(gl.dc, extra));
  EXPECT_TRUE(wglDeleteContext(extra));
  EXPECT_EQ(wglGetCurrentContext(), nullptr) << "deleting the current context releases it";
  EXPECT_FALSE(wglDeleteContext(extra));
  EXPECT_FALSE(wglMakeCurrent(gl.dc, extra));
  EXPECT_NE(wglGetProcAddress("glBindBuffer"), nullptr);
}

}  // namespace
