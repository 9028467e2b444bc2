// Enumerations shared by the control, its automation interface and its hosts.
// All are 32-bit signed, as they cross the automation interface as longs.
//
// Each list names the enumerators with their values, once: the C++ types
// below, the type library and the IDL (control/LumivoxInterface.def) are
// made from them.
#pragma once
#include <cstdint>

#define ORVEX_TCHANNEL(X) X(cStereo, 0) X(cLeft, 1) X(cRight, 2)
#define ORVEX_TLOCATION(X) X(lBottom, 0) X(lMiddle, 1) X(lTop, 2)
#define ORVEX_TACTIONSTYLE(X) X(aRightToLeft, 0) X(aLeftToRight, 1) X(aStatic, 2)
#define ORVEX_TSTATUS(X) X(sNotReady, 0) X(sPaused, 1) X(sPlaying, 2) X(sStopped, 3)

#define ORVEX_ENUMERATOR(name, value) name = value,
enum TChannel : int32_t { ORVEX_TCHANNEL(ORVEX_ENUMERATOR) };
enum TLocation : int32_t { ORVEX_TLOCATION(ORVEX_ENUMERATOR) };
enum TActionStyle : int32_t { ORVEX_TACTIONSTYLE(ORVEX_ENUMERATOR) };
enum TStatus : int32_t { ORVEX_TSTATUS(ORVEX_ENUMERATOR) };
#undef ORVEX_ENUMERATOR
