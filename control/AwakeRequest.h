// The module-wide request that keeps the displays on and the machine awake
// while any control object of the module plays. Each object reports its own
// state; the system is asked only when the first object starts playing and
// when the last one stops, through the services of the object whose report
// turned the module-wide state, so a tick that changes nothing costs no call.
#pragma once
#include "control/SystemServices.h"

// What the request asks for while it is held; ES_CONTINUOUS alone withdraws it.
constexpr uint32_t kKeepAwake = ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED;

// Records whether the object plays now. A request the system refuses is not
// asked again until the state turns: playback goes on and nothing is reported.
void ReportPlaying(const void* object, bool playing, TSystemServices& system);
// Withdraws a request still held, through the services of an object still
// counted as playing, and forgets every object: for a library unloaded under
// objects that still play.
void WithdrawAwakeRequest();
