// Basic types, handles and shared structures of the Win32-shaped layer.
//
// Written for this engine from what it calls; only what the engine and the
// layer's other headers need is here. Sizes follow the platform's ILP32
// conventions where stored data depends on them (LONG and DWORD are 32 bits),
// and pointer-sized where a handle or message parameter must carry a pointer.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
// The GL headers define APIENTRY as well (empty on this platform).
#ifndef APIENTRY
#define APIENTRY
#endif
#define WINAPIV

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef short SHORT;
typedef unsigned short USHORT;
typedef float FLOAT;
typedef void VOID;

typedef BYTE* LPBYTE;
typedef WORD* LPWORD;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BOOL* LPBOOL;
typedef INT* LPINT;

typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t DWORD_PTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif

#define MAX_PATH 260

// Handles are small integers handed out by the layer's handle tables, carried
// in distinct pointer types so that the compiler keeps them apart.
#define GLIMMER_HANDLE_TYPE(name) \
  struct name##__ {               \
    int unused;                   \
  };                              \
  typedef struct name##__* name

typedef void* HANDLE;
typedef HANDLE* LPHANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
GLIMMER_HANDLE_TYPE(HWND);
GLIMMER_HANDLE_TYPE(HINSTANCE);
GLIMMER_HANDLE_TYPE(HDC);
GLIMMER_HANDLE_TYPE(HGDIOBJ_);
typedef void* HGDIOBJ;
GLIMMER_HANDLE_TYPE(HBITMAP);
GLIMMER_HANDLE_TYPE(HPALETTE);
GLIMMER_HANDLE_TYPE(HBRUSH);
GLIMMER_HANDLE_TYPE(HFONT);
GLIMMER_HANDLE_TYPE(HPEN);
GLIMMER_HANDLE_TYPE(HICON);
GLIMMER_HANDLE_TYPE(HMENU);
GLIMMER_HANDLE_TYPE(HKEY);
GLIMMER_HANDLE_TYPE(HGLRC);
GLIMMER_HANDLE_TYPE(HIMC);
GLIMMER_HANDLE_TYPE(HRSRC);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef int HFILE;
typedef HKEY* PHKEY;

#define HFILE_ERROR ((HFILE)-1)
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

typedef DWORD COLORREF;
#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r)) | (((WORD)(BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR_)((WORD)(i))))
typedef uintptr_t ULONG_PTR_;
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct POINT {
  LONG x;
  LONG y;
};
typedef POINT* LPPOINT;

struct SIZE {
  LONG cx;
  LONG cy;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
typedef MSG* LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(WINAPI* FARPROC)();
