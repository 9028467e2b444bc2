#include "demo/DemoLayout.h"

#include <commctrl.h>

#include "win/GdiHandles.h"
#include "demo/DemoForm.h"

namespace {

enum class TKind { Frame, Button, List, Text, Combo, Check, Option, Slider, Label, StatusBar };

struct TComponent {
  int id;
  int frame;  // the frame's id, or 0 for the form's client area
  TKind kind;
  const wchar_t* caption;
  int left, top, width, height;  // twips
};

constexpr int kButtonW = 765, kButtonH = 345;

const TComponent kComponents[] = {
    {idFrame1, 0, TKind::Frame, L"文件列表", 120, 120, 6015, 3045},
    {idLstFiles, idFrame1, TKind::List, L"", 90, 240, 5805, 2220},
    {idCmdAdd, idFrame1, TKind::Button, L"添 加(&A)", 240, 2520, 1065, 405},
    {idCmdErase, idFrame1, TKind::Button, L"删 除(&D)", 2430, 2520, 1065, 405},
    {idCmdClear, idFrame1, TKind::Button, L"清 除(&C)", 4620, 2520, 1065, 405},

    {idFrame5, 0, TKind::Frame, L"播放控制", 6240, 120, 1965, 3045},
    {idCmdOpen, idFrame5, TKind::Button, L"打开", 150, 420, kButtonW, kButtonH},
    {idCmdClose, idFrame5, TKind::Button, L"关闭", 990, 420, kButtonW, kButtonH},
    {idCmdPlay, idFrame5, TKind::Button, L"播放", 150, 970, kButtonW, kButtonH},
    {idCmdPause, idFrame5, TKind::Button, L"暂停", 990, 970, kButtonW, kButtonH},
    {idCmdFastback, idFrame5, TKind::Button, L"快退", 150, 1520, kButtonW, kButtonH},
    {idCmdFastforward, idFrame5, TKind::Button, L"快进", 990, 1520, kButtonW, kButtonH},
    {idCmdStop, idFrame5, TKind::Button, L"停止", 150, 2070, kButtonW, kButtonH},
    {idCmdAbout, idFrame5, TKind::Button, L"关于", 990, 2070, kButtonW, kButtonH},
    {idCmdLogo, idFrame5, TKind::Button, L"更改封面图片", 150, 2520, 1575, 375},

    {idFrame6, 0, TKind::Frame, L"音量控制", 120, 3240, 4695, 795},
    {idSldVolume, idFrame6, TKind::Slider, L"", 120, 240, 3495, 375},
    {idChkMute, idFrame6, TKind::Check, L"静音", 3870, 270, 795, 375},

    {idFrame3, 0, TKind::Frame, L"声道", 4920, 3240, 3285, 825},
    {idOptChannel0, idFrame3, TKind::Option, L"左声道", 180, 390, 855, 180},
    {idOptChannel1, idFrame3, TKind::Option, L"右声道", 1245, 390, 855, 180},
    {idOptChannel2, idFrame3, TKind::Option, L"立体声", 2310, 390, 855, 180},

    {idFrame2, 0, TKind::Frame, L"字幕控制", 120, 4080, 8055, 1455},
    {idLabel6, idFrame2, TKind::Label, L"字幕：", 240, 263, 615, 255},
    {idTxtMessage, idFrame2, TKind::Text, L"欢迎使用 Lumivox Control Ver 1.0 视频点播字幕", 840, 255,
     3105, 270},
    {idChkTransparent, idFrame2, TKind::Check, L"字幕背景透明", 4005, 240, 1455, 255},
    {idLabel5, idFrame2, TKind::Label, L"字幕动作：", 5475, 255, 900, 180},
    {idCmbAction, idFrame2, TKind::Combo, L"", 6435, 195, 1530, 300},
    {idCmdMsgFont, idFrame2, TKind::Button, L"字幕字体", 240, 600, 1335, 375},
    {idLabel3, idFrame2, TKind::Label, L"位置：", 1800, 720, 615, 255},
    {idCmbLocation, idFrame2, TKind::Combo, L"", 2400, 690, 1575, 300},
    {idLabel7, idFrame2, TKind::Label, L"重复间隔：", 4125, 720, 1095, 255},
    {idTxtInterval, idFrame2, TKind::Text, L"1", 5085, 690, 1080, 270},
    {idLabel9, idFrame2, TKind::Label, L"秒钟", 6225, 690, 390, 255},
    {idCmdDisplayMessage, idFrame2, TKind::Button, L"显示字幕", 6720, 690, 1215, 660},
    {idCmdMsgColor, idFrame2, TKind::Button, L"字幕背景色", 240, 1005, 1335, 375},
    {idLabel4, idFrame2, TKind::Label, L"速度：", 1800, 1080, 615, 255},
    {idTxtSpeed, idFrame2, TKind::Text, L"990", 2400, 1050, 1575, 270},
    {idLabel8, idFrame2, TKind::Label, L"重复次数：", 4125, 1110, 900, 180},
    {idTxtRepeat, idFrame2, TKind::Text, L"3", 5085, 1050, 1575, 270},

    {idStbInformation, 0, TKind::StatusBar, L"", 0, 5580, 8340, 375},
};

const wchar_t* const kActionEntries[] = {L"0-从右到左", L"1-从左到右", L"2-静态"};
const wchar_t* const kLocationEntries[] = {L"0-底部", L"1-中间", L"2-顶部"};
// The status panels' right edges in pixels (the last reaches the window's edge).
const int kPanelEdges[] = {80, 190, 320, 410, -1};
const wchar_t* const kPanelTexts[] = {L"Orvex Demo", L"状态：未就绪", L"媒体长度：0", L"帧率：0",
                                      L"当前位置："};

const TComponent* FindComponent(int id) {
  for (const TComponent& c : kComponents) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

// The component's rectangle in the form's client area, in twips.
RECT TwipsRect(const TComponent& c) {
  RECT r{c.left, c.top, c.left + c.width, c.top + c.height};
  if (const TComponent* frame = FindComponent(c.frame)) OffsetRect(&r, frame->left, frame->top);
  return r;
}

struct TWindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

TWindowKind KindOf(const TComponent& c) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  switch (c.kind) {
    case TKind::Frame: return {L"BUTTON", child | BS_GROUPBOX, 0};
    case TKind::Button: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case TKind::List:
      return {L"LISTBOX", child | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE};
    case TKind::Text: return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case TKind::Combo: return {L"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case TKind::Check: return {L"BUTTON", child | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case TKind::Option:
      // The first option of the group starts a new group.
      return {L"BUTTON",
              child | BS_AUTORADIOBUTTON | (c.id == idOptChannel0 ? WS_GROUP | WS_TABSTOP : 0u), 0};
    case TKind::Slider:
      return {TRACKBAR_CLASSW, child | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM, 0};
    case TKind::Label: return {L"STATIC", child | SS_LEFT, 0};
    case TKind::StatusBar:
      return {STATUSCLASSNAMEW, child | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
  }
  return {L"STATIC", child, 0};
}

// Contents the components start with beyond their captions.
void Fill(HWND form) {
  for (const wchar_t* entry : kActionEntries)
    SendDlgItemMessageW(form, idCmbAction, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  for (const wchar_t* entry : kLocationEntries)
    SendDlgItemMessageW(form, idCmbLocation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  SendDlgItemMessageW(form, idSldVolume, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
  SendDlgItemMessageW(form, idSldVolume, TBM_SETTICFREQ, 10, 0);
  SendDlgItemMessageW(form, idSldVolume, TBM_SETPOS, TRUE, 50);
  CheckDlgButton(form, idOptChannel2, BST_CHECKED);

  HWND bar = GetDlgItem(form, idStbInformation);
  SendMessageW(bar, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(kPanelEdges));
  for (int i = 0; i < 5; ++i)
    SendMessageW(bar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(kPanelTexts[i]));
}

}  // namespace

int TwipsToPixels(int twips) {
  const TWindowDC screen;
  return MulDiv(twips, GetDeviceCaps(screen.Get(), LOGPIXELSX), 1440);
}

void CreateDemoComponents(HWND form, HFONT font) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form, GWLP_HINSTANCE));
  for (const TComponent& c : kComponents) {
    const RECT r = TwipsRect(c);
    const TWindowKind kind = KindOf(c);
    // A drop-down list's height includes its open list.
    const int extra = c.kind == TKind::Combo ? 120 : 0;
    HWND item = CreateWindowExW(
        kind.exStyle, kind.className, c.caption, kind.style, TwipsToPixels(r.left),
        TwipsToPixels(r.top), TwipsToPixels(r.right - r.left),
        TwipsToPixels(r.bottom - r.top) + extra, form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  Fill(form);
}

RECT Orvex1Bounds() {
  const TComponent* frame = FindComponent(idFrame1);
  const int left = frame->left + 5160, top = frame->top + 240;
  return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(left + 735),
          TwipsToPixels(top + 375)};
}
