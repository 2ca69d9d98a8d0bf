// wgl services of the layer: pixel formats of a device context, OpenGL
// rendering contexts bound to windows, and the buffer swap that brings a
// frame into a window. The OpenGL calls themselves are Mesa's own.
#pragma once

#include "win32/types.h"

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
typedef PIXELFORMATDESCRIPTOR* LPPIXELFORMATDESCRIPTOR;
typedef PIXELFORMATDESCRIPTOR* PPIXELFORMATDESCRIPTOR;
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "pixel format descriptor is 40 bytes");

// Pixel types.
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1

// Layer types.
#define PFD_MAIN_PLANE 0
#define PFD_OVERLAY_PLANE 1
#define PFD_UNDERLAY_PLANE (-1)

// Flags.
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_NEED_PALETTE 0x00000080
#define PFD_NEED_SYSTEM_PALETTE 0x00000100
#define PFD_SWAP_EXCHANGE 0x00000200
#define PFD_SWAP_COPY 0x00000400
#define PFD_SWAP_LAYER_BUFFERS 0x00000800
#define PFD_GENERIC_ACCELERATED 0x00001000
#define PFD_DEPTH_DONTCARE 0x20000000
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000
#define PFD_STEREO_DONTCARE 0x80000000

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* wanted);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* wanted);
int GetPixelFormat(HDC dc);
// Returns the number of formats the device offers; fills `out` for `format`
// (1-based) when it is not null.
int DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR out);

HGLRC wglCreateContext(HDC dc);
BOOL wglDeleteContext(HGLRC context);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
FARPROC wglGetProcAddress(LPCSTR name);
BOOL SwapBuffers(HDC dc);
