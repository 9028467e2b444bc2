#include "control/OutputWindows.h"

#include "message/UnitMessage.h"
#include "video/UnitVideo.h"

TOutputWindows::TOutputWindows() = default;

TOutputWindows::~TOutputWindows() { Destroy(); }

void TOutputWindows::Create() {
  Destroy();
  video_ = std::make_unique<TFormVideo>();
  message_ = std::make_unique<TFormMessage>();
}

void TOutputWindows::DestroyMessage() {
  if (!message_) return;
  message_->FAllowClose = true;
  message_->tmrMove.SetEnabled(false);
  message_->tmrRepeat.SetEnabled(false);
  message_->Close();
  message_.reset();
}

void TOutputWindows::DestroyVideo() {
  if (!video_) return;
  video_->FAllowClose = true;
  video_->Close();
  video_.reset();
}

void TOutputWindows::Destroy() {
  DestroyMessage();
  DestroyVideo();
}

void TOutputWindows::Place(const RECT& monitor0, const RECT& monitor1) {
  if (!video_) return;
  video_->SetBounds(monitor0.right - monitor0.left, 0, monitor1.right - monitor1.left,
                    monitor1.bottom - monitor1.top);
}

TOutputWindows& OutputWindows() {
  // Never destroyed by the runtime: at process exit other modules may be gone
  // already, so only an unload of the library destroys the windows.
  static TOutputWindows* const windows = new TOutputWindows();
  return *windows;
}
