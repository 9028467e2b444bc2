// The borderless message strip laid over the video window.
#pragma once
#include <windows.h>

#include "../control/BorderlessForm.h"
#include "../control/WinTimer.h"

class TFormMessage : public TBorderlessForm {
 public:
  // Creates the hidden window with no owner; its timers start disabled.
  TFormMessage();

  TWinTimer tmrMove;
  TWinTimer tmrRepeat;
};

// The module's one message window, or null.
extern TFormMessage* FormMessage;
