#include "control/TextRules.h"


namespace {
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }
bool IsBlankOrControl(wchar_t c) { return static_cast<uint32_t>(c) <= 0x20; }

template <typename Char>
std::basic_string<Char> Trim(std::basic_string_view<Char> text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return std::basic_string<Char>(text.substr(first, last - first));
}

template <typename Char>
std::basic_string_view<Char> UpToZero(const Char* buffer, std::size_t size) {
  std::size_t length = 0;
  while (length < size && buffer[length] != 0) ++length;
  return std::basic_string_view<Char>(buffer, length);
}
}  // namespace

std::string TrimText(std::string_view text) { return Trim(text); }
std::wstring TrimText(std::wstring_view text) { return Trim(text); }

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool TryReadInt32(std::string_view text, int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return false;
  }
  const int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return false;
  value = static_cast<int32_t>(result);
  return true;
}

std::string_view BufferText(const char* buffer, std::size_t size) {
  return UpToZero(buffer, size);
}

std::wstring_view BufferText(const wchar_t* buffer, std::size_t size) {
  return UpToZero(buffer, size);
}
