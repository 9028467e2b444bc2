// Self-registration of the Lumivox class and the Orvex type library under
// HKEY_CLASSES_ROOT.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Writes one string value under HKEY_CLASSES_ROOT (a null name: the key's
// default value), creating the key when missing; a system error code.
using TRegistryWriter =
    std::function<LONG(const std::wstring& key, const wchar_t* name, const std::wstring& data)>;
LONG WriteClassesRootValue(const std::wstring& key, const wchar_t* name,
                           const std::wstring& data);

// Writes the class entries of the module through write and registers its type
// library. The first failed write stops it: the class entries written so far
// are removed and the answer is SELFREG_E_CLASS. Otherwise the first failure
// of the type library's registration, or S_OK.
HRESULT RegisterLumivox(HMODULE module, const TRegistryWriter& write = WriteClassesRootValue);
// Removes the module's class and programmatic-identifier keys; the library stays.
void UnregisterLumivox(HMODULE module);
