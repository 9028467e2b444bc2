#include <algorithm>
#include <cstring>
#include <cwchar>

#include "tests/win/ControlFixture.h"

using Strings = std::vector<std::string>;

namespace {
const char kShort[] = "Z:\\CLIPS\\SAMPLE~1.MPG";

uint32_t GiveShortPath(const std::wstring&, wchar_t* buffer, uint32_t size) {
  const std::wstring path = AnsiToWide(kShort);
  std::wcsncpy(buffer, path.c_str(), size);
  return static_cast<uint32_t>(path.size());
}
}  // namespace

class OpenTest : public ControlTest {
 protected:
  void SetUp() override {
    InitializeQuietly();
    control.SetFileName(L"Z:\\clips\\sample clip.mpg");
    os.onShortPath = GiveShortPath;
    os.Answer("status movie length", 0, "3959");
    os.Answer("status movie nominal frame rate", 0, "25000");
  }
  Strings AfterOpen() const {
    const std::string put = "put movie window at 0 0 " +
                            std::to_string(FormVideo()->pnlVideo.ClientWidth()) + " " +
                            std::to_string(FormVideo()->pnlVideo.ClientHeight());
    return {put, "status movie length", "status movie nominal frame rate", "setaudio movie on",
            "setaudio movie source to  stereo", "play movie"};
  }
};

TEST_F(OpenTest, FirstDriverAcceptsTheFile) {
  control.SetFileName(L"  Z:\\clips\\sample clip.mpg \t");
  EXPECT_TRUE(control.Open());
  Strings expected{"close movie", OpenText(kShort, "digitalvideo")};
  for (const auto& c : AfterOpen()) expected.push_back(c);
  EXPECT_EQ(os.mci, expected);
  EXPECT_EQ(os.log[1], "short Z:\\clips\\sample clip.mpg") << "the trimmed name is used";
  EXPECT_EQ(control.FileName(), L"  Z:\\clips\\sample clip.mpg \t") << "the stored name is kept";
  EXPECT_EQ(control.MediaLength(), 3959);
  EXPECT_EQ(control.MediaRate(), 25);
}

TEST_F(OpenTest, SecondDriverAfterTheFirstRefuses) {
  os.answers[OpenText(kShort, "digitalvideo")] = {263, ""};
  control.SetMute(true);
  control.SetChannel(cRight);
  os.Clear();
  EXPECT_TRUE(control.Open());
  ASSERT_GE(os.mci.size(), 3u);
  EXPECT_EQ(os.mci[1], OpenText(kShort, "digitalvideo"));
  EXPECT_EQ(os.mci[2], OpenText(kShort, "MPEGVideo"));
  EXPECT_EQ(os.mci[6], "setaudio movie off");
  EXPECT_EQ(os.mci[7], "setaudio movie source to  right");
  EXPECT_EQ(os.mci.back(), "play movie");
}

TEST_F(OpenTest, DisplaysStayAwakeWhileTheOpenDevicePlays) {
  // The same transitions whether or not the system grants the request.
  for (const uint32_t result : {uint32_t{ES_CONTINUOUS}, uint32_t{0}}) {
    os.executionStateResult = result;
    ASSERT_TRUE(control.Open());
    const struct {
      const char* step;
      Strings awake;
    } steps[] = {{"stopped", {}},
                 {"playing", {kKeepAwakeCall}},
                 {"playing", {}},
                 {"paused", {kWithdrawCall}},
                 {"paused", {}},
                 {"playing", {kKeepAwakeCall}},
                 {"Close", {kWithdrawCall}},
                 {"not ready", {}}};
    for (const auto& s : steps) {
      os.Clear();
      if (s.step == std::string("Close")) {
        control.Close();
      } else {
        Tick(control, os, s.step);
        EXPECT_EQ(os.mci.back(), "status movie position") << "the tick goes on";
      }
      EXPECT_EQ(AwakeCalls(os), s.awake) << s.step << ", system answers " << result;
    }
  }
}

TEST_F(OpenTest, BothDriversRefuseAMissingFile) {
  os.onShortPath = nullptr;  // no such file: the short path stays empty
  control.SetFileName(L"Z:\\no\\such.mpg");
  os.Answer(OpenText("", "digitalvideo"), 263);
  os.Answer(OpenText("", "MPEGVideo"), 275);
  EXPECT_FALSE(control.Open());
  EXPECT_EQ(os.mci, (Strings{"close movie",
                             "open  type digitalvideo alias movie parent " + PanelHandle() +
                                 " style child shareable",
                             OpenText("", "MPEGVideo")}));
  EXPECT_EQ(control.MediaLength(), 0);
}

TEST_F(OpenTest, FailedRateQueryGivesOneAndEmptyLengthGivesZero) {
  os.Answer("status movie length", 0, "  ");
  os.Answer("status movie nominal frame rate", 261, "garbage");
  EXPECT_TRUE(control.Open());
  EXPECT_EQ(control.MediaLength(), 0);
  EXPECT_EQ(control.MediaRate(), 1);
}

TEST_F(OpenTest, LengthThatIsNotANumberEndsOpenWithFalse) {
  os.Answer("status movie length", 0, "00:03:59");
  EXPECT_FALSE(control.Open());
  EXPECT_EQ(os.mci.back(), "status movie length") << "nothing after the failed step";
  // Nothing was left half-done: the control goes on working.
  os.Answer("status movie length", 0, "100");
  EXPECT_TRUE(control.Open());
  EXPECT_EQ(control.MediaLength(), 100);
}

TEST_F(OpenTest, LongAndNonAsciiNamesNeverOverrunTheBuffers) {
  control.SetFileName(L"Z:\\" + std::wstring(600, L'x') + L" \u7535\u5f71.mpg");
  // A short-path service that fills the whole buffer with no terminator.
  os.onShortPath = [](const std::wstring&, wchar_t* buffer, uint32_t size) {
    std::wmemset(buffer, L'S', size);
    return size;
  };
  // A reply that fills the whole reply buffer.
  os.Answer("status movie length", 0, std::string(300, '7'));
  EXPECT_FALSE(control.Open()) << "a 128-digit length is not a 32-bit number";
  ASSERT_GE(os.mci.size(), 2u);
  EXPECT_EQ(os.mci[1], OpenText(std::string(260, 'S'), "digitalvideo"));
}

// What the first open command names for each kind of name: nothing for
// anything but a disk file (devices are never asked), the short path in the
// code page where it can be written (the same bytes as ever), the long path
// quoted where the volume keeps no short names, and wide text where the code
// page cannot write the path.
TEST_F(OpenTest, EachKindOfNameGivesItsOpenCommand) {
  const struct {
    const wchar_t* name;
    bool diskFile;
    const wchar_t* shortPath;  // null: the short-path service is not asked
    std::string firstOpen;     // UTF-8; "W " before a wide command
  } cases[] = {
      {L"COM1", true, nullptr, OpenText("", "digitalvideo")},
      {L"C:\\clips\\com1 .mpg", true, nullptr, OpenText("", "digitalvideo")},
      {L"Z:\\nul.mpg", true, nullptr, OpenText("", "digitalvideo")},
      {L"\\\\.\\pipe\\clip.mpg", true, nullptr, OpenText("", "digitalvideo")},
      {L"\\\\.\\C:", true, nullptr, OpenText("", "digitalvideo")},
      {L"Z:\\clips", false, nullptr, OpenText("", "digitalvideo")},
      {L"Z:\\\u5f71\u7247.mpg", true, L"Z:\\\u5f71\u7247.mpg",
       OpenText("Z:\\\xd3\xb0\xc6\xac.mpg", "digitalvideo")},
      {L"Z:\\\uc601\ud654.mpg", true, L"Z:\\AB12~1.MPG", OpenText("Z:\\AB12~1.MPG", "digitalvideo")},
      {L"Z:\\\uc601\ud654.mpg", true, L"Z:\\\uc601\ud654.mpg",
       "W " + OpenText("Z:\\\xec\x98\x81\xed\x99\x94.mpg", "digitalvideo")},
      {L"D:\\my clips\\a b.mpg", true, L"D:\\my clips\\a b.mpg",
       OpenText("\"D:\\my clips\\a b.mpg\"", "digitalvideo")},
      {L"D:\\my clips\\\u00df.mpg", true, L"D:\\my clips\\\u00df.mpg",
       "W " + OpenText("\"D:\\my clips\\\xc3\x9f.mpg\"", "digitalvideo")},
  };
  os.Answer(OpenText("", "digitalvideo"), 263);
  os.Answer(OpenText("", "MPEGVideo"), 275);
  for (const auto& c : cases) {
    os.Clear();
    os.isDiskFile = [&](const std::wstring&) { return c.diskFile; };
    os.onShortPath = [&](const std::wstring&, wchar_t* buffer, uint32_t size) {
      std::wcsncpy(buffer, c.shortPath, size);
      return static_cast<uint32_t>(std::wcslen(c.shortPath));
    };
    control.SetFileName(c.name);
    const bool opened = control.Open();
    ASSERT_GE(os.mci.size(), 2u) << WideToUtf8(c.name);
    EXPECT_EQ(os.mci[1], c.firstOpen) << WideToUtf8(c.name);
    EXPECT_EQ(opened, c.shortPath != nullptr) << WideToUtf8(c.name);
    const bool askedShort = std::any_of(os.log.begin(), os.log.end(), [](const std::string& e) {
      return e.rfind("short ", 0) == 0;
    });
    EXPECT_EQ(askedShort, c.shortPath != nullptr) << WideToUtf8(c.name);
  }
}

TEST_F(ControlTest, OpenWithoutTheVideoWindowSendsNothing) {
  EXPECT_FALSE(control.Open());
  os.monitors.resize(1);
  EXPECT_FALSE(control.Initialize());
  EXPECT_FALSE(control.Open());
  EXPECT_TRUE(os.mci.empty());
}

TEST_F(ControlTest, TransportAndCloseSendOneCommandEach) {
  InitializeQuietly();
  OpenReporting("10", "25000");
  PollReporting("playing", "5");
  os.Clear();
  control.Play();
  control.Pause();
  control.Stop();
  control.Close();
  EXPECT_EQ(os.mci, (Strings{"play movie", "pause movie", "stop movie", "close movie"}));
  EXPECT_EQ(control.MediaLength(), 0);
  EXPECT_EQ(control.MediaRate(), 0);
  EXPECT_EQ(control.MediaPosition(), 0);
  EXPECT_EQ(control.MediaStatus(), sPlaying) << "status waits for the next poll";
}

TEST_F(ControlTest, ChannelIsStoredUncheckedAndSentEvenWithNoDevice) {
  control.SetChannel(cLeft);
  control.SetChannel(5);
  EXPECT_EQ(os.mci, (Strings{"setaudio movie source to  left", "setaudio movie source to "}));
  EXPECT_EQ(control.Channel(), 5);
}

TEST_F(ControlTest, VolumeClampsAndWritesBothWords) {
  EXPECT_EQ(control.Volume(), 0);
  control.SetVolume(-5);
  EXPECT_EQ(control.Volume(), 0);
  control.SetVolume(250);
  EXPECT_EQ(control.Volume(), 100);
  control.SetVolume(37);
  EXPECT_EQ(os.log, (Strings{"wave 00000000", "wave FFDCFFDC", "wave 5EAB5EAB"}));
  EXPECT_TRUE(os.mci.empty());
}

TEST_F(ControlTest, MuteWritesZeroOrTheStoredWords) {
  control.SetMute(true);
  control.SetMute(false);  // no volume written yet: both words are 0
  control.SetVolume(37);
  control.SetMute(true);
  control.SetVolume(50);  // audible again at the new volume, flag kept
  EXPECT_TRUE(control.Mute());
  control.SetMute(false);
  EXPECT_EQ(os.log, (Strings{"wave 00000000", "wave 00000000", "wave 5EAB5EAB", "wave 00000000",
                             "wave 7FEE7FEE", "wave 7FEE7FEE"}));
  EXPECT_TRUE(os.mci.empty()) << "mute sends no MCI command";
}

TEST_F(ControlTest, SeekPausesAgainOnlyAfterAPausedOrStoppedPoll) {
  control.SetMediaPosition(-10);
  EXPECT_EQ(os.mci, (Strings{"play movie from 0"})) << "not ready keeps playing";
  for (const char* mode : {"paused", "stopped"}) {
    PollReporting(mode, "0");
    os.Clear();
    control.SetMediaPosition(1500);
    EXPECT_EQ(os.mci, (Strings{"play movie from 1500", "pause movie"}));
  }
  PollReporting("playing", "400");
  os.Clear();
  control.SetMediaPosition(2000);
  EXPECT_EQ(os.mci, (Strings{"play movie from 2000"}));
  EXPECT_EQ(control.MediaPosition(), 400) << "the position waits for the next poll";
}

// A seek past a known length is not sent; with no length it goes as asked.
TEST_F(ControlTest, SeekPastTheEndIsNotSent) {
  InitializeQuietly();
  const struct {
    const char* length;
    int32_t position;
    Strings sent;
  } cases[] = {{"3959", 3960, {}},
               {"3959", INT32_MAX, {}},
               {"3959", 3959, {"play movie from 3959"}},
               {"3959", -10, {"play movie from 0"}},
               {"0", 5000, {"play movie from 5000"}},
               {"", 5000, {"play movie from 5000"}}};
  for (const auto& c : cases) {
    OpenReporting(c.length, "25000");
    PollReporting("playing", "0");
    os.Clear();
    control.SetMediaPosition(c.position);
    EXPECT_EQ(os.mci, c.sent) << c.length << " " << c.position;
  }
}
