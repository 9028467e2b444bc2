// Text handling the control applies to names and to media-device replies.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Removes leading and trailing blanks and control characters (every byte up
// to and including the blank), leaving bytes of multi-byte characters alone.
std::string TrimText(std::string_view text);
// The same for wide text: every code unit up to and including the blank.
std::wstring TrimText(std::wstring_view text);

// ASCII upper case; other bytes are kept as they are.
std::string UpperAscii(std::string_view text);

// Reads an optionally signed decimal integer that must fill the whole text
// and fit in 32 bits. Returns false (and leaves value alone) otherwise.
bool TryReadInt32(std::string_view text, int32_t& value);

// The text in a fixed-size reply buffer up to its first zero byte, never
// reading past the buffer even when the writer left no terminator.
std::string_view BufferText(const char* buffer, std::size_t size);
std::wstring_view BufferText(const wchar_t* buffer, std::size_t size);
