// The instance handle of the module (OCX or program) this code is linked into,
// used to register window classes and find resources.
#pragma once
#include <windows.h>

HINSTANCE ModuleInstance();

// Registers a window class of this module once (later calls do nothing).
// Background is a brush or null; the cursor is the arrow.
void EnsureWindowClass(const char* name, WNDPROC proc, HBRUSH background = nullptr,
                       UINT style = 0);
// Unregisters every class EnsureWindowClass registered: a library must do
// this itself before it is unloaded.
void UnregisterWindowClasses();
