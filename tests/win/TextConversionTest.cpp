// The one text-conversion module against known texts in the prefix's system
// code page (936) and UTF-8: embedded NULs, characters the target lacks,
// malformed input.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win/TextConversion.h"

namespace {

TEST(TextConversion, SystemCodePageAndUtf8BothWays) {
  ASSERT_EQ(GetACP(), 936u) << "the prefix runs with the simplified Chinese code page";
  struct Case {
    bool ansi;  // the system code page, else UTF-8
    std::string narrow;
    std::wstring wide;
    bool toWide, toNarrow;
  };
  const Case cases[] = {
      {true, "", L"", true, true},
      {true, std::string("a\0\xca\xd3\xc6\xb5", 6), std::wstring(L"a\0\u89c6\u9891", 4), true, true},
      {true, "?", L"\u0e01", false, true},  // not in the code page: its default character
      {false, "", L"", true, true},
      {false, std::string("\xe8\xa7\x86\0z", 5), std::wstring(L"\u89c6\0z", 3), true, true},
      {false, "\xf0\x9f\x8e\xac", L"\xd83c\xdfac", true, true},  // a surrogate pair
      {false, "a\xff" "b", L"a\xfffd" L"b", true, false},       // malformed: replaced
  };
  for (const Case& c : cases) {
    if (c.toWide) EXPECT_EQ(c.ansi ? AnsiToWide(c.narrow) : Utf8ToWide(c.narrow), c.wide) << c.narrow;
    if (c.toNarrow) EXPECT_EQ(c.ansi ? WideToAnsi(c.wide) : WideToUtf8(c.wide), c.narrow) << c.narrow;
  }
}

}  // namespace
