#include "demo/DemoForm.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "win/TextConversion.h"
#include "demo/DemoLayout.h"
#include "demo/DemoRules.h"

const wchar_t* const TForm1::kCaption = L"Halden Lumivox Control Demo";
const wchar_t* const TForm1::kTitle = L"Orvex_Demo";

namespace {

const wchar_t kClassName[] = L"TForm1";
constexpr UINT_PTR kStatusTimer = 1;  // tmrStatus
constexpr UINT kStatusInterval = 50;
// Open-file options: the file must exist, no read-only box, long names.
constexpr DWORD kOpenFlags = 2101252;
const wchar_t kMediaFilter[] =
    L"*.DAT;*.MPG;*.AVI;*.VOB;*.VOD;*.MPEG;*.MP1;*.MP2|*.DAT;*.MPG;*.AVI;*.VOB;*.VOD;*.MPEG;*.MP1;"
    L"*.MP2|所有文件|*.*";
const wchar_t kLogoFilter[] = L"Jpg或Bmp文件|*.bmp;*.jpg";

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Sets one property of the control's live message font, late-bound as a
// script would.
HRESULT PutFontProperty(ILumivox* control, DISPID id, VARIANT value) {
  ComPtr<IFontDisp> font;
  HRESULT hr = control->get_MsgFont(font.Put());
  if (FAILED(hr)) return hr;
  if (!font) return E_POINTER;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return font->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                      nullptr, nullptr);
}

VARIANT BoolVariant(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

}  // namespace

TForm1::~TForm1() {
  if (window_) FormClose();
}

HRESULT TForm1::Create(IUnknown* control, ILumivox* calls) {
  if (!control) return E_POINTER;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);  // fails harmlessly when a second form registers it again

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kCaption, style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, instance, this);
  if (!window_) return HRESULT_FROM_WIN32(GetLastError());
  font_.Reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                          0, L"宋体"));
  CreateDemoComponents(window_, font_.Get());

  HRESULT hr = host_.Embed(control, window_, Orvex1Bounds(), false);
  if (SUCCEEDED(hr)) {
    if (calls) {
      calls_ = calls;
    } else {
      hr = host_.Query(&calls_);
    }
  }
  if (FAILED(hr)) {
    host_.Close();
    DestroyWindow(window_);
    return hr;
  }
  SetTimer(window_, kStatusTimer, kStatusInterval, nullptr);
  FormLoad();
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  return S_OK;
}

void TForm1::AddToPlaylist(const std::wstring& path) {
  SendDlgItemMessageW(window_, idLstFiles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

std::wstring TForm1::PanelText(int panel) const {
  HWND bar = Item(idStbInformation);
  const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, panel - 1, 0));
  std::wstring text(length + 1u, L'\0');
  SendMessageW(bar, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

void TForm1::SetPanel(int panel, const std::string& utf8) {
  const std::wstring text = Utf8ToWide(utf8);
  SendDlgItemMessageW(window_, idStbInformation, SB_SETTEXTW, panel - 1,
                      reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->window_ = window;
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return form ? form->Handle(message, wParam, lParam)
              : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TForm1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == Item(idSldVolume)) sldVolumeChange();
      return 0;
    case WM_TIMER:
      if (wParam == kStatusTimer) tmrStatusTimer();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_ENDSESSION:
      if (wParam) FormClose();
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kStatusTimer);
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// Start-up: the logo beside the program, Initialize, the first combo entries.
void TForm1::FormLoad() {
  std::vector<wchar_t> path(32768, L'\0');
  GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring logo(path.data());
  logo.resize(logo.find_last_of(L'\\') + 1);  // the folder, with its backslash
  logo += L"logo.jpg";
  const DWORD attributes = GetFileAttributesW(logo.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    TBstr name(logo);
    calls_->put_Logo(name.Get());
  }
  VARIANT_BOOL ok = VARIANT_FALSE;
  if (FAILED(calls_->Initialize(&ok)) || !ok) {
    MessageBoxW(window_, L"控件初始化失败，请检查是否电视机被正确识别且设置正确！", kTitle,
                MB_OK | MB_ICONERROR);
  }
  SendDlgItemMessageW(window_, idCmbLocation, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageW(window_, idCmbAction, CB_SETCURSEL, 0, 0);
}

// Any close of the window closes the control first; the close is never refused.
void TForm1::FormClose() {
  if (calls_) calls_->CloseControl();
  KillTimer(window_, kStatusTimer);
  calls_.Reset();
  host_.Close();
  DestroyWindow(window_);
}

void TForm1::OnCommand(int id) {
  if (!calls_) return;
  switch (id) {
    case idCmdAdd: cmdAddClick(); break;
    case idCmdErase: cmdEraseClick(); break;
    case idCmdClear: SendDlgItemMessageW(window_, idLstFiles, LB_RESETCONTENT, 0, 0); break;
    case idCmdOpen: cmdOpenClick(); break;
    case idCmdClose: cmdCloseClick(); break;
    case idCmdPlay: calls_->Play(); break;
    case idCmdPause: calls_->Pause(); break;
    case idCmdStop: calls_->Stop(); break;
    case idCmdFastback: Seek(-1); break;
    case idCmdFastforward: Seek(+1); break;
    case idCmdAbout: calls_->AboutOrvex(); break;
    case idCmdLogo: cmdLogoClick(); break;
    case idChkMute: chkMuteClick(); break;
    case idOptChannel0: optChannelClick(0); break;
    case idOptChannel1: optChannelClick(1); break;
    case idOptChannel2: optChannelClick(2); break;
    case idCmdDisplayMessage: cmdDisplayMessageClick(); break;
    case idCmdMsgColor: cmdMsgColorClick(); break;
    case idCmdMsgFont: cmdMsgFontClick(); break;
    default: break;
  }
}

void TForm1::cmdAddClick() {
  CommonDialog1.FileName.clear();
  CommonDialog1.Filter = kMediaFilter;
  CommonDialog1.Flags = kOpenFlags;
  CommonDialog1.ShowOpen(window_);
  if (!CommonDialog1.FileName.empty()) AddToPlaylist(CommonDialog1.FileName);
}

void TForm1::cmdEraseClick() {
  HWND list = Item(idLstFiles);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) SendMessageW(list, LB_DELETESTRING, selected, 0);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TForm1::cmdOpenClick() {
  HWND list = Item(idLstFiles);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    MessageBoxW(window_, L"请先选定一个要打开的项目！", L"错误", MB_OK | MB_ICONWARNING);
    return;
  }
  std::wstring item(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, selected, 0)) + 1, L'\0');
  item.resize(static_cast<std::size_t>(
      SendMessageW(list, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(item.data()))));
  TBstr name(item);
  calls_->put_FileName(name.Get());
  VARIANT_BOOL ok = VARIANT_FALSE;
  if (FAILED(calls_->Open(&ok))) ok = VARIANT_FALSE;
  if (!ok) {
    TBstr readBack;
    calls_->get_FileName(readBack.Put());
    const std::wstring text = Utf8ToWide(OpenFailureText(WideToUtf8(readBack.Text())));
    MessageBoxW(window_, text.c_str(), L"错误  ERROR", MB_OK | MB_ICONERROR);
    return;
  }
  TStatus status = sNotReady;
  calls_->get_MediaStatus(&status);
  const std::string state = StatusPanelText(status);
  if (!state.empty()) SetPanel(2, state);
  LONG length = 0, rate = 0, position = 0;
  calls_->get_MediaLength(&length);
  SetPanel(3, LabelledNumber(kLengthLabel, length));
  calls_->get_MediaRate(&rate);
  SetPanel(4, LabelledNumber(kRateLabel, rate));
  calls_->get_MediaPosition(&position);
  SetPanel(5, LabelledNumber(kPositionLabel, position));
}

void TForm1::cmdCloseClick() {
  calls_->Close();
  SetPanel(3, std::string(kLengthLabel) + "0");
  SetPanel(4, std::string(kRateLabel) + "0");
}

void TForm1::Seek(int direction) {
  LONG rate = 0, position = 0;
  calls_->get_MediaRate(&rate);
  calls_->get_MediaPosition(&position);
  calls_->put_MediaPosition(SeekTarget(position, rate, direction));
}

void TForm1::chkMuteClick() {
  calls_->put_Mute(IsDlgButtonChecked(window_, idChkMute) == BST_CHECKED ? VARIANT_TRUE
                                                                         : VARIANT_FALSE);
}

void TForm1::optChannelClick(int index) {
  if (const std::optional<int32_t> channel = ChannelForOption(index))
    calls_->put_Channel(static_cast<TChannel>(*channel));
}

void TForm1::sldVolumeChange() {
  calls_->put_Volume(static_cast<LONG>(SendDlgItemMessageW(window_, idSldVolume, TBM_GETPOS, 0, 0)));
}

void TForm1::cmdDisplayMessageClick() {
  const int boxes[] = {idTxtInterval, idTxtSpeed, idTxtRepeat};
  int32_t numbers[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::optional<int32_t> n = ReadLenientNumber(WideToUtf8(WindowText(Item(boxes[i]))));
    if (!n) {
      // Nothing is sent while a setting cannot be represented.
      MessageBoxW(window_, L"字幕设置的数值超出范围！", L"错误", MB_OK | MB_ICONWARNING);
      return;
    }
    numbers[i] = *n;
  }
  const auto action = SendDlgItemMessageW(window_, idCmbAction, CB_GETCURSEL, 0, 0);
  const auto location = SendDlgItemMessageW(window_, idCmbLocation, CB_GETCURSEL, 0, 0);
  calls_->put_MsgInterval(numbers[0]);
  calls_->put_MsgSpeed(numbers[1]);
  calls_->put_MsgActionStyle(static_cast<TActionStyle>(action));
  calls_->put_MsgRepeat(numbers[2]);
  calls_->put_MsgLocation(static_cast<TLocation>(location));
  calls_->put_MsgTransparent(IsDlgButtonChecked(window_, idChkTransparent) == BST_CHECKED
                                 ? VARIANT_TRUE
                                 : VARIANT_FALSE);
  TBstr message(WindowText(Item(idTxtMessage)));
  calls_->put_Message(message.Get());
  calls_->DisplayMessage();
}

void TForm1::cmdMsgColorClick() {
  CommonDialog1.Flags = CC_RGBINIT;
  if (!CommonDialog1.ShowColor(window_)) return;
  calls_->put_MsgBackgroundColor(CommonDialog1.Color);
}

// Each font property is written on the font object MsgFont returns, so the
// writes land on the control's live message font. A failure stops silently.
void TForm1::cmdMsgFontClick() {
  CommonDialog1.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS;  // 259
  if (!CommonDialog1.ShowFont(window_)) return;
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(CommonDialog1.FontName.c_str());
  VARIANT size;
  VariantInit(&size);
  size.vt = VT_R4;
  size.fltVal = CommonDialog1.FontSize;
  const struct {
    DISPID id;
    VARIANT value;
  } writes[] = {{DISPID_FONT_NAME, name},
                {DISPID_FONT_SIZE, size},
                {DISPID_FONT_BOLD, BoolVariant(CommonDialog1.FontBold)},
                {DISPID_FONT_ITALIC, BoolVariant(CommonDialog1.FontItalic)},
                {DISPID_FONT_UNDER, BoolVariant(CommonDialog1.FontUnderline)},
                {DISPID_FONT_STRIKE, BoolVariant(CommonDialog1.FontStrikethru)}};
  bool ok = true;
  for (const auto& w : writes) {
    if (FAILED(PutFontProperty(calls_.Get(), w.id, w.value))) {
      ok = false;
      break;
    }
  }
  VariantClear(&name);
  if (ok) calls_->put_MsgColor(CommonDialog1.Color);
}

void TForm1::cmdLogoClick() {
  CommonDialog1.FileName.clear();
  CommonDialog1.Filter = kLogoFilter;
  CommonDialog1.Flags = kOpenFlags;
  CommonDialog1.ShowOpen(window_);
  TBstr name(CommonDialog1.FileName);  // empty after a cancel: the logo goes away
  calls_->put_Logo(name.Get());
}

void TForm1::tmrStatusTimer() {
  if (!calls_) return;
  ++ticks_;
  TStatus status = sNotReady;
  calls_->get_MediaStatus(&status);
  const std::wstring state = Utf8ToWide(StatusPanelText(status));
  if (state != PanelText(2)) SetPanel(2, WideToUtf8(state));

  LONG length = 0, position = 0;
  calls_->get_MediaLength(&length);
  calls_->get_MediaPosition(&position);
  calls_->get_MediaStatus(&status);
  if (length == position && status == sStopped) calls_->Close();

  calls_->get_MediaPosition(&position);
  SetPanel(5, LabelledNumber(kPositionLabel, position));
}
