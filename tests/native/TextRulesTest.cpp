#include "control/TextRules.h"
#include "win/FileNameRules.h"

#include <gtest/gtest.h>

TEST(TrimText, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
  EXPECT_EQ(TrimText(" \t\r\n movie file.mpg \x01\x1f "), "movie file.mpg");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(TrimText(""), "");
  // Bytes of double-byte characters (code page 936) are above 0x80 and stay.
  EXPECT_EQ(TrimText(" \xb5\xe7\xd3\xb0.mpg "), "\xb5\xe7\xd3\xb0.mpg");
}

TEST(TryReadInt32, AcceptsOnlyWholeSignedDecimalNumbersInRange) {
  int32_t v = 7;
  EXPECT_TRUE(TryReadInt32("3959", v));
  EXPECT_EQ(v, 3959);
  EXPECT_TRUE(TryReadInt32("-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(TryReadInt32("+5", v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(TryReadInt32("2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(TryReadInt32("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);

  v = 7;
  for (const char* bad : {"", "-", "+", "2147483648", "-2147483649", "99999999999999999999",
                          "12.5", "1e3", "0x10", " 1", "1 ", "abc", "1,000"}) {
    EXPECT_FALSE(TryReadInt32(bad, v)) << bad;
  }
  EXPECT_EQ(v, 7) << "a failed read leaves the value alone";
}

TEST(BufferText, StopsAtTheFirstZeroOrAtTheBufferEnd) {
  const char withZero[8] = {'a', 'b', 0, 'c', 'd', 'e', 'f', 'g'};
  EXPECT_EQ(BufferText(withZero, sizeof(withZero)), "ab");
  const char full[4] = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(BufferText(full, sizeof(full)), "wxyz");
}

TEST(MayNameDiskFile, RefusesDevicesWhereverTheSystemWouldOpenOne) {
  for (const wchar_t* device :
       {L"", L"COM1", L"com9", L"LPT1", L"nul", L"CON", L"aux", L"PRN", L"CONIN$", L"conout$",
        L"COM1:", L"C:\\clips\\COM1.mpg", L"D:/clips/lpt3.avi", L"C:\\clips\\com1 .mpg",
        L"C:\\clips\\NUL.tar.mpg", L"C:\\a\\com\u00b9", L"\\\\.\\pipe\\clip", L"\\\\.\\C:",
        L"//./PhysicalDrive0", L"\\\\?\\GLOBALROOT\\Device\\Null"}) {
    EXPECT_FALSE(MayNameDiskFile(device)) << std::wstring(device).size();
  }
  EXPECT_FALSE(MayNameDiskFile(std::wstring(L"C:\\clip.mpg\0.txt", 16))) << "embedded zero";
  for (const wchar_t* file :
       {L"C:\\clips\\COM10.mpg", L"C:\\clips\\console.mpg", L"C:\\COM1\\clip.mpg", L"nul1",
        L"C:\\clips\\my.com1.mpg", L"\\\\?\\C:\\clips\\clip.mpg", L"\\\\?\\UNC\\server\\s\\a.mpg",
        L"\\\\server\\share\\clip.mpg", L"clip", L"C:\\\uc601\ud654.mpg"}) {
    EXPECT_TRUE(MayNameDiskFile(file)) << std::wstring(file).size();
  }
}
