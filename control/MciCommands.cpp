#include "control/MciCommands.h"

#include "control/TextRules.h"

namespace mci {

namespace {
// What follows the path in an open command; plain ASCII.
std::string OpenCommandTail(std::string_view deviceType, int32_t parentHandle) {
  std::string tail = " type ";
  tail += deviceType;
  tail += " alias movie parent ";
  tail += std::to_string(parentHandle);
  tail += " style child shareable";
  return tail;
}
}  // namespace

std::string OpenCommand(std::string_view shortPath, std::string_view deviceType,
                        int32_t parentHandle) {
  std::string command = "open ";
  command += shortPath;
  command += OpenCommandTail(deviceType, parentHandle);
  return command;
}

std::wstring OpenCommand(std::wstring_view shortPath, std::string_view deviceType,
                         int32_t parentHandle) {
  std::wstring command = L"open ";
  command += shortPath;
  for (const char c : OpenCommandTail(deviceType, parentHandle)) command += wchar_t(c);
  return command;
}

std::wstring OpenElement(std::wstring_view shortPath) {
  if (shortPath.find(L' ') == std::wstring_view::npos) return std::wstring(shortPath);
  return L"\"" + std::wstring(shortPath) + L"\"";
}

std::string PutWindowCommand(int32_t width, int32_t height) {
  return "put movie window at 0 0 " + std::to_string(width) + " " + std::to_string(height);
}

std::string AudioSwitchCommand(bool mute) {
  return mute ? "setaudio movie off" : "setaudio movie on";
}

std::string ChannelCommand(int32_t channel) {
  std::string command = "setaudio movie source to ";
  switch (channel) {
    case cStereo: command += " stereo"; break;
    case cLeft: command += " left"; break;
    case cRight: command += " right"; break;
    default: break;
  }
  return command;
}

std::string PlayFromCommand(int32_t position) {
  return "play movie from " + std::to_string(position < 0 ? 0 : position);
}

bool BeyondLength(int32_t position, int32_t length) { return length > 0 && position > length; }

namespace {
std::optional<int32_t> ReadNumber(std::string_view reply, std::string_view whenEmpty) {
  std::string text = TrimText(reply);
  if (text.empty()) text = whenEmpty;
  int32_t value = 0;
  if (!TryReadInt32(text, value)) return std::nullopt;
  return value;
}
}  // namespace

std::optional<int32_t> ReadLength(bool queryOk, std::string_view reply) {
  return ReadNumber(queryOk ? reply : std::string_view(), "0");
}

std::optional<int32_t> ReadRate(bool queryOk, std::string_view reply) {
  if (!queryOk) return 1;
  const std::optional<int32_t> thousandths = ReadNumber(reply, "1");
  if (!thousandths) return std::nullopt;
  return *thousandths / 1000;
}

TStatus ReadMode(std::string_view reply) {
  const std::string mode = TrimText(UpperAscii(reply));
  if (mode == "PAUSED") return sPaused;
  if (mode == "PLAYING") return sPlaying;
  if (mode == "STOPPED") return sStopped;
  return sNotReady;
}

std::optional<int32_t> ReadPosition(std::string_view reply) {
  return ReadNumber(reply, "0");
}

}  // namespace mci

int32_t ClampVolume(int32_t volume) {
  if (volume < 0) return 0;
  if (volume > 100) return 100;
  return volume;
}

uint32_t VolumeWord(int32_t clampedVolume) {
  return static_cast<uint32_t>(clampedVolume) * 655u;
}

uint32_t WaveOutVolume(uint32_t leftWord, uint32_t rightWord) {
  return (leftWord & 0xFFFFu) | ((rightWord & 0xFFFFu) << 16);
}
