// The message window's label: its text laid out and rendered once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/FontState.h"
#include "win/GdiHandles.h"

// The label: sized to its text, which is laid out and rendered once into a
// monochrome image; drawing blits that image in the text and strip colours,
// so a scrolling step costs one small blit and no text layout.
class TMessageLabel {
 public:
  TMessageLabel() = default;
  TMessageLabel(const TMessageLabel&) = delete;
  TMessageLabel& operator=(const TMessageLabel&) = delete;

  // Takes a copy of the font, the text colour and the text, and sizes itself
  // to the drawn text (an empty text is measured as one blank).
  void Setup(const TFontState& font, COLORREF color, const std::string& text);
  // Paints the part of the label that lies in area (window coordinates): its
  // text on the background colour.
  void Draw(HDC dc, const RECT& area, COLORREF background) const;
  RECT Bounds() const { return RECT{Left, Top, Left + Width, Top + Height}; }

  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool Visible = true;

 private:
  void Release();
  void Measure();
  void Render();
  void DrawTextAt(HDC dc, int32_t left, int32_t top) const;

  std::string text_;
  COLORREF color_ = 0;
  // Declared so that the selections end before the DC and objects go.
  TGdiObject<HFONT> font_;
  TGdiObject<HBITMAP> image_;
  TMemoryDC dc_;  // holds the font and, once rendered, the image
  TGdiSelection fontSelection_;
  TGdiSelection imageSelection_;
};
