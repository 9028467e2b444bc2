// The control's About window: the product banner, a picture, a description,
// the ownership notices, the contact lines and a close button. AboutOrvex
// shows a fresh one modally and destroys it before returning.
#pragma once
#include <windows.h>

#include <memory>

#include "win/BorderlessForm.h"
#include "win/GdiHandles.h"
#include "about/FlatPictureButton.h"
#include "win/LumivoxIcon.h"

// Control identifiers of the components; OkBtn answers as IDOK.
enum TAboutComponentId : int {
  kAboutCtlImage = 101,
  kAboutNameLbl,
  kAboutCopyrightLbl,
  kAboutDescLbl,
  kAboutLabel1,
  kAboutOkBtn = IDOK,
  kAboutGroupBox1 = 107,
  kAboutLabel2,
  kAboutLabel3,
  kAboutLabel4,
};

constexpr int kModalResultOk = 1;
constexpr int kModalResultCancel = 2;

class TLumivoxAbout : public TBorderlessForm {
 public:
  // Creates the hidden window and its components, with no owner; throws
  // EOrvexError when the window cannot be created.
  TLumivoxAbout();
  ~TLumivoxAbout() override;

  // Shows the window centred on the screen and top-most, with the thread's
  // other windows disabled, and runs the thread's messages (so every timer
  // keeps ticking) until the window is closed. Returns the modal result:
  // kModalResultOk from OkBtn, Enter or Esc, kModalResultCancel from the close box.
  int ShowModal();

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND AddChild(HWND parent, int id, const wchar_t* windowClass, DWORD style, const RECT& bounds,
                const wchar_t* text, HFONT font);
  void CreateComponents();
  void PlaceCentred();
  void RunModalLoop();
  HWND OkBtn() const { return GetDlgItem(Handle(), kAboutOkBtn); }

  using TFont = TGdiObject<HFONT>;

  // Fonts outlive the windows that use them.
  TFont formFont_;
  TFont bannerFont_;
  TFont descFont_;
  TFont noticeFont_;
  TFont contactFont_;
  std::unique_ptr<TFlatPictureButton> picture_;
  std::unique_ptr<TWindowIcon> icon_;
  int modalResult_ = 0;
};

// AboutOrvex: creates a TLumivoxAbout with no owner (a failure to create it
// propagates), shows it modally and destroys it; a failure while it is shown
// is dropped.
void ShowLumivoxAbout();
