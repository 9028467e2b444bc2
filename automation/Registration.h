// Self-registration of the Lumivox class and the Orvex type library under
// HKEY_CLASSES_ROOT.
#pragma once
#include <windows.h>

#include <string>

// Writes the class entries and registers the type library; the first failure.
HRESULT RegisterLumivox();
// Removes the class and programmatic-identifier keys; the library stays.
void UnregisterLumivox();
// The module's full file name, or its short form when it holds white space.
std::string RegisteredModulePath();
