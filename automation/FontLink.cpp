#include "automation/FontLink.h"

#include "win/GdiHandles.h"
#include "control/LumivoxImpl.h"

// Receives the followed font object's change notifications for the control.
class TFontSink final : public TSingleInterface<IPropertyNotifySink> {
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
  ComPtr<IConnectionPoint> point;
  if (const auto container = QueryAs<IConnectionPointContainer>(font)) {
    container->FindConnectionPoint(IID_IPropertyNotifySink, point.Put());
  }
  return point;
}

CY FontObjectSize(const TFontState& font) {
  CY size{};
  size.int64 = int64_t{FontPointsFromHeight(font.height, ScreenPixelsPerInch())} * 10000;
  return size;
}

// The font's style as the font object's properties (its name and size are
// set apart: a new object takes them from its description).
void WriteFontStyle(IFont* object, const TFontStyle& font) {
  object->put_Bold(font.bold);
  object->put_Italic(font.italic);
  object->put_Underline(font.underline);
  object->put_Strikethrough(font.strikeout);
  object->put_Charset(font.charset);
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
  desc.cySize = FontObjectSize(font);
  desc.sWeight = FW_NORMAL;
  ComPtr<IFont> object;
  OleCreateFontIndirect(&desc, IID_PPV_ARGS(object.Put()));
  if (object) WriteFontStyle(object.Get(), font);
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
  font_->put_Size(FontObjectSize(font));
  WriteFontStyle(font_.Get(), font);
  pushing_ = false;
}
