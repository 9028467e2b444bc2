// An ILumivox that forwards every call to the real control and writes down
// the calls that change something ("MsgSpeed=70", "Close"), in order, and the
// values the last reads returned. It can also stand in for the position the
// device reports.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

class TRecordingLumivox final : public ILumivox {
 public:
  explicit TRecordingLumivox(ILumivox* real) : real_(real) {}
  std::vector<std::string> calls;
  LONG lastPosition = 0, lastRate = 0;
  // When set, MediaPosition reads give this instead of the control's answer.
  std::optional<LONG> reportedPosition;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ILumivox) {
      *object = static_cast<ILumivox*>(this);
      AddRef();
      return S_OK;
    }
    return real_->QueryInterface(riid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return real_->GetTypeInfoCount(n); }
  STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return real_->GetTypeInfo(i, l, t); }
  STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return real_->GetIDsOfNames(r, n, c, l, d);
  }
  STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                      EXCEPINFO* e, UINT* a) override {
    return real_->Invoke(d, r, l, f, p, v, e, a);
  }

#define ORVEX_READ(name, type) \
  STDMETHODIMP name(type* v) override { return real_->name(v); }
#define ORVEX_WRITE(name, type, label)                    \
  STDMETHODIMP name(type v) override {                    \
    calls.push_back(std::string(label "=") + Text(v));    \
    return real_->name(v);                                \
  }
#define ORVEX_CALL(name) \
  STDMETHODIMP name() override { calls.push_back(#name); return real_->name(); }

  ORVEX_READ(get_MsgColor, OLE_COLOR)
  ORVEX_WRITE(put_MsgColor, OLE_COLOR, "MsgColor")
  ORVEX_READ(get_MsgFont, IFontDisp*)
  STDMETHODIMP put_MsgFont(IFontDisp* v) override { return real_->put_MsgFont(v); }
  STDMETHODIMP putref_MsgFont(IFontDisp* v) override { return real_->putref_MsgFont(v); }
  ORVEX_CALL(AboutOrvex)
  ORVEX_READ(get_FileName, BSTR)
  ORVEX_WRITE(put_FileName, BSTR, "FileName")
  ORVEX_CALL(CloseControl)
  ORVEX_READ(Initialize, VARIANT_BOOL)
  STDMETHODIMP Open(VARIANT_BOOL* v) override { calls.push_back("Open"); return real_->Open(v); }
  ORVEX_CALL(Play)
  ORVEX_CALL(Pause)
  ORVEX_CALL(Close)
  ORVEX_CALL(TVTest)
  ORVEX_READ(get_Channel, TChannel)
  ORVEX_WRITE(put_Channel, TChannel, "Channel")
  ORVEX_READ(get_Volume, LONG)
  ORVEX_WRITE(put_Volume, LONG, "Volume")
  ORVEX_READ(get_Mute, VARIANT_BOOL)
  ORVEX_WRITE(put_Mute, VARIANT_BOOL, "Mute")
  ORVEX_CALL(Stop)
  ORVEX_READ(get_Message, BSTR)
  ORVEX_WRITE(put_Message, BSTR, "Message")
  ORVEX_CALL(DisplayMessage)
  ORVEX_READ(get_MsgSpeed, LONG)
  ORVEX_WRITE(put_MsgSpeed, LONG, "MsgSpeed")
  ORVEX_READ(get_MsgLocation, TLocation)
  ORVEX_WRITE(put_MsgLocation, TLocation, "MsgLocation")
  ORVEX_READ(get_MsgActionStyle, TActionStyle)
  ORVEX_WRITE(put_MsgActionStyle, TActionStyle, "MsgActionStyle")
  ORVEX_READ(get_MsgRepeat, LONG)
  ORVEX_WRITE(put_MsgRepeat, LONG, "MsgRepeat")
  ORVEX_READ(get_MsgInterval, LONG)
  ORVEX_WRITE(put_MsgInterval, LONG, "MsgInterval")
  ORVEX_READ(get_MsgTransparent, VARIANT_BOOL)
  ORVEX_WRITE(put_MsgTransparent, VARIANT_BOOL, "MsgTransparent")
  ORVEX_WRITE(put_MsgBackgroundColor, OLE_COLOR, "MsgBackgroundColor")
  ORVEX_READ(get_MediaStatus, TStatus)
  ORVEX_READ(get_MediaLength, LONG)
  STDMETHODIMP get_MediaRate(LONG* v) override {
    const HRESULT hr = real_->get_MediaRate(v);
    lastRate = *v;
    return hr;
  }
  STDMETHODIMP get_MediaPosition(LONG* v) override {
    const HRESULT hr = real_->get_MediaPosition(v);
    if (reportedPosition) *v = *reportedPosition;
    lastPosition = *v;
    return hr;
  }
  ORVEX_WRITE(put_MediaPosition, LONG, "MediaPosition")
  ORVEX_WRITE(put_Logo, BSTR, "Logo")
#undef ORVEX_READ
#undef ORVEX_WRITE
#undef ORVEX_CALL

 private:
  static std::string Text(int v) { return std::to_string(v); }
  static std::string Text(long v) { return std::to_string(v); }
  static std::string Text(unsigned long v) { return std::to_string(v); }
  static std::string Text(BSTR v) { return BstrToAnsi(v); }
  ComPtr<ILumivox> real_;
  ULONG refs_ = 1;
};
