#include "UnitMessage.h"

TFormMessage* FormMessage = nullptr;

namespace {
const char kFormClass[] = "TFormMessage";
}

TFormMessage::TFormMessage()
    : TBorderlessForm(kFormClass, "", 0),
      tmrMove(0, false),
      tmrRepeat(0, false) {}
