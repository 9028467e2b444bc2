// What the control asks of the operating system, behind one narrow interface so
// that tests can record exact command sequences and fake the monitor layout.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

class TSystemServices {
 public:
  virtual ~TSystemServices() = default;

  // mciSendStringA with no callback window; reply may be null with size 0.
  virtual uint32_t SendMciString(const char* command, char* reply, uint32_t replySize) = 0;
  // mciSendStringW with no reply and no callback window, for commands that
  // name a file the ANSI code page cannot write.
  virtual uint32_t SendMciStringW(const wchar_t* command) = 0;
  // waveOutSetVolume on device 0.
  virtual void SetWaveOutVolume(uint32_t volume) = 0;
  // True when the name is a regular file on disk (win/DiskFile.h).
  virtual bool IsDiskFile(const wchar_t* name) = 0;
  // GetShortPathNameW into buffer of the given size, in characters.
  virtual uint32_t GetShortPath(const wchar_t* longPath, wchar_t* buffer, uint32_t size) = 0;
  // Full rectangles of the display monitors, in the system's own order.
  virtual std::vector<RECT> Monitors() = 0;
  virtual POINT CursorPos() = 0;
  virtual void SetCursorPos(int x, int y) = 0;
  // ShowCursor: returns the new display count.
  virtual int ShowCursor(bool show) = 0;
  // SetThreadExecutionState: returns the previous state, 0 when it failed.
  virtual uint32_t SetThreadExecutionState(uint32_t flags) = 0;
};

// The real operating system.
TSystemServices& RealSystem();
