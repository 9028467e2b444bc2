// The message overlay of the registered control, through its automation
// interface, on the virtual two-monitor display: the strip's bounds and style,
// its colour key, what the X server's screen shows, runs that end, refused
// close requests, restarts, and many runs in a row without growth.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/win/TestSupport.h"
#include "win/ComSupport.h"
#include "win/GdiHandles.h"
#include "control/OrvexTypeLib.h"

namespace {

const bool registered = RegisterBuildOcxFirst();

constexpr OLE_COLOR kRed = 0x000000FF;    // text
constexpr OLE_COLOR kGreen = 0x0000FF00;  // opaque background
constexpr COLORREF kRedText = RGB(255, 0, 0);
// The logo's bottom quadrants, under a strip along the bottom.
constexpr COLORREF kLogoBlue = RGB(0, 0, 255);
constexpr COLORREF kLogoYellow = RGB(255, 255, 0);

// The pixels that draw(dc) leaves in a w x h image first filled with fill.
template <typename Draw>
std::vector<COLORREF> PixelsDrawnBy(int w, int h, COLORREF fill, Draw draw) {
  std::vector<COLORREF> pixels(static_cast<size_t>(w > 0 && h > 0 ? w * h : 0));
  if (pixels.empty()) return pixels;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  const TMemoryDC memory(CreateCompatibleDC(nullptr));
  const TGdiObject<HBITMAP> image(
      CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image) return pixels;
  const TGdiSelection selected(memory.Get(), image.Get());
  auto* p = static_cast<uint32_t*>(bits);
  std::fill(p, p + pixels.size(), (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill));
  draw(memory.Get());
  GdiFlush();
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
  }
  return pixels;
}

// The pixels of a screen rectangle as the X server shows them.
std::vector<COLORREF> Capture(const RECT& r) {
  return PixelsDrawnBy(r.right - r.left, r.bottom - r.top, 0, [&](HDC memory) {
    const TWindowDC screen;
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen.Get(), r.left, r.top, SRCCOPY);
  });
}

int CountOf(const std::vector<COLORREF>& pixels, COLORREF color) {
  int n = 0;
  for (COLORREF c : pixels) n += c == color;
  return n;
}

// What the screen shows inside the strip's bounds, less the edge pixels where
// the video panel's bevel lies under the strip.
struct TCensus {
  int text, white, green, logo;
};

TCensus CensusOfStrip() {
  RECT inner = WindowBounds(Strip());
  InflateRect(&inner, -2, -2);
  const std::vector<COLORREF> pixels = Capture(inner);
  return {CountOf(pixels, RGB(255, 0, 0)), CountOf(pixels, RGB(255, 255, 255)),
          CountOf(pixels, RGB(0, 255, 0)),
          CountOf(pixels, kLogoBlue) + CountOf(pixels, kLogoYellow)};
}

// The strip painted afresh in full at its label's present place, as the part
// of the screen given; pixels it leaves unpainted keep the colour fill.
std::vector<COLORREF> FullRepaint(const RECT& part, COLORREF fill) {
  const RECT strip = WindowBounds(Strip());
  return PixelsDrawnBy(part.right - part.left, part.bottom - part.top, fill, [&](HDC memory) {
    SetViewportOrgEx(memory, strip.left - part.left, strip.top - part.top, nullptr);
    SendMessageA(Strip(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  });
}

// Waits until the screen shows the pixels, dispatching no message meanwhile
// (so no timer moves the label) but letting the window system bring what was
// drawn to the screen; returns how many pixels differ at the end.
size_t DifferenceOnScreenUntilEqual(DWORD milliseconds, const RECT& part,
                                    const std::vector<COLORREF>& expected) {
  const DWORD start = GetTickCount();
  for (;;) {
    const std::vector<COLORREF> seen = Capture(part);
    size_t differ = 0;
    for (size_t i = 0; i < seen.size(); ++i) differ += seen[i] != expected[i];
    if (differ == 0 || GetTickCount() - start >= milliseconds) return differ;
    MSG msg;
    PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_NOREMOVE);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, 0);
  }
}

class MessageOverlayTest : public ::testing::Test {
 protected:
  ComPtr<ILumivox> control;
  std::string logo;

  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the virtual two-monitor display";
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Orvex.Lumivox", &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(control.Put())),
              S_OK);
    logo = MakeTempFolder("orvex message") + "\\logo.bmp";
    WriteFileBytes(logo, QuadrantBitmapFile(320, 240));
    SetText(&ILumivox::put_Logo, std::wstring(logo.begin(), logo.end()).c_str());
    VARIANT_BOOL ok = 0;
    ASSERT_EQ(control->Initialize(&ok), S_OK);
    ASSERT_TRUE(ok);
    UseFont(L"SimSun", 24);
    control->put_MsgColor(kRed);
    control->put_MsgBackgroundColor(kGreen);
  }

  void TearDown() override {
    if (control) control->CloseControl();
    control.Reset();
    DeleteFileA(logo.c_str());
  }

  void SetText(HRESULT (STDMETHODCALLTYPE ILumivox::*put)(BSTR), const wchar_t* text) {
    EXPECT_EQ((control.Get()->*put)(TBstr(text).Get()), S_OK);
  }

  void UseFont(const wchar_t* face, int points) {
    FONTDESC desc{sizeof(desc), const_cast<LPOLESTR>(face), {}, FW_BOLD, GB2312_CHARSET};
    desc.cySize.int64 = int64_t{points} * 10000;
    ComPtr<IFontDisp> font;
    ASSERT_EQ(OleCreateFontIndirect(&desc, IID_PPV_ARGS(font.Put())), S_OK);
    EXPECT_EQ(control->putref_MsgFont(font.Get()), S_OK);
  }

  // A static run that stays up: nothing moves while the screen is read.
  void ShowStatic(const wchar_t* text, bool transparent, LONG seconds = 0, LONG repeat = 0) {
    SetText(&ILumivox::put_Message, text);
    control->put_MsgActionStyle(aStatic);
    control->put_MsgSpeed(seconds);
    control->put_MsgRepeat(repeat);
    control->put_MsgTransparent(transparent ? VARIANT_TRUE : VARIANT_FALSE);
    ASSERT_EQ(control->DisplayMessage(), S_OK);
  }
};

}  // namespace

TEST_F(MessageOverlayTest, StripLiesAlongTheVideoWindowAtEachLocation) {
  const RECT video = WindowBounds(Video());
  const int videoHeight = video.bottom - video.top;
  int height = 0;
  for (LONG location : {0L, 1L, 2L, 3L, -4L}) {
    SCOPED_TRACE(location);
    control->put_MsgLocation(static_cast<TLocation>(location));
    ShowStatic(L"Orvex \x6d88\x606f", false);
    ASSERT_TRUE(IsWindowVisible(Strip()));
    const RECT r = WindowBounds(Strip());
    height = r.bottom - r.top;
    EXPECT_GT(height, 20) << "as tall as a 24-point line";
    EXPECT_EQ(r.left, video.left);
    EXPECT_EQ(r.right, video.right);
    const int offset = location == lBottom   ? videoHeight - height
                       : location == lMiddle ? (videoHeight - height) / 2
                                             : 0;  // top, and any other value
    EXPECT_EQ(r.top, video.top + offset);
    EXPECT_TRUE(GetWindowLongA(Strip(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(Strip(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    wchar_t title[64] = {};
    GetWindowTextW(Strip(), title, 64);
    EXPECT_STREQ(title, L"Orvex \x6d88\x606f");
  }
}

TEST_F(MessageOverlayTest, ColourKeyLetsTheLogoThroughOnlyWhenTransparent) {
  // Transparent: the key is white and on; the screen shows text and logo and
  // nothing white inside the strip.
  ShowStatic(L"Orvex \x6d88\x606f &&", true);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Strip(), &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(255, 255, 255));
  EXPECT_TRUE(flags & LWA_COLORKEY);
  TCensus seen{};
  EXPECT_TRUE(PumpUntil(20000, [&] {
    seen = CensusOfStrip();
    return seen.text > 20 && seen.white == 0 && seen.logo > 1000;
  })) << "text " << seen.text << " white " << seen.white << " logo " << seen.logo;
  // Opaque: no key; text on the background colour hides the logo.
  ShowStatic(L"Orvex \x6d88\x606f &&", false);
  flags = 0;
  EXPECT_FALSE(GetLayeredWindowAttributes(Strip(), &key, &alpha, &flags) &&
               (flags & LWA_COLORKEY));
  EXPECT_TRUE(PumpUntil(20000, [&] {
    seen = CensusOfStrip();
    return seen.text > 20 && seen.green > 1000 && seen.logo == 0;
  })) << "text " << seen.text << " green " << seen.green << " logo " << seen.logo;
}

TEST_F(MessageOverlayTest, RunsEndHiddenRefuseToCloseAndRestart) {
  // Two one-second passes with an hour's pause between them.
  control->put_MsgInterval(3600);
  ShowStatic(L"Orvex", false, 1, 2);
  SendMessageA(Strip(), WM_CLOSE, 0, 0);
  PostMessageA(Strip(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpFor(100);
  EXPECT_TRUE(IsWindowVisible(Strip())) << "a run in progress refuses to close";
  TCensus seen{};
  EXPECT_TRUE(PumpUntil(20000, [&] { return (seen = CensusOfStrip()).text > 20; }));
  EXPECT_TRUE(PumpUntil(20000, [&] { return (seen = CensusOfStrip()).text == 0; }))
      << "after the first pass the label is hidden for the pause";
  EXPECT_TRUE(IsWindowVisible(Strip()));

  // DisplayMessage in the pause starts afresh: the text is back at once, and
  // the new run's single pass ends it.
  control->put_MsgRepeat(1);
  ASSERT_EQ(control->DisplayMessage(), S_OK);
  EXPECT_TRUE(PumpUntil(20000, [&] { return (seen = CensusOfStrip()).text > 20; }));
  EXPECT_TRUE(PumpUntil(20000, [&] { return !IsWindowVisible(Strip()); }))
      << "the end of the run hides the strip";
  EXPECT_NE(Strip(), nullptr) << "hidden, not destroyed";
}

TEST_F(MessageOverlayTest, ScreenShowsWhatAFullRepaintDraws) {
  // A scrolling strip that another top-most window covers in part for a
  // second, or that reaches past the screen's edge (pixels scrolled in from
  // there are not the strip's); a label too large to render into an image,
  // whose glyphs' background must be painted too.
  std::wstring longText;
  for (int i = 0; i < 40; ++i) longText += L"Orvex \x6d88\x606f ";
  const RECT video = WindowBounds(Video());
  const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const int eighth = (video.right - video.left) / 8;
  struct Case {
    const wchar_t* text;
    int points;
    LONG style, location;
    int videoLeft;           // where the video window is moved first
    int coverFrom, coverTo;  // the covered columns of the strip, in eighths
  } cases[] = {
      {longText.c_str(), 24, aRightToLeft, lBottom, video.left, 5, 7},
      {longText.c_str(), 24, aRightToLeft, lBottom, screen.right - 6 * eighth, 0, 0},
      {longText.c_str(), 24, aLeftToRight, lBottom, screen.left - 2 * eighth, 0, 0},
      {L"Orvex message overlay, far too large", 2000, aStatic, lTop, video.left, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << c.style << ", video at " << c.videoLeft);
    SetWindowPos(Video(), nullptr, c.videoLeft, video.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetText(&ILumivox::put_Message, c.text);
    UseFont(L"SimSun", c.points);
    control->put_MsgActionStyle(static_cast<TActionStyle>(c.style));
    control->put_MsgLocation(static_cast<TLocation>(c.location));
    control->put_MsgSpeed(c.style == aStatic ? 0 : 990);
    ASSERT_EQ(control->DisplayMessage(), S_OK);
    const RECT strip = WindowBounds(Strip()), shown = WindowBounds(Video());
    RECT part{};  // what the screen shows of the strip
    IntersectRect(&part, &strip, &screen);
    IntersectRect(&part, &part, &shown);
    RECT watched = part;
    if (c.coverTo > c.coverFrom) {
      watched.left = strip.left + c.coverFrom * eighth;
      watched.right = strip.left + c.coverTo * eighth;
    }
    if (c.style != aStatic &&
        !PumpUntil(20000, [&] { return CountOf(Capture(watched), kRedText) > 50; })) {
      ADD_FAILURE() << "the text never scrolls into view";
      continue;
    }
    if (c.coverTo > c.coverFrom) {
      // Pixels of neither strip colour: the cover's.
      const auto foreign = [](const RECT& r) {
        const std::vector<COLORREF> pixels = Capture(r);
        return pixels.size() - CountOf(pixels, kRedText) - CountOf(pixels, kGreen);
      };
      {
        const std::unique_ptr<HWND__, decltype(&DestroyWindow)> cover(
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "",
                            WS_POPUP | WS_VISIBLE | SS_BLACKRECT, watched.left, watched.top,
                            watched.right - watched.left, watched.bottom - watched.top, nullptr,
                            nullptr, nullptr, nullptr),
            &DestroyWindow);
        const size_t area = (watched.right - watched.left) * (watched.bottom - watched.top);
        ASSERT_TRUE(PumpUntil(20000, [&] { return foreign(watched) == area; }));
        PumpFor(1000);
      }
      ASSERT_TRUE(PumpUntil(20000, [&] { return foreign(part) == 0; })) << "the cover is gone";
    }
    ASSERT_TRUE(PumpUntil(20000, [] { return !GetUpdateRect(Strip(), nullptr, FALSE); }));
    EXPECT_EQ(DifferenceOnScreenUntilEqual(5000, part, FullRepaint(part, RGB(255, 0, 255))), 0u);
  }
}

TEST_F(MessageOverlayTest, PropertyChangesDuringARunChangeNothingOnScreen) {
  ShowStatic(L"Orvex \x6d88\x606f", false);
  TCensus seen{};
  ASSERT_TRUE(PumpUntil(20000, [&] { return (seen = CensusOfStrip()).text > 20; }));
  const RECT bounds = WindowBounds(Strip());
  const std::vector<COLORREF> before = Capture(bounds);

  SetText(&ILumivox::put_Message, L"changed");
  UseFont(L"SimSun", 40);
  control->put_MsgColor(0x00FF0000);
  control->put_MsgBackgroundColor(0);
  control->put_MsgTransparent(VARIANT_TRUE);
  control->put_MsgLocation(lTop);
  control->put_MsgActionStyle(aLeftToRight);
  control->put_MsgSpeed(999);
  PumpFor(500);
  const RECT after = WindowBounds(Strip());
  EXPECT_TRUE(EqualRect(&bounds, &after));
  EXPECT_TRUE(Capture(bounds) == before) << "the screen shows the run as it started";
}

TEST_F(MessageOverlayTest, BadInputNeitherFailsNorLeavesTheStripsPlace) {
  const RECT video = WindowBounds(Video());
  const std::wstring huge(100000, L'\x6d88');
  struct Case {
    const wchar_t* text;
    int points;
    OLE_COLOR color;
    LONG location, style, speed;
  } cases[] = {
      {L"", 0, 0x80000012, lBottom, aRightToLeft, -999},
      {huge.c_str(), 12, 0xFFFFFFFF, 7, aLeftToRight, 999},
      {L"a&b\tc\r\nd", 2000, 0x12345678, -1, 99, 0},
      {huge.c_str(), 2000, 0x8000FFFF, lMiddle, aStatic, -999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    SetText(&ILumivox::put_Message, c.text);
    UseFont(c.points ? L"No Such Face At All" : L"", c.points);
    control->put_MsgColor(c.color);
    control->put_MsgBackgroundColor(c.color);
    control->put_MsgLocation(static_cast<TLocation>(c.location));
    control->put_MsgActionStyle(static_cast<TActionStyle>(c.style));
    control->put_MsgSpeed(c.speed);
    const DWORD start = GetTickCount();
    EXPECT_EQ(control->DisplayMessage(), S_OK);
    PumpFor(200);
    EXPECT_LT(GetTickCount() - start, 10000u);
    const RECT r = WindowBounds(Strip());
    EXPECT_EQ(r.left, video.left);
    EXPECT_EQ(r.right, video.right);
    EXPECT_TRUE(IsWindowVisible(Strip()));
  }
}

TEST_F(MessageOverlayTest, AThousandRunsLeaveWindowsDescriptorsAndMemoryWhereTheySettled) {
  // A narrow video window makes a full pass a few ticks long.
  const RECT video = WindowBounds(Video());
  SetWindowPos(Video(), nullptr, video.left, video.top, 4, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  UseFont(L"SimSun", 6);
  control->put_MsgSpeed(999);
  control->put_MsgRepeat(1);
  const std::string proc = OwnProcFolder();
  ASSERT_FALSE(proc.empty()) << "the test's process under /proc";
  TProcessUsage settled{};
  for (int run = 0; run < 1000; ++run) {
    if (run == 50) settled = ProcessUsage(proc);
    control->put_MsgActionStyle(static_cast<TActionStyle>(run % 2));
    control->put_MsgTransparent(run % 3 == 0 ? VARIANT_TRUE : VARIANT_FALSE);
    SetText(&ILumivox::put_Message, run % 5 ? L"" : L"\x6d88");
    ASSERT_EQ(control->DisplayMessage(), S_OK);
    if (run % 25 == 0) {
      ASSERT_TRUE(PumpUntil(10000, [] { return !IsWindowVisible(Strip()); })) << "run " << run;
    } else {
      PumpFor(0);
    }
  }
  const TProcessUsage now = ProcessUsage(proc);
  EXPECT_EQ(now.windows, settled.windows);
  EXPECT_LE(now.fds, settled.fds + 1);
  EXPECT_LE(now.rssKb, settled.rssKb + 2048) << "resident kB after 50 runs " << settled.rssKb;
  std::printf("%s after 50 runs: %d windows, %d fds, %d kB; after 1000: %d, %d, %d kB\n",
              proc.c_str(), settled.windows, settled.fds, settled.rssKb, now.windows, now.fds, now.rssKb);
}
