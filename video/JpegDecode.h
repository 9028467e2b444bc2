// Decodes a JPEG file image into a 24-bit top-down DIB section with libjpeg.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Returns null for anything libjpeg cannot decode (damaged, truncated, CMYK,
// too large) instead of ending the process the way libjpeg's default handler does.
HBITMAP DecodeJpeg(const uint8_t* data, std::size_t size);
