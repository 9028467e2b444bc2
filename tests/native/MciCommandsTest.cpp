#include "control/MciCommands.h"

#include <gtest/gtest.h>

using namespace mci;

TEST(MciCommandText, OpenPutAndAudioCommandsAreByteExact) {
  EXPECT_EQ(OpenCommand("C:\\CLIPS\\SAMPLE~1.MPG", kDigitalVideo, 1234),
            "open C:\\CLIPS\\SAMPLE~1.MPG type digitalvideo alias movie parent 1234 "
            "style child shareable");
  EXPECT_EQ(OpenCommand("", kMpegVideo, -5),
            "open  type MPEGVideo alias movie parent -5 style child shareable");
  EXPECT_EQ(PutWindowCommand(798, 598), "put movie window at 0 0 798 598");
  EXPECT_EQ(AudioSwitchCommand(true), "setaudio movie off");
  EXPECT_EQ(AudioSwitchCommand(false), "setaudio movie on");
}

TEST(MciCommandText, ChannelWordCarriesItsOwnLeadingBlank) {
  EXPECT_EQ(ChannelCommand(cStereo), "setaudio movie source to  stereo");
  EXPECT_EQ(ChannelCommand(cLeft), "setaudio movie source to  left");
  EXPECT_EQ(ChannelCommand(cRight), "setaudio movie source to  right");
  EXPECT_EQ(ChannelCommand(5), "setaudio movie source to ");
  EXPECT_EQ(ChannelCommand(-1), "setaudio movie source to ");
}

TEST(MciCommandText, SeekRaisesNegativePositionsToZero) {
  EXPECT_EQ(PlayFromCommand(-10), "play movie from 0");
  EXPECT_EQ(PlayFromCommand(INT32_MIN), "play movie from 0");
  EXPECT_EQ(PlayFromCommand(0), "play movie from 0");
  EXPECT_EQ(PlayFromCommand(2147483647), "play movie from 2147483647");
}

TEST(MciReplies, LengthFailedOrEmptyIsZeroAndGarbageIsNoValue) {
  EXPECT_EQ(ReadLength(true, " 3959\r\n"), 3959);
  EXPECT_EQ(ReadLength(true, ""), 0);
  EXPECT_EQ(ReadLength(false, "3959"), 0) << "a failed query ignores the buffer";
  EXPECT_EQ(ReadLength(true, "0:01:02"), std::nullopt);
}

TEST(MciReplies, RateIsThousandthsTruncatedTowardZero) {
  EXPECT_EQ(ReadRate(true, "25000"), 25);
  EXPECT_EQ(ReadRate(true, "29970"), 29);
  EXPECT_EQ(ReadRate(true, "999"), 0);
  EXPECT_EQ(ReadRate(true, "-1999"), -1);
  EXPECT_EQ(ReadRate(true, "  "), 0) << "empty reads as 1 thousandth";
  EXPECT_EQ(ReadRate(false, "25000"), 1) << "a failed query gives 1";
  EXPECT_EQ(ReadRate(true, "25.000"), std::nullopt);
}

TEST(MciReplies, ModeMapsCaseInsensitivelyAndEverythingElseIsNotReady) {
  EXPECT_EQ(ReadMode("playing"), sPlaying);
  EXPECT_EQ(ReadMode(" Paused \r\n"), sPaused);
  EXPECT_EQ(ReadMode("STOPPED"), sStopped);
  EXPECT_EQ(ReadMode("seeking"), sNotReady);
  EXPECT_EQ(ReadMode("not ready"), sNotReady);
  EXPECT_EQ(ReadMode(""), sNotReady);
  EXPECT_EQ(ReadMode("play ing"), sNotReady);
}

TEST(MciReplies, PositionEmptyIsZeroAndGarbageIsNoValue) {
  EXPECT_EQ(ReadPosition("617"), 617);
  EXPECT_EQ(ReadPosition("\t\n"), 0);
  EXPECT_EQ(ReadPosition("12ms"), std::nullopt);
}

TEST(WaveOutVolume, ClampsAndScalesBy655InBothWords) {
  EXPECT_EQ(ClampVolume(-5), 0);
  EXPECT_EQ(ClampVolume(250), 100);
  EXPECT_EQ(ClampVolume(INT32_MIN), 0);
  EXPECT_EQ(ClampVolume(INT32_MAX), 100);
  EXPECT_EQ(VolumeWord(100), 65500u);
  EXPECT_EQ(VolumeWord(37), 24235u);
  EXPECT_EQ(WaveOutVolume(24235, 24235), 0x5EAB5EABu);
  EXPECT_EQ(WaveOutVolume(65500, 65500), 0xFFDCFFDCu);
  EXPECT_EQ(WaveOutVolume(0x12345, 0x6789A), 0x789A2345u) << "only the low words count";
}
