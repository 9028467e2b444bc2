// Decodes a JPEG file image into a 24-bit top-down DIB section with libjpeg.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "win/GdiHandles.h"

// Returns no bitmap for anything libjpeg cannot decode (damaged, truncated, CMYK,
// too large) instead of ending the process the way libjpeg's default handler does.
TGdiObject<HBITMAP> DecodeJpeg(const uint8_t* data, std::size_t size);
