// Opening a name only when it is a regular file on disk. Device names,
// device-namespace paths, pipes and folders are refused before any driver or
// reader can wait on them: a serial port named "COM1.mpg" would otherwise
// hold the caller until data arrives.
#pragma once
#include <windows.h>

#include <string>

#include "win/OwnedHandle.h"

// A handle with the given access to the named disk file; empty otherwise.
// Access 0 asks for no data and so never meets another program's sharing.
TKernelHandle OpenDiskFile(const std::wstring& name, DWORD access);

inline bool IsDiskFile(const std::wstring& name) {
  return static_cast<bool>(OpenDiskFile(name, 0));
}
