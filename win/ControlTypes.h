// Enumerations shared by the control, its automation interface and its hosts.
// All are 32-bit signed, as they cross the automation interface as longs.
#pragma once
#include <cstdint>

enum TChannel : int32_t { cStereo = 0, cLeft = 1, cRight = 2 };
enum TLocation : int32_t { lBottom = 0, lMiddle = 1, lTop = 2 };
enum TActionStyle : int32_t { aRightToLeft = 0, aLeftToRight = 1, aStatic = 2 };
enum TStatus : int32_t { sNotReady = 0, sPaused = 1, sPlaying = 2, sStopped = 3 };
