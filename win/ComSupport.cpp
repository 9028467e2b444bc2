#include "win/ComSupport.h"

namespace {
LONG lockCount = 0;
}

void ModuleLock() { InterlockedIncrement(&lockCount); }
void ModuleUnlock() { InterlockedDecrement(&lockCount); }
LONG ModuleLockCount() { return InterlockedCompareExchange(&lockCount, 0, 0); }

std::string BstrToAnsi(BSTR text) { return WideToAnsi({text, SysStringLen(text)}); }

BSTR AnsiToBstr(const std::string& text) { return TBstr(AnsiToWide(text)).Detach(); }
