// The demo's window driven through its real buttons and lists, against the
// registered control on the virtual two-monitor display. The control's calls
// pass through a recorder so the tests see what the handlers sent.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/win/RecordingLumivox.h"
#include "tests/win/TestSupport.h"
#include "demo/DemoForm.h"
#include "demo/DemoLayout.h"
#include "demo/ScreenCapture.h"

namespace {

using Calls = std::vector<std::string>;

// Answers the next system dialog or message box of this thread: notes its
// caption and text, then presses `button`.
class TDialogAnswer {
 public:
  explicit TDialogAnswer(int button) : button_(button) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
  }
  ~TDialogAnswer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool answered = false;
  std::wstring caption, text;

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && wcscmp(name, L"#32770") == 0) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TDialogAnswer* self = current_;
    if (!self || self->answered) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    wchar_t buffer[1024] = {};
    GetWindowTextW(dialog, buffer, 1024);
    self->caption = buffer;
    buffer[0] = 0;
    GetDlgItemTextW(dialog, 0xFFFF, buffer, 1024);  // a message box's text
    self->text = buffer;
    self->answered = true;
    PostMessageW(dialog, WM_COMMAND, self->button_, 0);
  }
  static inline TDialogAnswer* current_ = nullptr;
  int button_;
  UINT_PTR timer_ = 0;
};

class DemoFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Regsvr32(BuildOcxPath())); }

  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the virtual two-monitor display";
    ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(CLSID_Lumivox, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(object.Put())),
              S_OK);
    ComPtr<ILumivox> real;
    ASSERT_EQ(object.As(&real), S_OK);
    recorder_ = std::make_unique<TRecordingLumivox>(real.Get());
    ASSERT_EQ(form_.Create(object.Get(), recorder_.get()), S_OK);
    recorder_->calls.clear();
  }
  void TearDown() override { SendMessageW(form_.Handle(), WM_CLOSE, 0, 0); }

  void Click(int id) { SendMessageW(form_.Item(id), BM_CLICK, 0, 0); }
  void SetText(int id, const wchar_t* text) { SetWindowTextW(form_.Item(id), text); }
  Calls& calls() { return recorder_->calls; }
  // Adds the sample clip to the playlist, selects it and opens it.
  void OpenClip(const char* name = "sample clip.mpg") {
    const std::string path = TestDataPath(name);
    form_.AddToPlaylist(std::wstring(path.begin(), path.end()));
    SendMessageW(form_.Item(idLstFiles), LB_SETCURSEL, 0, 0);
    Click(idCmdOpen);
  }
  bool PanelBecomes(int panel, const std::wstring& text, DWORD ms = 10000) {
    return PumpUntil(ms, [&] { return form_.PanelText(panel) == text; });
  }

  std::unique_ptr<TRecordingLumivox> recorder_;
  TForm1 form_;
};

}  // namespace

TEST_F(DemoFormTest, ComponentsSitAtTheirTwipPlaces) {
  RECT client{};
  GetClientRect(form_.Handle(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(8340));
  EXPECT_EQ(client.bottom, TwipsToPixels(5955));
  const struct {
    int id, left, top, width, height;
  } places[] = {{idLstFiles, 120 + 90, 120 + 240, 5805, 2220},
                {idCmdOpen, 6240 + 150, 120 + 420, 765, 345},
                {idCmdLogo, 6240 + 150, 120 + 2520, 1575, 375},
                {idOptChannel2, 4920 + 2310, 3240 + 390, 855, 180},
                {idTxtRepeat, 120 + 5085, 4080 + 1050, 1575, 270},
                {idStbInformation, 0, 5580, 8340, 375}};
  for (const auto& p : places) {
    RECT r{};
    GetWindowRect(form_.Item(p.id), &r);
    MapWindowPoints(nullptr, form_.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, TwipsToPixels(p.left)) << p.id;
    EXPECT_EQ(r.top, TwipsToPixels(p.top)) << p.id;
    EXPECT_EQ(r.right - r.left, TwipsToPixels(p.width)) << p.id;
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(p.height)) << p.id;
  }
  wchar_t caption[64] = {};
  GetWindowTextW(form_.Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Halden Lumivox Control Demo");
  EXPECT_EQ(form_.PanelText(1), L"Orvex Demo");
  EXPECT_EQ(SendMessageW(form_.Item(idCmbLocation), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(form_.Item(idSldVolume), TBM_GETPOS, 0, 0), 50);
}

TEST_F(DemoFormTest, OpenWithNothingSelectedWarnsAndSendsNothing) {
  form_.AddToPlaylist(L"C:\\not selected.mpg");
  TDialogAnswer answer(IDOK);
  Click(idCmdOpen);
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.caption, L"错误");
  EXPECT_EQ(answer.text, L"请先选定一个要打开的项目！");
  EXPECT_EQ(calls(), Calls{});
}

TEST_F(DemoFormTest, FailedOpenShowsTheComposedMessage) {
  TDialogAnswer answer(IDOK);
  OpenClip("no such clip.mpg");
  ASSERT_TRUE(answer.answered);
  EXPECT_EQ(answer.caption, L"错误  ERROR");
  const std::string path = TestDataPath("no such clip.mpg");
  const std::wstring name(path.begin(), path.end());
  EXPECT_EQ(answer.text, L"打开" + name + L"失败！请检查是否安装播放该媒体所需要的编码解码器！\r"
                             L"Failed to open " + name +
                             L" ! Pls check whether installed correct decoding core!");
}

TEST_F(DemoFormTest, OpenFillsThePanelsAndCloseResetsLengthAndRate) {
  OpenClip();
  ASSERT_EQ(calls().at(1), "Open");
  const std::wstring length = form_.PanelText(3);
  EXPECT_EQ(length.rfind(L"媒体长度： ", 0), 0u) << "a blank before a positive number";
  EXPECT_GT(std::stoi(length.substr(6)), 3000);
  EXPECT_EQ(form_.PanelText(4).rfind(L"帧率： ", 0), 0u);
  EXPECT_EQ(form_.PanelText(5).rfind(L"当前位置： ", 0), 0u);
  EXPECT_TRUE(PanelBecomes(2, L"状态：播放"));

  Click(idCmdClose);
  EXPECT_EQ(form_.PanelText(3), L"媒体长度：0");
  EXPECT_EQ(form_.PanelText(4), L"帧率：0");
  EXPECT_TRUE(PanelBecomes(2, L"状态：未就绪"));
  EXPECT_TRUE(PanelBecomes(5, L"当前位置： 0"));
}

// The clip really plays to its end. There Wine's MPEG driver reports position
// 0 where the system's driver reports the length; the recorder reports the
// length, as that driver does.
TEST_F(DemoFormTest, TheTimerClosesAClipThatPlayedToItsEnd) {
  OpenClip();
  const std::wstring length = form_.PanelText(3);
  LONG frames = 0;
  recorder_->get_MediaLength(&frames);
  ASSERT_TRUE(PanelBecomes(2, L"状态：播放"));
  ASSERT_TRUE(PanelBecomes(2, L"状态：停止", 20000)) << "the clip ends";
  calls().clear();
  recorder_->reportedPosition = frames;
  EXPECT_TRUE(PumpUntil(2000, [&] { return calls() == Calls{"Close"}; }));
  EXPECT_TRUE(PanelBecomes(2, L"状态：未就绪"));
  EXPECT_EQ(form_.PanelText(3), length) << "the closed medium's length stays";
}

// The prefix's renderer puts the decoded frames on the screen: the picture's
// area (the clip's 320 x 240 at the panel's top left) changes from one second
// to the next and shows the test pattern's bars.
TEST_F(DemoFormTest, TheTelevisionShowsTheMovingPicture) {
  OpenClip();
  ASSERT_TRUE(PumpUntil(10000, [&] { return recorder_->lastPosition > 500; }));
  const RECT tv = TelevisionMonitor();
  const RECT area{tv.left + 8, tv.top + 8, tv.left + 312, tv.top + 232};
  const std::vector<uint32_t> first = CaptureScreen(area);
  PumpFor(1000);
  const std::vector<uint32_t> second = CaptureScreen(area);
  const auto close = [](uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > tolerance) return false;
    }
    return true;
  };
  int changed = 0;
  for (std::size_t i = 0; i < first.size(); ++i) changed += !close(first[i], second[i], 12);
  EXPECT_GT(changed, 1000) << "the picture moves";
  for (uint32_t bar : {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u, 0xFF00FFu, 0x00FFFFu}) {
    EXPECT_GT(std::count_if(first.begin(), first.end(), [&](uint32_t p) { return close(p, bar, 40); }),
              500)
        << std::hex << "bar " << bar;
  }
}

TEST_F(DemoFormTest, FastBackAtTheStartWritesANegativePosition) {
  OpenClip();
  // No tick has run since Open: the position is still 0.
  Click(idCmdFastback);
  ASSERT_EQ(recorder_->lastPosition, 0);
  ASSERT_GT(recorder_->lastRate, 0);
  EXPECT_EQ(calls().back(), "MediaPosition=" + std::to_string(-5 * recorder_->lastRate));
}

TEST_F(DemoFormTest, ShowMessageSendsTheConvertedNumbersInOrder) {
  SetText(idTxtInterval, L"2.5");
  SetText(idTxtSpeed, L"7 0");
  SetText(idTxtRepeat, L"&H3x");
  SetText(idTxtMessage, L" Orvex ");
  SendMessageW(form_.Item(idCmbAction), CB_SETCURSEL, 2, 0);
  SendMessageW(form_.Item(idCmbLocation), CB_SETCURSEL, 1, 0);
  Click(idChkTransparent);
  Click(idCmdDisplayMessage);
  EXPECT_EQ(calls(), (Calls{"MsgInterval=2", "MsgSpeed=70", "MsgActionStyle=2", "MsgRepeat=3",
                            "MsgLocation=1", "MsgTransparent=-1", "Message= Orvex ",
                            "DisplayMessage"}));

  calls().clear();
  SetText(idTxtSpeed, L"99999999999");
  TDialogAnswer answer(IDOK);
  Click(idCmdDisplayMessage);
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(calls(), Calls{}) << "nothing is sent while a number does not fit";
}

TEST_F(DemoFormTest, CancelledDialogsChangeNothingExceptTheLogo) {
  const struct {
    int button;
    Calls want;
  } cases[] = {{idCmdAdd, {}}, {idCmdMsgColor, {}}, {idCmdMsgFont, {}}, {idCmdLogo, {"Logo="}}};
  for (const auto& c : cases) {
    calls().clear();
    TDialogAnswer answer(IDCANCEL);
    Click(c.button);
    EXPECT_TRUE(answer.answered) << c.button;
    EXPECT_EQ(calls(), c.want) << c.button;
  }
  EXPECT_EQ(SendMessageW(form_.Item(idLstFiles), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(DemoFormTest, ChannelMuteVolumeAndClosingTheWindow) {
  Click(idOptChannel0);
  Click(idOptChannel2);
  Click(idChkMute);
  SendMessageW(form_.Item(idSldVolume), TBM_SETPOS, TRUE, 70);
  SendMessageW(form_.Handle(), WM_HSCROLL, TB_ENDTRACK,
               reinterpret_cast<LPARAM>(form_.Item(idSldVolume)));
  SendMessageW(form_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(calls(), (Calls{"Channel=1", "Channel=0", "Mute=-1", "Volume=70", "CloseControl"}));
  EXPECT_EQ(form_.Handle(), nullptr);
}
