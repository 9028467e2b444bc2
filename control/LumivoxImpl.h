// The control object: all of the control's state, its lifecycle, the media
// device it drives through MCI, and its status poller and mouse guard.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ControlTypes.h"
#include "SystemServices.h"
#include "WinTimer.h"

class TLumivox {
 public:
  // Starts tmrMouse at once; the system defaults to the real operating system.
  explicit TLumivox(TSystemServices& system = RealSystem());
  TLumivox(const TLumivox&) = delete;
  TLumivox& operator=(const TLumivox&) = delete;

  // Lifecycle and stored texts.
  bool Initialize();
  void CloseControl();
  void TVTest();
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  const std::string& Message() const { return FMessage; }
  void SetMessage(const std::string& value) { FMessage = value; }
  void SetLogo(const std::string& value);
  bool SurfaceVisible() const { return surfaceVisible_; }

  // Media device.
  bool Open();
  void Play();
  void Pause();
  void Stop();
  void Close();
  int32_t Channel() const { return FChannel; }
  void SetChannel(int32_t value);
  int32_t Volume() const { return FVolume; }
  void SetVolume(int32_t value);
  bool Mute() const { return FMute; }
  void SetMute(bool value);
  int32_t MediaLength() const { return FMediaLength; }
  int32_t MediaRate() const { return FMediaRate; }
  int32_t MediaPosition() const { return FMediaPosition; }
  void SetMediaPosition(int32_t value);
  TStatus MediaStatus() const { return static_cast<TStatus>(FMediaStatus); }

  // One tick of tmrMouse: mouse guard, then status poll.
  void tmrMouseTimer();

  // Components and fields, in declared order.
  TWinTimer tmrClearDots;
  TWinTimer tmrMouse;
  std::string FFileName;
  std::string FMessage;
  std::string FLogo;
  bool FMute = false;
  int32_t FChannel = cStereo;
  int32_t FVolume = 0;
  int32_t FMediaLength = 0;
  int32_t FMediaPosition = 0;
  int32_t FMediaRate = 0;
  uint32_t FVolumeLeft = 0;
  uint32_t FVolumeRight = 0;
  int32_t FMsgSpeed = 0;
  int32_t FMsgLocation = lBottom;
  int32_t FMsgActionStyle = aRightToLeft;
  int32_t FMsgRepeat = 0;
  int32_t FMsgInterval = 0;
  bool FMsgTransparent = false;
  uint32_t FMsgBackgroundColor = 0;
  int32_t FMediaStatus = sNotReady;

 private:
  uint32_t SendMci(const std::string& command);
  // Sends a status query into a zero-filled reply buffer; returns the result code.
  uint32_t QueryMci(const char* command, std::string& reply);
  bool OpenDevice();
  void GuardMouse();
  void PollStatus();

  TSystemServices& system_;
  bool surfaceVisible_ = true;
};
