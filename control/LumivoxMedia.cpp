// TLumivox members that drive the media device through MCI and the wave-out volume.
#include "video/UnitVideo.h"
#include "control/AwakeRequest.h"
#include "control/LumivoxImpl.h"
#include "control/MciCommands.h"
#include "control/OutputWindows.h"
#include "win/OrvexError.h"
#include "control/TextRules.h"
#include "win/FileNameRules.h"
#include "win/TextConversion.h"

uint32_t TLumivox::SendMci(const std::string& command) {
  return system_.SendMciString(command.c_str(), nullptr, 0);
}

uint32_t TLumivox::QueryMci(const char* command, std::string& reply) {
  // One spare zero byte keeps the text terminated whatever the driver writes.
  char buffer[mci::kReplySize + 1] = {};
  const uint32_t result = system_.SendMciString(command, buffer, mci::kReplySize);
  reply.assign(BufferText(buffer, mci::kReplySize));
  return result;
}

bool TLumivox::Open() {
  if (!FormVideo()) return false;
  // Any failure ends Open with the result false; what was done stays done.
  try {
    return OpenDevice();
  } catch (...) {
    return false;
  }
}

std::wstring TLumivox::OpenElement(const std::wstring& name) {
  // Anything but a regular file is treated as a file that does not exist:
  // a driver handed a device would wait on it for as long as it sends nothing.
  if (!MayNameDiskFile(name) || !system_.IsDiskFile(name.c_str())) return {};
  wchar_t shortPath[mci::kShortPathSize + 1] = {};
  system_.GetShortPath(name.c_str(), shortPath, mci::kShortPathSize);
  return mci::OpenElement(BufferText(shortPath, mci::kShortPathSize));
}

uint32_t TLumivox::SendOpen(const std::wstring& path, const char* deviceType, int32_t parent) {
  std::string ansiPath;
  if (WideToAnsiExactly(path, ansiPath)) {
    return SendMci(mci::OpenCommand(ansiPath, deviceType, parent));
  }
  return system_.SendMciStringW(mci::OpenCommand(path, deviceType, parent).c_str());
}

bool TLumivox::OpenDevice() {
  const std::wstring name = TrimText(FFileName);
  SendMci(mci::kClose);
  const std::wstring path = OpenElement(name);
  const TVideoPanel& panel = FormVideo()->pnlVideo;
  const auto parent = static_cast<int32_t>(reinterpret_cast<intptr_t>(panel.Handle()));
  if (SendOpen(path, mci::kDigitalVideo, parent) != 0 &&
      SendOpen(path, mci::kMpegVideo, parent) != 0) {
    FMediaLength = 0;
    return false;
  }
  SendMci(mci::PutWindowCommand(panel.ClientWidth(), panel.ClientHeight()));
  std::string reply;
  bool ok = QueryMci(mci::kStatusLength, reply) == 0;
  const std::optional<int32_t> length = mci::ReadLength(ok, reply);
  if (!length) return false;
  FMediaLength = *length;
  ok = QueryMci(mci::kStatusRate, reply) == 0;
  const std::optional<int32_t> rate = mci::ReadRate(ok, reply);
  if (!rate) return false;
  FMediaRate = *rate;
  SendMci(mci::AudioSwitchCommand(FMute));
  SendMci(mci::ChannelCommand(FChannel));
  SendMci(mci::kPlay);
  return true;
}

void TLumivox::Play() { SendMci(mci::kPlay); }

void TLumivox::Pause() { SendMci(mci::kPause); }

void TLumivox::Stop() { SendMci(mci::kStop); }

void TLumivox::Close() {
  SendMci(mci::kClose);
  ReportPlaying(this, false, system_);
  FMediaLength = 0;
  FMediaRate = 0;
  FMediaPosition = 0;
}

void TLumivox::SetChannel(int32_t value) {
  FChannel = value;
  SendMci(mci::ChannelCommand(FChannel));
}

void TLumivox::SetVolume(int32_t value) {
  FVolume = ClampVolume(value);
  FVolumeLeft = VolumeWord(FVolume);
  FVolumeRight = FVolumeLeft;
  system_.SetWaveOutVolume(WaveOutVolume(FVolumeLeft, FVolumeRight));
}

void TLumivox::SetMute(bool value) {
  FMute = value;
  system_.SetWaveOutVolume(FMute ? 0 : WaveOutVolume(FVolumeLeft, FVolumeRight));
}

void TLumivox::SetMediaPosition(int32_t value) {
  if (mci::BeyondLength(value, FMediaLength)) return;
  const int32_t status = FMediaStatus;
  SendMci(mci::PlayFromCommand(value));
  if (status == sPaused || status == sStopped) SendMci(mci::kPause);
}
