// TLumivox::DisplayMessage: hands the message settings to the message window.
#include "message/UnitMessage.h"
#include "video/UnitVideo.h"
#include "control/LumivoxImpl.h"
#include "control/OutputWindows.h"

void TLumivox::DisplayMessage() {
  TFormMessage* strip = FormMessage();
  TFormVideo* video = FormVideo();
  if (!strip || !video) return;
  TMessageRequest request;
  request.text = FMessage;
  request.font = font_;
  request.color = color_;
  request.transparent = FMsgTransparent;
  request.backgroundColor = FMsgBackgroundColor;
  request.location = FMsgLocation;
  request.actionStyle = FMsgActionStyle;
  request.speed = FMsgSpeed;
  request.repeat = FMsgRepeat;
  request.interval = FMsgInterval;
  RECT bounds{};
  GetWindowRect(video->Handle(), &bounds);
  strip->Display(request, bounds);
}
