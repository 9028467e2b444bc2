// TLumivox::DisplayMessage: hands the message settings to the message window.
#include "message/UnitMessage.h"
#include "video/UnitVideo.h"
#include "control/LumivoxImpl.h"

void TLumivox::DisplayMessage() {
  if (!FormMessage || !FormVideo) return;
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
  RECT video{};
  GetWindowRect(FormVideo->Handle(), &video);
  FormMessage->Display(request, video);
}
