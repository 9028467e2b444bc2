// Reads what the screen shows, for checks of the television's picture.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// The screen's pixels in a rectangle (screen coordinates), row by row, each
// as 0x00RRGGBB.
std::vector<uint32_t> CaptureScreen(const RECT& area);

// The second monitor's rectangle (the television), or an empty one.
RECT TelevisionMonitor();
