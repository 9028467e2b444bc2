#include "win/FontState.h"

bool TFontStyle::operator==(const TFontStyle& o) const {
  return height == o.height && charset == o.charset && color == o.color && bold == o.bold &&
         italic == o.italic && underline == o.underline && strikeout == o.strikeout;
}

bool TFontState::operator==(const TFontState& o) const {
  return name == o.name && TFontStyle::operator==(o);
}

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  const int64_t product = int64_t{a} * b;
  const int64_t half = (c < 0 ? -int64_t{c} : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -int64_t{c} : c);
  const int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX) return INT32_MAX;
  if (result < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(result);
}

int32_t FontPointsFromHeight(int32_t height, int32_t pixelsPerInch) {
  return MulDivRound(-height, 72, pixelsPerInch);
}

int32_t FontHeightFromPoints(int32_t points, int32_t pixelsPerInch) {
  return -MulDivRound(points, pixelsPerInch, 72);
}

int32_t WholePointsHalfEven(int64_t v) {
  int64_t whole = v / 10000;
  int64_t rest = v % 10000;
  if (rest < 0) {
    rest += 10000;
    whole -= 1;
  }
  if (rest > 5000 || (rest == 5000 && (whole & 1))) whole += 1;
  if (whole > INT32_MAX) return INT32_MAX;
  if (whole < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(whole);
}
