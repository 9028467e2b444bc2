#include "control/SystemServices.h"

#include <mmsystem.h>

#include "win/DiskFile.h"

namespace {

// Enumerated without a device context, each monitor comes with its full
// rectangle in virtual-screen coordinates, so the poller's tick reads the
// list without a GetMonitorInfo call per monitor.
BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT bounds, LPARAM data) {
  reinterpret_cast<std::vector<RECT>*>(data)->push_back(*bounds);
  return TRUE;
}

class TRealSystem final : public TSystemServices {
 public:
  uint32_t SendMciString(const char* command, char* reply, uint32_t replySize) override {
    return mciSendStringA(command, reply, replySize, nullptr);
  }
  uint32_t SendMciStringW(const wchar_t* command) override {
    return mciSendStringW(command, nullptr, 0, nullptr);
  }
  void SetWaveOutVolume(uint32_t volume) override {
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), volume);
  }
  bool IsDiskFile(const wchar_t* name) override { return ::IsDiskFile(name); }
  uint32_t GetShortPath(const wchar_t* longPath, wchar_t* buffer, uint32_t size) override {
    return GetShortPathNameW(longPath, buffer, size);
  }
  std::vector<RECT> Monitors() override {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
  }
  POINT CursorPos() override {
    POINT p{};
    ::GetCursorPos(&p);
    return p;
  }
  void SetCursorPos(int x, int y) override { ::SetCursorPos(x, y); }
  int ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }
  uint32_t SetThreadExecutionState(uint32_t flags) override {
    return ::SetThreadExecutionState(flags);
  }
};

}  // namespace

TSystemServices& RealSystem() {
  static TRealSystem system;
  return system;
}
