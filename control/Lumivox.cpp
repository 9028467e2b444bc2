// TLumivox construction, Initialize, CloseControl, TVTest and Logo.
#include <array>

#include "message/MessageRules.h"
#include "video/CornerMarks.h"
#include "video/UnitVideo.h"
#include "control/AwakeRequest.h"
#include "control/LumivoxImpl.h"
#include "control/MciCommands.h"
#include "control/OutputWindows.h"
#include "win/OrvexError.h"
#include "control/TextRules.h"
#include "win/DiskFile.h"

namespace {

template <typename Step>
void Swallow(Step step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

TLumivox::TLumivox(TSystemServices& system)
    : tmrClearDots(10000, false), tmrMouse(50, true), system_(system) {
  tmrMouse.SetOnTimer([this] { tmrMouseTimer(); });
}

// A released object no longer counts as playing, whatever its device does.
TLumivox::~TLumivox() {
  ReportPlaying(this, false, system_);
  DestroySurface();
}

bool TLumivox::Initialize() {
  surfaceVisible_ = false;
  if (surface_) ShowWindow(surface_, SW_HIDE);
  FMediaLength = 0;
  FMediaPosition = 0;
  FMediaRate = 0;
  FMediaStatus = sNotReady;
  const std::vector<RECT> monitors = system_.Monitors();
  if (monitors.size() < 2) return false;
  SendMci(mci::kClose);
  // A repeated Initialize replaces the earlier pair instead of leaving it
  // on screen with no way to close it.
  TOutputWindows& windows = OutputWindows();
  windows.Create();
  TFormVideo& video = *windows.Video();
  // The system's seam outlives the windows; this control object may not.
  video.OnDisplayChange = [&system = system_] { OutputWindows().Place(system.Monitors()); };
  windows.Place(monitors);
  video.FAllowClose = false;
  if (!video.imgLogo.LoadFromFile(FLogo)) video.imgLogo.Clear();
  video.Show();
  return true;
}

void TLumivox::CloseControl() {
  Swallow([this] { SendMci(mci::kClose); });
  ReportPlaying(this, false, system_);
  Swallow([] { OutputWindows().DestroyMessage(); });
  Swallow([] { OutputWindows().DestroyVideo(); });
  tmrClearDots.SetEnabled(false);
  tmrMouse.SetEnabled(false);
}

void TLumivox::TVTest() {
  SendMci(mci::kClose);
  TFormVideo* video = FormVideo();
  if (!video) throw EOrvexError("The video window does not exist: call Initialize first");
  const auto bounds = CornerMarkBounds(video->ClientWidth(), video->ClientHeight());
  const std::array<TVideoMark*, 4> marks = {&video->lblLeftTop, &video->lblLeftBottom,
                                            &video->lblRightBottom, &video->lblRightTop};
  for (std::size_t i = 0; i < marks.size(); ++i) {
    marks[i]->SetBounds(bounds[i].left, bounds[i].top, bounds[i].width, bounds[i].height);
    marks[i]->SetVisible(true);
  }
  tmrClearDots.SetEnabled(true);
}

void TLumivox::SetLogo(const std::wstring& value) {
  const std::wstring name = TrimText(value);
  if (TFormVideo* video = FormVideo()) {
    if (IsDiskFile(name)) {
      video->imgLogo.LoadFromFile(name);  // a failed load keeps the previous picture
    } else {
      video->imgLogo.Clear();
    }
  }
  FLogo = name;
}

void TLumivox::SetMsgSpeed(int32_t value) { FMsgSpeed = ClampMsgSpeed(value); }

void TLumivox::SetMsgRepeat(int32_t value) { FMsgRepeat = ClampMsgRepeat(value); }

void TLumivox::SetMsgInterval(int32_t value) { FMsgInterval = ClampMsgInterval(value); }

// Location and motion are stored as given: the overlay runs an unknown motion
// as right to left and places an unknown location at the top.
void TLumivox::SetMsgLocation(int32_t value) { FMsgLocation = value; }

void TLumivox::SetMsgActionStyle(int32_t value) { FMsgActionStyle = value; }
