#include "control/AwakeRequest.h"

#include <map>

namespace {
// The objects playing now, with the services each reported through.
std::map<const void*, TSystemServices*>& PlayingObjects() {
  static std::map<const void*, TSystemServices*> objects;
  return objects;
}
}  // namespace

void ReportPlaying(const void* object, bool playing, TSystemServices& system) {
  auto& objects = PlayingObjects();
  const bool held = !objects.empty();
  if (playing) {
    objects[object] = &system;
  } else {
    objects.erase(object);
  }
  const bool holdNow = !objects.empty();
  if (holdNow == held) return;
  system.SetThreadExecutionState(holdNow ? kKeepAwake : ES_CONTINUOUS);
}

void WithdrawAwakeRequest() {
  auto& objects = PlayingObjects();
  if (objects.empty()) return;
  TSystemServices* system = objects.begin()->second;
  objects.clear();
  system->SetThreadExecutionState(ES_CONTINUOUS);
}
