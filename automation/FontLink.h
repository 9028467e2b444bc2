// Binds the control's own font to an OLE font object: the object a host gets
// from MsgFont, or the one it handed in. Changes to the object's properties
// reach the control at once through the object's property-change notifications.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/FontState.h"
#include "win/ComSupport.h"

class TLumivoxImpl;
class TFontSink;

class TFontLink {
 public:
  explicit TFontLink(TLumivoxImpl* owner) : owner_(owner) {}
  ~TFontLink();
  TFontLink(const TFontLink&) = delete;
  TFontLink& operator=(const TFontLink&) = delete;

  // The followed font object, created from the font on first use.
  ComPtr<IFont> Object(const TFontState& font);
  // Follows another font object (null: follows none).
  void Follow(IFont* font);
  bool Following() const { return static_cast<bool>(font_); }
  IFont* Current() const { return font_.Get(); }
  // Gives the followed object the font's values without echoing them back.
  void Push(const TFontState& font);
  bool Pushing() const { return pushing_; }

 private:
  TLumivoxImpl* owner_;
  ComPtr<IFont> font_;
  TFontSink* sink_ = nullptr;
  DWORD cookie_ = 0;
  bool pushing_ = false;
};

// The screen's pixels per inch, for point and pixel conversions.
int ScreenPixelsPerInch();
// A font object made from the font's values.
ComPtr<IFont> CreateFontObject(const TFontState& font);
// The font's values as the font object has them; the colour stays as in base.
TFontState ReadFontObject(IFont* font, const TFontState& base);
