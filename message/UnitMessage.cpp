#include "UnitMessage.h"

TFormMessage* FormMessage = nullptr;

namespace {
const char kFormClass[] = "TFormMessage";
}

TFormMessage::TFormMessage()
    : TBorderlessForm(kFormClass, "", WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
      tmrMove(0, false),
      tmrRepeat(0, false) {}
