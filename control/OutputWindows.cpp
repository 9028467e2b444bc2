#include "control/OutputWindows.h"

#include "message/UnitMessage.h"
#include "video/UnitVideo.h"

TOutputWindows::TOutputWindows() = default;

TOutputWindows::~TOutputWindows() { Destroy(); }

// Windows can be destroyed only by the thread that made them: an object on
// another thread shares the pair as it is.
bool TOutputWindows::OwnedByThisThread() const {
  return (!video_ && !message_) || owner_ == GetCurrentThreadId();
}

void TOutputWindows::Create() {
  if (!OwnedByThisThread()) return;
  Destroy();
  video_ = std::make_unique<TFormVideo>();
  message_ = std::make_unique<TFormMessage>();
  owner_ = GetCurrentThreadId();
}

void TOutputWindows::DestroyMessage() {
  if (!message_ || !OwnedByThisThread()) return;
  message_->FAllowClose = true;
  message_->tmrMove.SetEnabled(false);
  message_->tmrRepeat.SetEnabled(false);
  message_->Close();
  message_.reset();
}

void TOutputWindows::DestroyVideo() {
  if (!video_ || !OwnedByThisThread()) return;
  video_->FAllowClose = true;
  video_->Close();
  video_.reset();
}

void TOutputWindows::Destroy() {
  DestroyMessage();
  DestroyVideo();
}

namespace {

MonitorLayout LayoutOf(const std::vector<RECT>& monitors) {
  MonitorLayout layout;
  layout.reserve(monitors.size());
  for (const RECT& r : monitors) layout.push_back({r.left, r.top, r.right, r.bottom});
  return layout;
}

}  // namespace

void TOutputWindows::Place(const std::vector<RECT>& monitors) {
  placedFor_ = LayoutOf(monitors);
  if (!video_) return;
  const std::optional<LayoutRect> place = VideoWindowPlacement(placedFor_);
  if (!place) {
    if (message_) message_->HoldHidden(true);
    video_->HoldHidden(true);
    return;
  }
  const RECT video{place->left, place->top, place->right, place->bottom};
  video_->SetBounds(video.left, video.top, video.right - video.left, video.bottom - video.top);
  video_->HoldHidden(false);
  if (!message_) return;
  if (message_->ShowAsked()) message_->PlaceAlong(video);
  message_->HoldHidden(false);
}

void TOutputWindows::Follow(const std::vector<RECT>& monitors) {
  if (LayoutOf(monitors) != placedFor_) Place(monitors);
}

TOutputWindows& OutputWindows() {
  // Never destroyed by the runtime: at process exit other modules may be gone
  // already, so only an unload of the library destroys the windows.
  static TOutputWindows* const windows = new TOutputWindows();
  return *windows;
}
