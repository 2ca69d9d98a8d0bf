// Pieces of the sdl backend shared between its files.
#pragma once

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>

#include "win32/types.h"

namespace platform::sdl {

// The virtual key for an SDL key, 0 when the engine has none for it.
UINT VirtualKeyFor(const SDL_Keysym& key);

// X11 helpers for windows of other programs (preview hosts). They use a
// connection of their own, so they work before SDL has a window.
bool X11WindowScreenRect(uint64_t id, RECT* screen);
// The pointer's position on the X screen.
bool X11PointerPosition(POINT* point);
// Keeps X errors about vanished windows (a host that went away) from ending
// the process, as Xlib's default handler would.
void InstallX11ErrorHandler();
// Asks the X server for structure and exposure events on a host window
// (never button presses: the host may own them).
void WatchHostWindow(SDL_Window* host);
// Marks one of our top-level windows with its class and title, so that
// another run of the program finds it (FindWindowA across processes).
void X11TagWindow(SDL_Window* window, const char* className, const char* title);
// A tagged top-level window of another process: its id, or 0.
uint64_t X11FindTaggedWindow(const char* className, const char* title);
// Raises a window and gives it the input focus.
bool X11RaiseWindow(uint64_t id);
// True when `event` (an SDL_SYSWMEVENT) says that X11 window `id` was destroyed.
bool IsX11DestroyOf(const SDL_Event& event, uint64_t id);

}  // namespace platform::sdl
