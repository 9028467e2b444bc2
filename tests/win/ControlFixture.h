// A control object driven through its C++ members against the recording fake.
#pragma once
#include <gtest/gtest.h>

#include "tests/win/FakeSystem.h"
#include "control/LumivoxImpl.h"
#include "control/OutputWindows.h"
#include "video/UnitVideo.h"

class ControlTest : public ::testing::Test {
 protected:
  FakeSystem os;
  TLumivox control{os};

  void TearDown() override { control.CloseControl(); }

  void InitializeQuietly() {
    ASSERT_TRUE(control.Initialize());
    os.Clear();
  }
  // Media state as the device reports it: an open that answers the length
  // and the rate, and a poll that answers the mode and the position.
  void OpenReporting(const char* length, const char* rate) {
    os.Answer("status movie length", 0, length);
    os.Answer("status movie nominal frame rate", 0, rate);
    ASSERT_TRUE(control.Open());
  }
  void PollReporting(const char* mode, const char* position) {
    os.Answer("status movie mode", 0, mode);
    os.Answer("status movie position", 0, position);
    control.tmrMouseTimer();
  }
  // One tick of an object's tmrMouse with its device reporting the mode.
  static void Tick(TLumivox& object, FakeSystem& system, const std::string& mode) {
    system.Answer("status movie mode", 0, mode);
    object.tmrMouseTimer();
  }
  // The execution-state requests logged since the last Clear.
  static std::vector<std::string> AwakeCalls(const FakeSystem& system) {
    std::vector<std::string> calls;
    for (const std::string& entry : system.log) {
      if (entry.rfind("awake ", 0) == 0) calls.push_back(entry);
    }
    return calls;
  }
  static constexpr const char* kKeepAwakeCall = "awake 80000003";
  static constexpr const char* kWithdrawCall = "awake 80000000";

  static std::string PanelHandle() {
    return std::to_string(reinterpret_cast<intptr_t>(FormVideo()->pnlVideo.Handle()));
  }
  static std::string OpenText(const std::string& path, const char* type) {
    return "open " + path + " type " + type + " alias movie parent " + PanelHandle() +
           " style child shareable";
  }
};
