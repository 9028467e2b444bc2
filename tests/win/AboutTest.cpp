// The About box through AboutOrvex: its layout read back from its windows,
// the ways to close it, and the thread's timers ticking while it is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/win/AboutWatch.h"
#include "tests/win/FakeSystem.h"
#include "tests/win/TestSupport.h"
#include "about/AboutResources.h"
#include "about/UnitAbout.h"
#include "win/ComSupport.h"
#include "win/GdiHandles.h"
#include "control/LumivoxImpl.h"
#include "video/UnitVideo.h"

namespace {

ComPtr<ILumivox> NewControl() {
  ComPtr<ILumivox> control;
  EXPECT_EQ(CreateLumivox(nullptr, IID_PPV_ARGS(control.Put())), S_OK);
  return control;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

struct TExpectedComponent {
  int id;
  int parentId;  // 0: the form
  const char* windowClass;
  RECT bounds;
  const wchar_t* face;
  int height;
  bool bold;
  BYTE charset;
  const wchar_t* text;  // null: any non-empty text
};

const TExpectedComponent kComponents[] = {
    {kAboutCtlImage, 0, nullptr, {8, 32, 65, 89}, nullptr, 0, false, 0, L""},
    {kAboutNameLbl, 0, "Static", {80, 8, 252, 31}, L"Comic Sans MS", -16, true, ANSI_CHARSET,
     L"Lumivox 1.2"},
    {kAboutCopyrightLbl, 0, "Static", {8, 120, 285, 133}, L"MS Sans Serif", -11, false,
     DEFAULT_CHARSET, nullptr},
    {kAboutDescLbl, 0, "Static", {72, 34, 321, 105}, L"宋体", -13, false, GB2312_CHARSET, nullptr},
    {kAboutLabel1, 0, "Static", {8, 104, 279, 117}, L"宋体", -13, false, DEFAULT_CHARSET, nullptr},
    {kAboutOkBtn, 0, "Button", {248, 176, 323, 198}, L"MS Sans Serif", -11, false,
     DEFAULT_CHARSET, L"关 闭"},
    {kAboutGroupBox1, 0, "Button", {8, 136, 233, 201}, L"MS Sans Serif", -11, false,
     DEFAULT_CHARSET, L""},
    {kAboutLabel2, kAboutGroupBox1, "Static", {8, 10, 208, 22}, L"宋体", -12, false,
     DEFAULT_CHARSET, nullptr},
    {kAboutLabel3, kAboutGroupBox1, "Static", {8, 25, 218, 37}, L"宋体", -12, false,
     DEFAULT_CHARSET, nullptr},
    {kAboutLabel4, kAboutGroupBox1, "Static", {57, 41, 217, 53}, L"宋体", -12, false,
     DEFAULT_CHARSET, nullptr},
};

HWND Component(HWND about, int id) {
  HWND group = GetDlgItem(about, kAboutGroupBox1);
  HWND direct = GetDlgItem(about, id);
  return direct ? direct : GetDlgItem(group, id);
}

void ExpectComponent(HWND about, const TExpectedComponent& want) {
  SCOPED_TRACE("component " + std::to_string(want.id));
  HWND window = Component(about, want.id);
  ASSERT_TRUE(window);
  EXPECT_EQ(GetParent(window), want.parentId ? GetDlgItem(about, want.parentId) : about);
  const RECT r = PlaceInParent(window);
  EXPECT_TRUE(EqualRect(&r, &want.bounds))
      << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
  if (want.text) {
    EXPECT_TRUE(TextOf(window) == want.text);
  } else {
    EXPECT_FALSE(TextOf(window).empty());
  }
  if (!want.windowClass) return;
  char windowClass[32] = {};
  GetClassNameA(window, windowClass, sizeof(windowClass));
  EXPECT_STRCASEEQ(windowClass, want.windowClass);
  const LOGFONTW font = FontOf(window);
  EXPECT_TRUE(std::wstring(font.lfFaceName) == want.face);
  EXPECT_EQ(font.lfHeight, want.height);
  EXPECT_EQ(font.lfWeight >= FW_BOLD, want.bold);
  EXPECT_EQ(font.lfCharSet, want.charset);
}

// The window's frame, place and keyboard set-up, its components, the
// description wrapped inside its box, and the picture.
void ExpectLayout(HWND about) {
  RECT client{}, frame{};
  GetClientRect(about, &client);
  GetWindowRect(about, &frame);
  EXPECT_EQ(client.right, 325);
  EXPECT_EQ(client.bottom, 207);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
  const LONG style = GetWindowLongA(about, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_TRUE(GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
  EXPECT_TRUE(SendMessageA(about, WM_GETICON, ICON_BIG, 0));
  EXPECT_TRUE(SendMessageA(about, WM_GETICON, ICON_SMALL, 0));
  HWND ok = GetDlgItem(about, IDOK);
  EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetNextDlgTabItem(about, nullptr, FALSE), ok) << "OkBtn is first in tab order";
  for (const TExpectedComponent& want : kComponents) ExpectComponent(about, want);

  HWND desc = GetDlgItem(about, kAboutDescLbl);
  const std::wstring text = TextOf(desc);
  RECT needed{0, 0, 249, 0};
  TEXTMETRICW metrics{};
  {
    const TWindowDC dc(desc);
    const TGdiSelection font(dc.Get(),
                             reinterpret_cast<HFONT>(SendMessageW(desc, WM_GETFONT, 0, 0)));
    DrawTextW(dc.Get(), text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    GetTextMetricsW(dc.Get(), &metrics);
  }
  EXPECT_GT(needed.bottom, metrics.tmHeight) << "wraps onto several lines";
  EXPECT_LE(needed.bottom, 71) << "fits its box";

  const TWindowDC screen;
  const TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  const TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 57, 57));
  const TGdiSelection selected(memory.Get(), bitmap.Get());
  SendMessageA(GetDlgItem(about, kAboutCtlImage), WM_PRINTCLIENT,
               reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(memory.Get(), 0, 0), GetSysColor(COLOR_BTNFACE))
      << "no frame without the mouse";
  EXPECT_NE(GetPixel(memory.Get(), 28, 28), GetSysColor(COLOR_BTNFACE)) << "the picture is drawn";
}

}  // namespace

TEST(AboutBox, ShowsItsLayoutModallyBeforeInitialize) {
  ComPtr<ILumivox> control = NewControl();
  HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
  HRESULT hr = E_FAIL;
  bool hostDisabled = false;
  const TAboutRun run = WhileAboutOpen(
      [&](HWND about) {
        ExpectLayout(about);
        hostDisabled = !IsWindowEnabled(host);
        PostMessageA(about, WM_CLOSE, 0, 0);
        return true;
      },
      [&] { hr = control->AboutOrvex(); });
  EXPECT_EQ(hr, S_OK);
  EXPECT_TRUE(run.seen);
  EXPECT_FALSE(run.timedOut);
  EXPECT_TRUE(hostDisabled) << "the host takes no input while the About box is open";
  EXPECT_TRUE(IsWindowEnabled(host));
  DestroyWindow(host);
}

TEST(AboutBox, ClosesByItsButtonEnterEscAndTheCloseBoxWithAFreshWindowEachTime) {
  ComPtr<ILumivox> control = NewControl();
  EXPECT_EQ(control->CloseControl(), S_OK);  // shown as usual after CloseControl
  const struct {
    const char* way;
    std::function<void(HWND)> close;
  } ways[] = {
      {"button", [](HWND about) { SendMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); }},
      {"Enter",
       [](HWND about) {
         HWND focus = GetFocus();
         PostMessageA(focus ? focus : about, WM_KEYDOWN, VK_RETURN, 1);
       }},
      {"Esc",
       [](HWND about) {
         HWND focus = GetFocus();
         PostMessageA(focus ? focus : about, WM_KEYDOWN, VK_ESCAPE, 1);
       }},
      {"close box", [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  HWND previous = nullptr;
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    HRESULT hr = E_FAIL;
    const TAboutRun run = WhileAboutOpen(
        [&](HWND about) {
          way.close(about);
          return true;
        },
        [&] { hr = control->AboutOrvex(); });
    EXPECT_EQ(hr, S_OK);
    EXPECT_FALSE(run.timedOut);
    ASSERT_TRUE(run.seen);
    EXPECT_NE(run.seen, previous);
    EXPECT_FALSE(IsWindow(run.seen)) << "nothing of the window remains";
    previous = run.seen;
  }
}

TEST(AboutBox, TheControlsTimersTickWhileItIsOpen) {
  FakeSystem os;
  TLumivox control{os};
  const auto polls = [&] { return std::count(os.mci.begin(), os.mci.end(), "status movie mode"); };
  long atOpen = -1;
  DWORD openedAt = 0;
  DWORD openMs = 0;
  const TAboutRun run = WhileAboutOpen(
      [&](HWND about) {
        if (atOpen < 0) atOpen = polls(), openedAt = GetTickCount();
        if (polls() < atOpen + 20) return false;
        openMs = GetTickCount() - openedAt;
        PostMessageA(about, WM_CLOSE, 0, 0);
        return true;
      },
      [] { ShowLumivoxAbout(); });
  EXPECT_TRUE(run.seen);
  EXPECT_FALSE(run.timedOut) << "tmrMouse polled " << polls() - atOpen << " times";
  // tmrMouse asks for 20 ticks a second.
  RecordProperty("TicksPerSecondWhileOpen", std::to_string(20 * 1000.0 / (openMs ? openMs : 1)));
}

TEST(AboutBox, TheControlsIconHasNineImagesAndMarksTheVideoWindow) {
  HMODULE ocx = LoadLibraryExA(BuildOcxPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(ocx);
  HRSRC found = FindResourceA(ocx, MAKEINTRESOURCEA(IDI_LUMIVOX), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_TRUE(found);
  const auto* group = static_cast<const WORD*>(LockResource(LoadResource(ocx, found)));
  ASSERT_TRUE(group);
  EXPECT_EQ(group[2], 9);  // idCount of the icon directory
  FreeLibrary(ocx);

  TFormVideo video;
  EXPECT_TRUE(SendMessageA(video.Handle(), WM_GETICON, ICON_BIG, 0));
}
