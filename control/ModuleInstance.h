// The instance handle of the module (OCX or program) this code is linked into,
// used to register window classes and find resources.
#pragma once
#include <windows.h>

HINSTANCE ModuleInstance();
