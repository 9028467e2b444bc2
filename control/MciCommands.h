// The MCI command strings the control sends for its one device alias "movie",
// and the readings it takes from the replies. The strings are a wire format:
// blanks (including doubled and trailing ones) are part of them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "win/ControlTypes.h"

namespace mci {

constexpr std::size_t kReplySize = 128;      // reply buffer of every status query
constexpr std::size_t kShortPathSize = 260;  // short-path buffer of Open

inline constexpr const char kClose[] = "close movie";
inline constexpr const char kPlay[] = "play movie";
inline constexpr const char kPause[] = "pause movie";
inline constexpr const char kStop[] = "stop movie";
inline constexpr const char kStatusLength[] = "status movie length";
inline constexpr const char kStatusRate[] = "status movie nominal frame rate";
inline constexpr const char kStatusMode[] = "status movie mode";
inline constexpr const char kStatusPosition[] = "status movie position";

// The two device types Open tries, in order.
inline constexpr const char kDigitalVideo[] = "digitalvideo";
inline constexpr const char kMpegVideo[] = "MPEGVideo";

// "open <path> type <type> alias movie parent <handle> style child shareable"
std::string OpenCommand(std::string_view shortPath, std::string_view deviceType,
                        int32_t parentHandle);
// The same command for a path the code page cannot write, sent in wide text.
std::wstring OpenCommand(std::wstring_view shortPath, std::string_view deviceType,
                         int32_t parentHandle);
// The path as the open command names it: where the system keeps no short
// (8.3) name, the "short" path is the long one, and MCI would end it at its
// first blank, so a path with a blank goes in double quotes.
std::wstring OpenElement(std::wstring_view shortPath);
// "put movie window at 0 0 <width> <height>"
std::string PutWindowCommand(int32_t width, int32_t height);
// "setaudio movie off" when muted, else "setaudio movie on"
std::string AudioSwitchCommand(bool mute);
// "setaudio movie source to " + " stereo" / " left" / " right" / nothing
std::string ChannelCommand(int32_t channel);
// "play movie from <position>", a negative position raised to 0
std::string PlayFromCommand(int32_t position);
// True for a position past a known length (greater than 0): a device told to
// play from beyond its end may stick there or stop answering, so such a seek
// is not sent.
bool BeyondLength(int32_t position, int32_t length);

// Length from "status movie length": a failed query or an empty reply gives 0;
// nothing when the reply is not a whole number.
std::optional<int32_t> ReadLength(bool queryOk, std::string_view reply);
// Frame rate from "status movie nominal frame rate", reported in thousandths:
// a failed query gives 1, an empty reply 0, otherwise the value / 1000
// truncated toward zero; nothing when the reply is not a whole number.
std::optional<int32_t> ReadRate(bool queryOk, std::string_view reply);
// Device mode from "status movie mode", in any letter case.
TStatus ReadMode(std::string_view reply);
// Position from "status movie position": an empty reply gives 0; nothing when
// the reply is not a whole number.
std::optional<int32_t> ReadPosition(std::string_view reply);

}  // namespace mci

// Volume 0..100 after clamping, and the wave-out channel word it gives.
int32_t ClampVolume(int32_t volume);
uint32_t VolumeWord(int32_t clampedVolume);
// The wave-out double word: left word low, right word high.
uint32_t WaveOutVolume(uint32_t leftWord, uint32_t rightWord);
