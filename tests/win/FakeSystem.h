// A recording stand-in for the operating system: every MCI string, wave-out
// volume, short-path request, cursor call and execution-state request is
// logged in order, and replies, monitors, the cursor and which names are disk
// files are whatever the test sets. Wide text is logged in UTF-8; a wide MCI
// string is logged with "W " before it.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "control/SystemServices.h"
#include "win/TextConversion.h"

struct FakeMciAnswer {
  uint32_t result = 0;
  std::string reply;
};

class FakeSystem : public TSystemServices {
 public:
  std::vector<std::string> log;       // every call, in order
  std::vector<std::string> mci;       // the MCI strings alone
  std::map<std::string, FakeMciAnswer> answers;  // by exact command; default result 0, no reply
  std::function<uint32_t(const std::wstring&, wchar_t*, uint32_t)> onShortPath;
  std::function<bool(const std::wstring&)> isDiskFile = [](const std::wstring&) { return true; };
  std::vector<RECT> monitors{{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
  POINT cursor{100, 100};
  int displayCount = 0;
  uint32_t executionStateResult = ES_CONTINUOUS;  // 0: the request fails

  uint32_t SendMciString(const char* command, char* reply, uint32_t size) override {
    log.push_back(std::string("mci ") + command);
    mci.push_back(command);
    const auto it = answers.find(command);
    if (it == answers.end()) return 0;
    if (reply && size) {
      // Writes like MCI: as much as fits, terminated when there is room.
      const std::size_t n = std::min<std::size_t>(it->second.reply.size(), size);
      std::memcpy(reply, it->second.reply.data(), n);
      if (n < size) reply[n] = 0;
    }
    return it->second.result;
  }
  uint32_t SendMciStringW(const wchar_t* command) override {
    const std::string text = "W " + WideToUtf8(command);
    log.push_back("mci " + text);
    mci.push_back(text);
    const auto it = answers.find(text);
    return it == answers.end() ? 0 : it->second.result;
  }
  void SetWaveOutVolume(uint32_t volume) override {
    char text[32];
    std::snprintf(text, sizeof(text), "wave %08X", volume);
    log.push_back(text);
  }
  bool IsDiskFile(const wchar_t* name) override { return isDiskFile(name); }
  uint32_t GetShortPath(const wchar_t* longPath, wchar_t* buffer, uint32_t size) override {
    log.push_back("short " + WideToUtf8(longPath));
    if (onShortPath) return onShortPath(longPath, buffer, size);
    return 0;  // as for a file that does not exist: buffer untouched
  }
  std::vector<RECT> Monitors() override { return monitors; }
  POINT CursorPos() override { return cursor; }
  void SetCursorPos(int x, int y) override {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    cursor = POINT{x, y};
  }
  int ShowCursor(bool show) override {
    displayCount += show ? 1 : -1;
    log.push_back(std::string(show ? "show " : "hide ") + std::to_string(displayCount));
    return displayCount;
  }
  uint32_t SetThreadExecutionState(uint32_t flags) override {
    char text[32];
    std::snprintf(text, sizeof(text), "awake %08X", flags);
    log.push_back(text);
    return executionStateResult;
  }

  void Answer(const std::string& command, uint32_t result, const std::string& reply = "") {
    answers[command] = FakeMciAnswer{result, reply};
  }
  void Clear() {
    log.clear();
    mci.clear();
  }
};
