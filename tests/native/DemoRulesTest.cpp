#include <gtest/gtest.h>

#include "demo/DemoRules.h"

TEST(DemoRulesTest, TextBoxNumbersAreReadLeniently) {
  const struct {
    const char* text;
    std::optional<int32_t> want;
  } cases[] = {
      {"990", 990},         {"2.5", 2},           {"3.5", 4},
      {"-2.5", -2},         {"12.5", 12},         {"12abc", 12},
      {"abc", 0},           {"", 0},              {"7 0", 70},
      {" \t-\n1 2", -12},   {"1.5.9", 2},         {".5", 0},
      {"1e3", 1000},        {"2D2", 200},         {"1e", 1},
      {"1e+x", 1},          {"&H1F", 31},         {"&hff g", 255},
      {"&O17", 15},         {"&O9", 0},           {"&", 0},
      {"--1", 0},           {"+4", 4},
      // The 32-bit edge, after rounding.
      {"2147483647", 2147483647},     {"2147483647.4", 2147483647},
      {"2147483647.5", std::nullopt}, {"-2147483648.5", INT32_MIN},
      {"-2147483649", std::nullopt},  {"&HFFFFFFFF", std::nullopt},
      {"1e999", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLenientNumber(c.text), c.want) << "text \"" << c.text << "\"";
  }
}

TEST(DemoRulesTest, StatusBarTexts) {
  EXPECT_EQ(LabelledNumber(kPositionLabel, 250), "当前位置： 250");
  EXPECT_EQ(LabelledNumber(kLengthLabel, 0), "媒体长度： 0");
  EXPECT_EQ(LabelledNumber(kPositionLabel, -125), "当前位置：-125");
  EXPECT_EQ(LabelledNumber(kRateLabel, INT32_MIN), "帧率：-2147483648");
  const char* const states[] = {"状态：未就绪", "状态：暂停", "状态：播放", "状态：停止"};
  for (int32_t s = 0; s < 4; ++s) EXPECT_EQ(StatusPanelText(s), states[s]);
  EXPECT_EQ(StatusPanelText(4), "");
  EXPECT_EQ(StatusPanelText(-1), "");
}

TEST(DemoRulesTest, OpenFailureTextHasOneLoneCarriageReturn) {
  EXPECT_EQ(OpenFailureText("C:\\a b.mpg"),
            "打开C:\\a b.mpg失败！请检查是否安装播放该媒体所需要的编码解码器！\r"
            "Failed to open C:\\a b.mpg ! Pls check whether installed correct decoding core!");
}

TEST(DemoRulesTest, ChannelOptionsAndSeekSteps) {
  EXPECT_EQ(ChannelForOption(0), 1);
  EXPECT_EQ(ChannelForOption(1), 2);
  EXPECT_EQ(ChannelForOption(2), 0);
  EXPECT_EQ(ChannelForOption(3), std::nullopt);
  EXPECT_EQ(SeekTarget(0, 25, -1), -125);
  EXPECT_EQ(SeekTarget(100, 25, +1), 225);
  EXPECT_EQ(SeekTarget(INT32_MAX - 10, 25, +1), INT32_MAX);
  EXPECT_EQ(SeekTarget(INT32_MIN + 10, 25, -1), INT32_MIN);
}
