#include "message/MessageLabel.h"

#include <algorithm>

#include "win/GdiValues.h"

namespace {

// Left-aligned, no word wrap, line breaks kept, tabs expanded, "&" as prefix.
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_EXPANDTABS | DT_NOCLIP;
// Larger labels (huge fonts or texts) are not rendered into an image but drawn
// directly, clipped to what needs painting.
constexpr int64_t kMaxImagePixels = int64_t{64} << 20;

}  // namespace

void TMessageLabel::Release() {
  imageSelection_.End();
  fontSelection_.End();
  dc_.Reset();
  image_.Reset();
  font_.Reset();
}

void TMessageLabel::Setup(const TFontState& font, COLORREF color, const std::string& text) {
  Release();
  text_ = text.empty() ? std::string(" ") : text;
  color_ = color;
  const LOGFONTW logFont = LogFontOf(font);
  font_.Reset(CreateFontIndirectW(&logFont));
  dc_.Reset(CreateCompatibleDC(nullptr));
  fontSelection_ = TGdiSelection(dc_.Get(), font_.Get());
  Measure();
  Render();
}

void TMessageLabel::Measure() {
  RECT r{0, 0, 0, 0};
  if (dc_) {
    ::DrawTextA(dc_.Get(), text_.data(), static_cast<int>(text_.size()), &r,
                kTextFormat | DT_CALCRECT);
  }
  Width = std::max<int32_t>(r.right - r.left, 0);
  Height = std::max<int32_t>(r.bottom - r.top, 0);
}

// The image holds the text as 0 bits on 1 bits: blitted into a colour DC, the
// 0 bits take its text colour and the 1 bits its background colour.
void TMessageLabel::Render() {
  if (!dc_ || Width <= 0 || Height <= 0 || int64_t{Width} * Height > kMaxImagePixels) return;
  image_.Reset(CreateBitmap(Width, Height, 1, 1, nullptr));
  if (!image_) return;
  imageSelection_ = TGdiSelection(dc_.Get(), image_.Get());
  PatBlt(dc_.Get(), 0, 0, Width, Height, WHITENESS);
  SetTextColor(dc_.Get(), RGB(0, 0, 0));
  SetBkMode(dc_.Get(), TRANSPARENT);
  DrawTextAt(dc_.Get(), 0, 0);
}

void TMessageLabel::DrawTextAt(HDC dc, int32_t left, int32_t top) const {
  RECT r{left, top, left + Width, top + Height};
  ::DrawTextA(dc, text_.data(), static_cast<int>(text_.size()), &r, kTextFormat);
}

void TMessageLabel::Draw(HDC dc, const RECT& area, COLORREF background) const {
  RECT part{};
  const RECT bounds = Bounds();
  if (!Visible || !IntersectRect(&part, &area, &bounds)) return;
  SetTextColor(dc, color_);
  SetBkColor(dc, background);
  if (image_) {
    BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_.Get(),
           part.left - Left, part.top - Top, SRCCOPY);
    return;
  }
  // Drawn directly: the background first, then the glyphs over it.
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
  if (!font_) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
  SelectObject(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  DrawTextAt(dc, Left, Top);
  RestoreDC(dc, saved);
}
