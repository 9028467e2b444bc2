#include "demo/CommonDialog.h"

#include <commdlg.h>

#include <cwchar>
#include <vector>

#include "win/GdiHandles.h"

namespace {

// "a|b|c|d" as the system wants it: "a\0b\0c\0d\0\0".
std::vector<wchar_t> SystemFilter(const std::wstring& filter) {
  std::vector<wchar_t> out(filter.begin(), filter.end());
  for (wchar_t& c : out) {
    if (c == L'|') c = L'\0';
  }
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

}  // namespace

void TCommonDialog::ShowOpen(HWND owner) {
  std::vector<wchar_t> filter = SystemFilter(Filter);
  std::vector<wchar_t> name(32768, L'\0');
  wcsncpy(name.data(), FileName.c_str(), name.size() - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = Flags | OFN_EXPLORER;
  FileName = GetOpenFileNameW(&ofn) ? name.data() : L"";
}

bool TCommonDialog::ShowColor(HWND owner) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = Color;
  cc.lpCustColors = customColors_;
  cc.Flags = Flags;
  if (!ChooseColorW(&cc)) return false;
  Color = cc.rgbResult;
  return true;
}

bool TCommonDialog::ShowFont(HWND owner) {
  LOGFONTW font{};
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = owner;
  cf.lpLogFont = &font;
  cf.Flags = Flags;
  cf.rgbColors = Color;
  if (fontChosen_) {
    const TWindowDC screen;
    const int pixelsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    font.lfHeight = -MulDiv(static_cast<int>(FontSize * 10 + 0.5f), pixelsPerInch, 720);
    font.lfWeight = FontBold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FontItalic;
    font.lfUnderline = FontUnderline;
    font.lfStrikeOut = FontStrikethru;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, FontName.c_str(), LF_FACESIZE - 1);
    cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  if (!ChooseFontW(&cf)) return false;
  FontName = font.lfFaceName;
  FontSize = static_cast<float>(cf.iPointSize) / 10.0f;
  FontBold = font.lfWeight >= FW_BOLD;
  FontItalic = font.lfItalic != 0;
  FontUnderline = font.lfUnderline != 0;
  FontStrikethru = font.lfStrikeOut != 0;
  if (cf.Flags & CF_EFFECTS) Color = cf.rgbColors;
  fontChosen_ = true;
  return true;
}
