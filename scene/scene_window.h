// The scene window: the child window of class "3DOpenGLWnd" in which the
// solid is rendered. The saver screen registers the class with
// SceneWindowProc and creates the window visible and disabled; it destroys
// it when the saver loses the focus and creates a new one when the focus
// returns, so everything the scene shows is built in every creation and
// released in every destruction.
//
// Every message that draws makes `sceneContext` current on the window's
// device context and makes no context current again before it returns.
#pragma once

#include "win32.h"

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr char kSceneWindowClass[] = "3DOpenGLWnd";

// Registers "3DOpenGLWnd" for `instance` as the saver screen does: no class
// style, the arrow cursor, the application icon, a black background.
// Registering twice is harmless; the result is RegisterClassA's.
ATOM RegisterSceneWindowClass(HINSTANCE instance);

// The frame timer's number on the scene window.
constexpr UINT_PTR kFrameTimerId = 1;
