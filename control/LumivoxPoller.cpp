// tmrMouse's handler: keep the cursor on the operator's monitor, keep the
// output windows where the monitor layout puts them, then poll the media
// device's mode and position.
#include "control/AwakeRequest.h"
#include "control/LumivoxImpl.h"
#include "control/MciCommands.h"
#include "control/MouseGuardRules.h"
#include "control/OutputWindows.h"

namespace {
// Bound on ShowCursor calls while hiding, so a broken count cannot hang the tick.
constexpr int kMaxHideCalls = 10000;
}  // namespace

// The monitors are read once a tick, fresh: monitor 0 bounds the cursor, and a
// changed list moves the output windows (a change of layout does not reach
// them as a message everywhere).
void TLumivox::tmrMouseTimer() {
  const std::vector<RECT> monitors = system_.Monitors();
  GuardMouse(monitors);
  OutputWindows().Follow(monitors);
  PollStatus();
}

void TLumivox::GuardMouse(const std::vector<RECT>& monitors) {
  if (monitors.empty()) return;
  const RECT& m0 = monitors.front();
  const GuardBounds bounds{m0.left, m0.top, m0.right, m0.bottom};
  const POINT p = system_.CursorPos();
  const GuardPoint cursor{p.x, p.y};
  if (!CursorOutside(bounds, cursor)) return;
  for (int i = 0; i < kMaxHideCalls && system_.ShowCursor(false) >= 0; ++i) {
  }
  for (const GuardPoint& move : GuardMoves(bounds, cursor)) system_.SetCursorPos(move.x, move.y);
  system_.ShowCursor(true);
}

void TLumivox::PollStatus() {
  std::string reply;
  QueryMci(mci::kStatusMode, reply);
  FMediaStatus = mci::ReadMode(reply);
  ReportPlaying(this, FMediaStatus == sPlaying, system_);
  QueryMci(mci::kStatusPosition, reply);
  // A reply that is not a whole number leaves the last position in place.
  if (const std::optional<int32_t> position = mci::ReadPosition(reply)) FMediaPosition = *position;
}
