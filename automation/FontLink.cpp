#include "automation/FontLink.h"

#include "win/GdiHandles.h"
#include "control/LumivoxImpl.h"

// Receives the followed font object's change notifications for the control.
class TFontSink final : public TSingleInterface<IPropertyNotifySink, IID_IPropertyNotifySink> {
 public:
  explicit TFontSink(TLumivoxImpl* owner) : owner_(owner) {}
  void Detach() { owner_ = nullptr; }

  STDMETHODIMP OnChanged(DISPID) override {
    if (owner_) owner_->FontObjectChanged();
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

 private:
  TLumivoxImpl* owner_;
};

namespace {

ComPtr<IConnectionPoint> FontNotifyPoint(IFont* font) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(font->QueryInterface(IID_IConnectionPointContainer,
                                     reinterpret_cast<void**>(container.Put())))) {
    container->FindConnectionPoint(IID_IPropertyNotifySink, point.Put());
  }
  return point;
}

}  // namespace

int ScreenPixelsPerInch() {
  const TWindowDC screen;
  const int ppi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return ppi > 0 ? ppi : 96;
}

ComPtr<IFont> CreateFontObject(const TFontState& font) {
  std::wstring name(font.name.begin(), font.name.end());
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = name.data();
  desc.cySize.int64 = int64_t{FontPointsFromHeight(font.height, ScreenPixelsPerInch())} * 10000;
  desc.sWeight = font.bold ? FW_BOLD : FW_NORMAL;
  desc.sCharset = font.charset;
  desc.fItalic = font.italic;
  desc.fUnderline = font.underline;
  desc.fStrikethrough = font.strikeout;
  ComPtr<IFont> object;
  OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(object.Put()));
  return object;
}

TFontState ReadFontObject(IFont* font, const TFontState& base) {
  TFontState result = base;
  TBstr name;
  if (SUCCEEDED(font->get_Name(name.Put())) && name.Get()) {
    result.name.assign(name.Get(), name.Get() + SysStringLen(name.Get()));
  }
  CY size{};
  if (SUCCEEDED(font->get_Size(&size))) {
    result.height = FontHeightFromPoints(WholePointsHalfEven(size.int64), ScreenPixelsPerInch());
  }
  BOOL flag = FALSE;
  if (SUCCEEDED(font->get_Bold(&flag))) result.bold = flag != FALSE;
  if (SUCCEEDED(font->get_Italic(&flag))) result.italic = flag != FALSE;
  if (SUCCEEDED(font->get_Underline(&flag))) result.underline = flag != FALSE;
  if (SUCCEEDED(font->get_Strikethrough(&flag))) result.strikeout = flag != FALSE;
  SHORT charset = 0;
  if (SUCCEEDED(font->get_Charset(&charset))) result.charset = static_cast<uint8_t>(charset);
  return result;
}

TFontLink::~TFontLink() { Follow(nullptr); }

ComPtr<IFont> TFontLink::Object(const TFontState& font) {
  if (!font_) Follow(CreateFontObject(font).Get());
  return font_;
}

void TFontLink::Follow(IFont* font) {
  if (font_ && sink_) {
    if (ComPtr<IConnectionPoint> point = FontNotifyPoint(font_.Get())) point->Unadvise(cookie_);
  }
  if (sink_) {
    sink_->Detach();
    sink_->Release();
    sink_ = nullptr;
  }
  cookie_ = 0;
  font_ = font;
  if (!font_) return;
  sink_ = new TFontSink(owner_);
  if (ComPtr<IConnectionPoint> point = FontNotifyPoint(font_.Get())) {
    point->Advise(static_cast<IPropertyNotifySink*>(sink_), &cookie_);
  }
}

void TFontLink::Push(const TFontState& font) {
  if (!font_) return;
  pushing_ = true;
  font_->put_Name(TBstr(std::wstring(font.name.begin(), font.name.end())).Get());
  CY size{};
  size.int64 = int64_t{FontPointsFromHeight(font.height, ScreenPixelsPerInch())} * 10000;
  font_->put_Size(size);
  font_->put_Bold(font.bold);
  font_->put_Italic(font.italic);
  font_->put_Underline(font.underline);
  font_->put_Strikethrough(font.strikeout);
  font_->put_Charset(font.charset);
  pushing_ = false;
}
