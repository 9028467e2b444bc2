// The borderless message strip laid over the video window: one label that
// scrolls or stands still, driven by tmrMove, with pauses timed by tmrRepeat.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/BorderlessForm.h"
#include "win/GdiHandles.h"
#include "win/WinTimer.h"
#include "message/MessageLabel.h"
#include "message/MessageRun.h"

// What a run needs from the control's message settings, copied at its start.
struct TMessageRequest {
  std::string text;
  TFontState font;
  uint32_t color = 0;  // OLE colour of the text
  bool transparent = false;
  uint32_t backgroundColor = 0;  // OLE colour of an opaque strip
  int32_t location = 0;
  int32_t actionStyle = 0;
  int32_t speed = 0;
  int32_t repeat = 0;
  int32_t interval = 0;
};

class TFormMessage : public TBorderlessForm {
 public:
  // Creates the hidden window with no owner; its timers start disabled.
  TFormMessage();
  ~TFormMessage() override;

  // Starts a run of the request in a strip over the video window's bounds,
  // replacing any run in progress.
  void Display(const TMessageRequest& request, const RECT& video);
  // Lays the strip along the video window's bounds again at the run's
  // location, as wide as the video window; a static label is centred again.
  void PlaceAlong(const RECT& video);
  void tmrMoveTimer();
  void tmrRepeatTimer();

  TMessageLabel lblMessage;
  TWinTimer tmrMove;
  TWinTimer tmrRepeat;
  // FRepeatLeft, FActionStyle and the label's motion; FAllowClose follows it.
  const TMessageRun& Run() const { return run_; }

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SetColors(bool transparent, COLORREF color);
  // The strip's bounds along the video window's at the run's location.
  void SetStripBounds(const RECT& video);
  void Paint(HDC dc, const RECT& area) const;
  // Shows the label where the run now puts it, repainting only what changed.
  void ShowLabelMove(int32_t oldLeft, bool oldVisible);
  // Scrolls the strip by one pixel (step -1 or 1), painting what the system
  // could not shift.
  void Scroll(int32_t step);
  void ApplyTimers();

  TMessageRun run_;
  int32_t stripWidth_ = 0;
  int32_t location_ = 0;
  COLORREF color_ = RGB(255, 255, 255);
  TGdiObject<HBRUSH> brush_;
};
