// A control object driven through its C++ members against the recording fake.
#pragma once
#include <gtest/gtest.h>

#include "tests/win/FakeSystem.h"
#include "control/LumivoxImpl.h"
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
  static std::string PanelHandle() {
    return std::to_string(reinterpret_cast<intptr_t>(FormVideo->pnlVideo.Handle()));
  }
  static std::string OpenText(const std::string& path, const char* type) {
    return "open " + path + " type " + type + " alias movie parent " + PanelHandle() +
           " style child shareable";
  }
};
