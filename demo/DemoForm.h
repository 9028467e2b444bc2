// Form1, the demo's one window: a playlist, transport and seek buttons,
// volume, mute and channel, the message settings, the cover picture, About,
// and a five-panel status bar fed by a 50 ms timer. It hosts one Orvex1
// control and does all its work through the control's automation members.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/ComSupport.h"
#include "win/GdiHandles.h"
#include "control/OrvexTypeLib.h"
#include "demo/CommonDialog.h"
#include "demo/ControlHost.h"

// Child window identifiers of the form's components.
enum TDemoItem : int {
  idFrame1 = 100, idLstFiles, idCmdAdd, idCmdErase, idCmdClear,
  idFrame5 = 110, idCmdOpen, idCmdClose, idCmdPlay, idCmdPause, idCmdFastback,
  idCmdFastforward, idCmdStop, idCmdAbout, idCmdLogo,
  idFrame6 = 130, idSldVolume, idChkMute,
  idFrame3 = 140, idOptChannel0, idOptChannel1, idOptChannel2,
  idFrame2 = 150, idLabel6, idTxtMessage, idChkTransparent, idLabel5, idCmbAction,
  idCmdMsgFont, idLabel3, idCmbLocation, idLabel7, idTxtInterval, idLabel9,
  idCmdDisplayMessage, idCmdMsgColor, idLabel4, idTxtSpeed, idLabel8, idTxtRepeat,
  idStbInformation = 180,
};

class TForm1 {
 public:
  TForm1() = default;
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Creates the window with its components, embeds the control at Orvex1's
  // place and starts tmrStatus. The handlers call the control's ILumivox, or
  // `calls` when given (an object that forwards to the control). Then runs
  // the start-up steps and shows the window. The window lives until it is
  // closed (or the form destroyed); the caller's message loop watches it.
  HRESULT Create(IUnknown* control, ILumivox* calls = nullptr);
  HWND Handle() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  // Appends a path to the playlist.
  void AddToPlaylist(const std::wstring& path);
  // The text a status-bar panel shows (1 to 5).
  std::wstring PanelText(int panel) const;
  // tmrStatus ticks since creation.
  uint64_t StatusTicks() const { return ticks_; }
  ILumivox* Control() const { return calls_.Get(); }

  // The window's caption and the program's title.
  static const wchar_t* const kCaption;
  static const wchar_t* const kTitle;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateComponents();
  void FormLoad();
  void FormClose();
  void OnCommand(int id);
  void SetPanel(int panel, const std::string& utf8);

  // Handlers.
  void cmdAddClick();
  void cmdEraseClick();
  void cmdOpenClick();
  void cmdCloseClick();
  void Seek(int direction);
  void chkMuteClick();
  void optChannelClick(int index);
  void sldVolumeChange();
  void cmdDisplayMessageClick();
  void cmdMsgColorClick();
  void cmdMsgFontClick();
  void cmdLogoClick();
  void tmrStatusTimer();

  HWND window_ = nullptr;
  TGdiObject<HFONT> font_;  // the components' font: WM_SETFONT lends it, the form keeps it
  TControlHost host_;
  ComPtr<ILumivox> calls_;
  TCommonDialog CommonDialog1;
  uint64_t ticks_ = 0;
};
