#include "about/UnitAbout.h"

#include "win/OrvexError.h"
#include "about/AboutResources.h"

#include <vector>

namespace {

const char kFormClass[] = "TLumivoxAbout";
const char kFormCaption[] = "About Orvex";
const int kClientWidth = 325;
const int kClientHeight = 207;
const DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // fixed single border, close box only
const DWORD kFormExStyle = WS_EX_TOPMOST;
const COLORREF kBannerColor = RGB(0, 0, 255);

const wchar_t kBanner[] = L"Lumivox 1.2";
const wchar_t kCopyright[] = L"Copyright (C) 2004 Orvex. All rights reserved.";
const wchar_t kDescription[] =
    L"Lumivox 多媒体播放控件以软件解码方式播放各种多媒体文件，比硬件解压卡的播放控制更加灵活，"
    L"且成本低廉，适用于视频点播（VOD）等各类播放软件。";
const wchar_t kCopyrightChinese[] = L"版权所有 (C) 2004 Orvex，保留所有权利。";
const wchar_t kContactMaker[] = L"Orvex 多媒体软件工作室";
const wchar_t kContactMail[] = L"技术支持：support@orvex.example";
const wchar_t kContactMail2[] = L"lumivox@orvex.example";
const wchar_t kCloseCaption[] = L"关 闭";

struct TFontSpec {
  const wchar_t* face;
  int height;  // negative: character height in pixels
  bool bold;
  BYTE charset;
};

const TFontSpec kFormFont{L"MS Sans Serif", -11, false, DEFAULT_CHARSET};
const TFontSpec kBannerFont{L"Comic Sans MS", -16, true, ANSI_CHARSET};
const TFontSpec kDescFont{L"宋体", -13, false, GB2312_CHARSET};
const TFontSpec kNoticeFont{L"宋体", -13, false, DEFAULT_CHARSET};
const TFontSpec kContactFont{L"宋体", -12, false, DEFAULT_CHARSET};

HFONT CreateFontFrom(const TFontSpec& font_def) {
  LOGFONTW font{};
  font.lfHeight = font_def.height;
  font.lfWeight = font_def.bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = font_def.charset;
  lstrcpynW(font.lfFaceName, font_def.face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

RECT Box(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}

// Labels draw their text with prefix processing on the form's face colour.
const DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP;
const DWORD kWrappingLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

}  // namespace

TLumivoxAbout::TLumivoxAbout() : TBorderlessForm(kFormClass, kFormCaption, kFormExStyle, kFormStyle) {
  FAllowClose = true;  // closing is always allowed
  RECT frame = Box(0, 0, kClientWidth, kClientHeight);
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top);
  icon_ = std::make_unique<TWindowIcon>(Handle());
  CreateComponents();
}

TLumivoxAbout::~TLumivoxAbout() {
  picture_.reset();
  icon_.reset();
  DestroyHandle();
}

HWND TLumivoxAbout::AddChild(HWND parent, int id, const wchar_t* windowClass, DWORD style,
                             const RECT& bounds, const wchar_t* text, HFONT font) {
  HWND child = CreateWindowExW(0, windowClass, text, style, bounds.left, bounds.top,
                               bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!child) throw EOrvexError("Error creating window");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// The components in creation order (which is also the tab order).
void TLumivoxAbout::CreateComponents() {
  formFont_.Reset(CreateFontFrom(kFormFont));
  bannerFont_.Reset(CreateFontFrom(kBannerFont));
  descFont_.Reset(CreateFontFrom(kDescFont));
  noticeFont_.Reset(CreateFontFrom(kNoticeFont));
  contactFont_.Reset(CreateFontFrom(kContactFont));
  HWND form = Handle();
  SendMessageW(form, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.Get()), FALSE);

  picture_ = std::make_unique<TFlatPictureButton>(form, kAboutCtlImage, Box(8, 32, 57, 57),
                                                  LoadModuleIcon(IDI_ABOUT_PICTURE, 48));
  if (!picture_->Handle()) throw EOrvexError("Error creating window");
  AddChild(form, kAboutNameLbl, L"STATIC", kLabel, Box(80, 8, 172, 23), kBanner, bannerFont_.Get());
  AddChild(form, kAboutCopyrightLbl, L"STATIC", kLabel, Box(8, 120, 277, 13), kCopyright,
           formFont_.Get());
  AddChild(form, kAboutDescLbl, L"STATIC", kWrappingLabel, Box(72, 34, 249, 71), kDescription,
           descFont_.Get());
  AddChild(form, kAboutLabel1, L"STATIC", kLabel, Box(8, 104, 271, 13), kCopyrightChinese,
           noticeFont_.Get());
  AddChild(form, kAboutOkBtn, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
           Box(248, 176, 75, 22), kCloseCaption, formFont_.Get());
  HWND group = AddChild(form, kAboutGroupBox1, L"BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                        Box(8, 136, 225, 65), L"", formFont_.Get());
  AddChild(group, kAboutLabel2, L"STATIC", kLabel, Box(8, 10, 200, 12), kContactMaker, contactFont_.Get());
  AddChild(group, kAboutLabel3, L"STATIC", kLabel, Box(8, 25, 210, 12), kContactMail, contactFont_.Get());
  AddChild(group, kAboutLabel4, L"STATIC", kLabel, Box(57, 41, 160, 12), kContactMail2, contactFont_.Get());
}

void TLumivoxAbout::PlaceCentred() {
  RECT frame{};
  GetWindowRect(Handle(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(Handle(), HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(param);
  if (window != windows->front() && IsWindowVisible(window) && IsWindowEnabled(window)) {
    windows->push_back(window);
  }
  return TRUE;
}

// Disables the thread's visible, enabled top-level windows other than the
// modal one while it lives, and enables them again afterwards.
class TThreadWindowsDisabled {
 public:
  explicit TThreadWindowsDisabled(HWND modal) : windows_{modal} {
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&windows_));
    for (size_t i = 1; i < windows_.size(); ++i) EnableWindow(windows_[i], FALSE);
  }
  ~TThreadWindowsDisabled() {
    for (size_t i = 1; i < windows_.size(); ++i) {
      if (IsWindow(windows_[i])) EnableWindow(windows_[i], TRUE);
    }
  }

 private:
  std::vector<HWND> windows_;  // the modal window first
};

}  // namespace

int TLumivoxAbout::ShowModal() {
  modalResult_ = 0;
  const HWND previous = GetActiveWindow();
  {
    TThreadWindowsDisabled others(Handle());
    PlaceCentred();
    SetForegroundWindow(Handle());
    SetFocus(OkBtn());
    RunModalLoop();
  }
  // The others are enabled again before the window goes, so one of them
  // takes the activation back.
  Hide();
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return modalResult_ ? modalResult_ : kModalResultCancel;
}

// Until the window is closed (hidden). A quit request ends the loop and is
// posted again for the thread's own loop.
void TLumivoxAbout::RunModalLoop() {
  MSG msg;
  while (Visible()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsDialogMessageW(Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool TLumivoxAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      // OkBtn and Enter arrive as IDOK, Esc as IDCANCEL: OkBtn is also the
      // cancel button, and its modal result is OK.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        modalResult_ = kModalResultOk;
        Close();
        result = 0;
        return true;
      }
      return false;
    case DM_GETDEFID:
      result = MAKELRESULT(kAboutOkBtn, DC_HASDEFID);
      return true;
    case WM_CTLCOLORSTATIC: {
      // Labels have no background of their own; the banner is blue.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      const bool banner = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kAboutNameLbl;
      SetTextColor(dc, banner ? kBannerColor : GetSysColor(COLOR_WINDOWTEXT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      return true;
    }
    default:
      return false;
  }
}

void ShowLumivoxAbout() {
  TLumivoxAbout about;
  try {
    about.ShowModal();
  } catch (...) {
    // The window goes with `about`; the caller still succeeds.
  }
}
