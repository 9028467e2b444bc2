// The demo's decisions on plain data: how a text box's number is read, the
// status-bar texts, the open-failure message, the channel an option names and
// the five-second seek. Texts are UTF-8.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number a text begins with, read leniently: blanks, tabs and line breaks
// are skipped anywhere; an optional sign, digits, one decimal point and an
// exponent (E or D) are taken, or "&H"/"&O" and hexadecimal/octal digits;
// reading stops at the first other character, and a text without a leading
// number reads as 0. The value is rounded to the nearest integer, halves to
// the even neighbour. Empty when the rounded value does not fit in 32 bits.
std::optional<int32_t> ReadLenientNumber(std::string_view text);

// A status-bar label followed by a number: one blank before a number that is
// zero or positive, the minus sign before a negative one ("当前位置： 250").
std::string LabelledNumber(std::string_view label, int32_t value);

// Panel texts and their labels.
inline constexpr std::string_view kLengthLabel = "媒体长度：";
inline constexpr std::string_view kRateLabel = "帧率：";
inline constexpr std::string_view kPositionLabel = "当前位置：";

// The state panel's text for a MediaStatus value; empty for an unknown value.
std::string StatusPanelText(int32_t status);

// The message shown when Open fails for the named file: Chinese, a lone
// carriage return, then English.
std::string OpenFailureText(std::string_view fileName);

// The Channel value an option button of the channel group selects: 0 (left)
// gives cLeft, 1 (right) cRight, 2 (stereo) cStereo; other indexes none.
std::optional<int32_t> ChannelForOption(int index);

// Where a seek of five seconds' worth of frames lands (direction +1 or -1),
// kept inside the 32-bit range.
int32_t SeekTarget(int32_t position, int32_t rate, int direction);
