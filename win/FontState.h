// The control's own font (also the message font) as plain data, and the
// conversions between its pixel height and the point sizes font objects use.
#pragma once
#include <cstdint>
#include <string>

// Everything but the face name, which the saved stream keeps as ANSI text.
struct TFontStyle {
  int32_t height = -13;         // pixels; negative gives the character height
  uint8_t charset = 134;        // GB2312_CHARSET
  uint32_t color = 0x000000FF;  // red, as an OLE colour
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;

  bool operator==(const TFontStyle& other) const;
};

struct TFontState : TFontStyle {
  std::u16string name = u"\u5B8B\u4F53";  // 宋体

  bool operator==(const TFontState& other) const;
};

// MulDiv-style rounding (half away from zero) of a * b / c; c must not be 0.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);
// Whole points for a pixel height at the given pixels per inch.
int32_t FontPointsFromHeight(int32_t height, int32_t pixelsPerInch);
// The (negative) pixel height for whole points.
int32_t FontHeightFromPoints(int32_t points, int32_t pixelsPerInch);
// A font object's size (points x 10000) to whole points, a half going to the
// even neighbour.
int32_t WholePointsHalfEven(int64_t pointsTimes10000);
