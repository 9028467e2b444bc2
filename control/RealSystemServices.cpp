#include "control/SystemServices.h"

#include <mmsystem.h>

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(monitor, &info)) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
  }
  return TRUE;
}

class TRealSystem final : public TSystemServices {
 public:
  uint32_t SendMciString(const char* command, char* reply, uint32_t replySize) override {
    return mciSendStringA(command, reply, replySize, nullptr);
  }
  void SetWaveOutVolume(uint32_t volume) override {
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), volume);
  }
  uint32_t GetShortPath(const char* longPath, char* buffer, uint32_t size) override {
    return GetShortPathNameA(longPath, buffer, size);
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
