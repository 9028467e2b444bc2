#include <gtest/gtest.h>

#include "video/CornerMarks.h"
#include "video/LogoKind.h"

TEST(LogoKind, SixKindsByExtensionInAnyCase) {
  EXPECT_EQ(LogoKindFromName(L"C:\\logos\\station.BMP"), LogoKind::Bitmap);
  EXPECT_EQ(LogoKindFromName(L"a.ico"), LogoKind::Icon);
  EXPECT_EQ(LogoKindFromName(L"a.Wmf"), LogoKind::Metafile);
  EXPECT_EQ(LogoKindFromName(L"a.emf"), LogoKind::EnhancedMetafile);
  EXPECT_EQ(LogoKindFromName(L"a.jpg"), LogoKind::Jpeg);
  EXPECT_EQ(LogoKindFromName(L"a.b.JPEG"), LogoKind::Jpeg);
}

TEST(LogoKind, AnythingElseIsUnknown) {
  for (const wchar_t* name : {L"", L"logo", L"logo.", L"logo.png", L"logo.jpg.txt",
                              L"C:\\dir.bmp\\logo", L"bmp", L".bmpx"}) {
    EXPECT_EQ(LogoKindFromName(name), LogoKind::Unknown) << std::wstring(name).size();
  }
}

TEST(CornerMarks, SixtyPixelSquaresTouchingTheFourEdges) {
  const auto marks = CornerMarkBounds(800, 600);
  // left-top, left-bottom, right-bottom, right-top
  EXPECT_EQ(marks[0].left, 0);
  EXPECT_EQ(marks[0].top, 0);
  EXPECT_EQ(marks[1].left, 0);
  EXPECT_EQ(marks[1].top, 540);
  EXPECT_EQ(marks[2].left, 740);
  EXPECT_EQ(marks[2].top, 540);
  EXPECT_EQ(marks[3].left, 740);
  EXPECT_EQ(marks[3].top, 0);
  for (const MarkBounds& m : marks) {
    EXPECT_EQ(m.width, 60);
    EXPECT_EQ(m.height, 60);
  }
}
