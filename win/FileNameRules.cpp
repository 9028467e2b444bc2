#include "win/FileNameRules.h"

#include <array>

namespace {

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

bool SameLetters(std::wstring_view text, std::wstring_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (Upper(text[i]) != upper[i]) return false;
  }
  return true;
}

bool IsLetter(wchar_t c) { return Upper(c) >= L'A' && Upper(c) <= L'Z'; }

// "\\.\anything", or "\\?\" that does not go on with "X:\" or "UNC\".
bool InDeviceNamespace(std::wstring_view name) {
  if (name.size() < 4 || !IsSlash(name[0]) || !IsSlash(name[1]) || !IsSlash(name[3])) {
    return false;
  }
  if (name[2] == L'.') return true;
  if (name[2] != L'?') return false;
  const std::wstring_view rest = name.substr(4);
  const bool drive = rest.size() >= 3 && IsLetter(rest[0]) && rest[1] == L':' && IsSlash(rest[2]);
  const bool unc = rest.size() >= 4 && SameLetters(rest.substr(0, 3), L"UNC") && IsSlash(rest[3]);
  return !drive && !unc;
}

// The last part of the path up to its first dot, without the blanks and
// dots the system drops at its end: "C:\clips\com1 .mpg" gives "com1".
std::wstring_view DeviceStem(std::wstring_view name) {
  while (!name.empty() && name.back() == L':') name.remove_suffix(1);  // "COM1:"
  const std::size_t slash = name.find_last_of(L"\\/:");
  std::wstring_view last = slash == std::wstring_view::npos ? name : name.substr(slash + 1);
  last = last.substr(0, last.find(L'.'));
  while (!last.empty() && (last.back() == L' ' || last.back() == L'.')) last.remove_suffix(1);
  return last;
}

bool IsReservedDeviceName(std::wstring_view stem) {
  static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN",    L"AUX",
                                                              L"NUL", L"CONIN$", L"CONOUT$"};
  for (const std::wstring_view reserved : kPlain) {
    if (SameLetters(stem, reserved)) return true;
  }
  // COM and LPT with one digit, or the superscript digits 1 to 3.
  if (stem.size() != 4) return false;
  if (!SameLetters(stem.substr(0, 3), L"COM") && !SameLetters(stem.substr(0, 3), L"LPT")) {
    return false;
  }
  const wchar_t d = stem[3];
  return (d >= L'0' && d <= L'9') || d == L'\u00B9' || d == L'\u00B2' || d == L'\u00B3';
}

}  // namespace

bool MayNameDiskFile(std::wstring_view name) {
  if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return false;
  return !InDeviceNamespace(name) && !IsReservedDeviceName(DeviceStem(name));
}
