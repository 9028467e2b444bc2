// The control's font and colour values turned into what GDI draws with.
#pragma once
#include <windows.h>

#include <cstdint>

#include "win/FontState.h"

// The font's face, height, style and character set; default pitch, as font
// objects carry none.
LOGFONTW LogFontOf(const TFontState& font);
// An OLE colour as a plain RGB value: a system colour (high bit set) is looked
// up by its index, anything else keeps its low three bytes.
COLORREF ColorRefOf(uint32_t oleColor);
