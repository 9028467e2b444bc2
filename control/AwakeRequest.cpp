#include "control/AwakeRequest.h"

#include <map>

#include "win/ExclusiveLock.h"

namespace {
// The objects playing now, with the services each reported through. Objects
// on several apartment threads report, so the set is guarded.
std::map<const void*, TSystemServices*>& PlayingObjects() {
  static std::map<const void*, TSystemServices*> objects;
  return objects;
}
SRWLOCK playingGuard = SRWLOCK_INIT;
}  // namespace

void ReportPlaying(const void* object, bool playing, TSystemServices& system) {
  const TExclusiveLock lock(playingGuard);
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
  const TExclusiveLock lock(playingGuard);
  auto& objects = PlayingObjects();
  if (objects.empty()) return;
  TSystemServices* system = objects.begin()->second;
  objects.clear();
  system->SetThreadExecutionState(ES_CONTINUOUS);
}
