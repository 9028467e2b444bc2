// CommonDialog1: one set of file, colour and font dialog settings shared by
// every dialog the demo shows, so each use starts where the last one ended
// (the colour dialog starts from the colour last chosen in it or in the font
// dialog; the font dialog from the font last chosen in it).
#pragma once
#include <windows.h>

#include <string>

class TCommonDialog {
 public:
  // Settings; Flags holds the system dialog's own option bits.
  std::wstring FileName;
  std::wstring Filter;  // "description|patterns|description|patterns..."
  DWORD Flags = 0;
  COLORREF Color = RGB(0, 0, 0);
  std::wstring FontName;
  float FontSize = 0;  // points
  bool FontBold = false;
  bool FontItalic = false;
  bool FontUnderline = false;
  bool FontStrikethru = false;

  // The open-file dialog; FileName becomes the chosen name, or empty after a cancel.
  void ShowOpen(HWND owner);
  // The colour and font dialogs; false after a cancel or a failure, with
  // the settings unchanged.
  bool ShowColor(HWND owner);
  bool ShowFont(HWND owner);

 private:
  COLORREF customColors_[16] = {};
  bool fontChosen_ = false;
};
