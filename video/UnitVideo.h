// The borderless video window shown on the television: the panel the media
// device draws into, the logo image and the four corner test marks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "win/LumivoxIcon.h"
#include "win/BorderlessForm.h"
#include "win/GdiHandles.h"
#include "video/LogoPicture.h"

class TFormVideo;

// A child window filling the form's client area; parent of the media picture.
class TVideoPanel {
 public:
  HWND Handle() const { return handle_; }
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;

 private:
  friend class TFormVideo;
  HWND handle_ = nullptr;
};

// A red filled square drawn on the panel; hidden until shown.
class TVideoMark {
 public:
  RECT Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetVisible(bool visible);

 private:
  friend class TFormVideo;
  HWND panel_ = nullptr;
  RECT bounds_{0, 0, 6, 6};
  bool visible_ = false;
};

// The logo: drawn stretched over the panel inside its bevel.
class TVideoImage {
 public:
  bool LoadFromFile(const std::wstring& fileName);
  void Clear();
  bool Empty() const { return picture_.Empty(); }
  const TLogoPicture& Picture() const { return picture_; }

 private:
  friend class TFormVideo;
  HWND panel_ = nullptr;
  TLogoPicture picture_;
};

class TFormVideo : public TBorderlessForm {
 public:
  // Creates the hidden window and its components, with no owner.
  TFormVideo();
  ~TFormVideo() override;

  TVideoPanel pnlVideo;
  TVideoMark lblLeftTop;
  TVideoMark lblLeftBottom;
  TVideoMark lblRightTop;
  TVideoMark lblRightBottom;
  TVideoImage imgLogo;
  // FAllowClose (false at creation) comes from TBorderlessForm.
  // Called when the system reports a change of the display layout.
  std::function<void()> OnDisplayChange;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PaintPanel(HDC dc) const;
  TGdiObject<HFONT> captionFont_;
  TWindowIcon icon_;  // the control's icon
};
