#include "win/GdiValues.h"

#include <algorithm>

LOGFONTW LogFontOf(const TFontState& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = font.height;
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfUnderline = font.underline;
  logFont.lfStrikeOut = font.strikeout;
  logFont.lfCharSet = font.charset;
  logFont.lfPitchAndFamily = DEFAULT_PITCH;
  const std::size_t n = std::min<std::size_t>(font.name.size(), LF_FACESIZE - 1);
  std::copy(font.name.begin(), font.name.begin() + static_cast<std::ptrdiff_t>(n),
            logFont.lfFaceName);
  return logFont;
}

COLORREF ColorRefOf(uint32_t oleColor) {
  if (oleColor & 0x80000000u) return GetSysColor(static_cast<int>(oleColor & 0xFF));
  return static_cast<COLORREF>(oleColor & 0x00FFFFFF);
}
