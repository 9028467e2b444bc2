#include "demo/DemoRules.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "win/ControlTypes.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// The text without blanks, which the reading skips wherever they are.
std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (!IsBlank(c)) out += c;
  }
  return out;
}

// "&H..." or "&O...": the digits of that base that follow, as a plain value.
double ReadRadix(std::string_view digits, int base) {
  double value = 0;
  for (char c : digits) {
    const int d = DigitValue(c);
    if (d >= base) break;
    value = value * base + d;
  }
  return value;
}

// The longest prefix of s that is a decimal number, in the C library's syntax.
std::string DecimalPrefix(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
  }
  if (i == digitsStart || (i == digitsStart + 1 && s[digitsStart] == '.')) return "0";
  std::string number = s.substr(0, i);
  // An exponent counts only when digits follow it.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t expDigits = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > expDigits) number += 'e' + s.substr(i + 1, j - i - 1);
  }
  return number;
}

}  // namespace

std::optional<int32_t> ReadLenientNumber(std::string_view text) {
  const std::string s = WithoutBlanks(text);
  double value = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
    value = ReadRadix(std::string_view(s).substr(2), 16);
  } else if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) {
    value = ReadRadix(std::string_view(s).substr(2), 8);
  } else {
    value = std::strtod(DecimalPrefix(s).c_str(), nullptr);
  }
  // Round to nearest, halves to even (the default rounding mode).
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  std::fesetround(saved);
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max())) {
    return std::nullopt;  // also infinity and NaN
  }
  return static_cast<int32_t>(rounded);
}

std::string LabelledNumber(std::string_view label, int32_t value) {
  std::string out(label);
  if (value >= 0) out += ' ';
  return out + std::to_string(value);
}

std::string StatusPanelText(int32_t status) {
  switch (status) {
    case sNotReady: return "状态：未就绪";
    case sPaused: return "状态：暂停";
    case sPlaying: return "状态：播放";
    case sStopped: return "状态：停止";
    default: return "";
  }
}

std::string OpenFailureText(std::string_view fileName) {
  std::string text = "打开";
  text.append(fileName);
  text += "失败！请检查是否安装播放该媒体所需要的编码解码器！\rFailed to open ";
  text.append(fileName);
  return text + " ! Pls check whether installed correct decoding core!";
}

std::optional<int32_t> ChannelForOption(int index) {
  switch (index) {
    case 0: return cLeft;
    case 1: return cRight;
    case 2: return cStereo;
    default: return std::nullopt;
  }
}

int32_t SeekTarget(int32_t position, int32_t rate, int direction) {
  const int64_t target = static_cast<int64_t>(position) + direction * int64_t{5} * rate;
  if (target > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (target < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(target);
}
