// Text between the system's ANSI code page, UTF-16 and UTF-8: the one place
// that calls the system's conversions. Lengths are explicit, so embedded NULs
// are kept; the conversions never fail on bad input: a character the target
// cannot hold becomes the code page's default character, and bytes that are
// not valid in the source encoding become a replacement character, as the
// system's conversions do without strict flags. Empty in, empty out.
#pragma once
#include <string>
#include <string_view>

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// The text in the ANSI code page only when every character has its own
// there (no default character, no best fit); false and nothing written else.
bool WideToAnsiExactly(std::wstring_view text, std::string& ansi);
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
