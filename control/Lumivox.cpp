// TLumivox construction, Initialize, CloseControl, TVTest and Logo.
#include <array>

#include "message/MessageRules.h"
#include "message/UnitMessage.h"
#include "video/CornerMarks.h"
#include "video/UnitVideo.h"
#include "control/LumivoxImpl.h"
#include "control/MciCommands.h"
#include "win/OrvexError.h"
#include "control/TextRules.h"

namespace {

bool FileExists(const std::string& name) {
  if (name.empty()) return false;
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DestroyMessageWindow() {
  if (!FormMessage) return;
  FormMessage->FAllowClose = true;
  FormMessage->tmrMove.SetEnabled(false);
  FormMessage->tmrRepeat.SetEnabled(false);
  FormMessage->Close();
  delete FormMessage;
  FormMessage = nullptr;
}

void DestroyVideoWindow() {
  if (!FormVideo) return;
  FormVideo->FAllowClose = true;
  FormVideo->Close();
  delete FormVideo;
  FormVideo = nullptr;
}

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
  DestroyMessageWindow();
  DestroyVideoWindow();
  FormVideo = new TFormVideo();
  FormMessage = new TFormMessage();
  const RECT& m0 = monitors[0];
  const RECT& m1 = monitors[1];
  FormVideo->SetBounds(m0.right - m0.left, 0, m1.right - m1.left, m1.bottom - m1.top);
  FormVideo->FAllowClose = false;
  if (!FormVideo->imgLogo.LoadFromFile(FLogo)) FormVideo->imgLogo.Clear();
  FormVideo->Show();
  return true;
}

void TLumivox::CloseControl() {
  Swallow([this] { SendMci(mci::kClose); });
  Swallow(DestroyMessageWindow);
  Swallow(DestroyVideoWindow);
  tmrClearDots.SetEnabled(false);
  tmrMouse.SetEnabled(false);
}

void TLumivox::TVTest() {
  SendMci(mci::kClose);
  if (!FormVideo) throw EOrvexError("The video window does not exist: call Initialize first");
  const auto bounds = CornerMarkBounds(FormVideo->ClientWidth(), FormVideo->ClientHeight());
  const std::array<TVideoMark*, 4> marks = {&FormVideo->lblLeftTop, &FormVideo->lblLeftBottom,
                                            &FormVideo->lblRightBottom, &FormVideo->lblRightTop};
  for (std::size_t i = 0; i < marks.size(); ++i) {
    marks[i]->SetBounds(bounds[i].left, bounds[i].top, bounds[i].width, bounds[i].height);
    marks[i]->SetVisible(true);
  }

// Location and motion are stored as given: the overlay runs an unknown motion
// as right to left and places an unknown location at the top.
void TLumivox::SetMsgLocation(int32_t value) { FMsgLocation = value; }

void TLumivox::SetMsgActionStyle(int32_t value) { FMsgActionStyle = value; }
  tmrClearDots.SetEnabled(true);
}

void TLumivox::SetLogo(const std::string& value) {
  const std::string name = TrimText(value);
  if (FormVideo) {
    if (FileExists(name)) {
      FormVideo->imgLogo.LoadFromFile(name);  // a failed load keeps the previous picture
    } else {
      FormVideo->imgLogo.Clear();
    }
  }
  FLogo = name;
}

void TLumivox::SetMsgSpeed(int32_t value) { FMsgSpeed = ClampMsgSpeed(value); }

void TLumivox::SetMsgRepeat(int32_t value) { FMsgRepeat = ClampMsgRepeat(value); }

void TLumivox::SetMsgInterval(int32_t value) { FMsgInterval = ClampMsgInterval(value); }
