// An open registry key, closed when its owner is done with it.
#pragma once
#include "win/OwnedHandle.h"

struct TRegistryKeyTraits {
  static bool Valid(HKEY key) { return key != nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
using TRegistryKey = TOwnedHandle<HKEY, TRegistryKeyTraits>;
