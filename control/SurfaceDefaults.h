// The control's surface as a new object has it: the form's name, design size,
// title and colour (its font is TFontState's). Portable: the stream codec
// starts its records from the same values.
#pragma once
#include <cstdint>

inline constexpr char kSurfaceName[] = "Lumivox";
inline constexpr int32_t kSurfaceWidth = 123;
inline constexpr int32_t kSurfaceHeight = 72;
inline constexpr char kSurfaceCaption[] = "Lumivox";
inline constexpr uint32_t kSurfaceColor = 0x8000000F;  // button face
