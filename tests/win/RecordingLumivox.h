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

// Forwards every function of the table (control/LumivoxInterface.def) to the
// real control and writes down the writes ("Name=value") and the methods.
class TForwardingLumivox : public ILumivox {
 public:
  explicit TForwardingLumivox(ILumivox* real) : real_(real) {}
  virtual ~TForwardingLumivox() = default;
  std::vector<std::string> calls;

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

#define ORVEX_FORWARD_GET(name, type) \
  STDMETHODIMP get_##name(type* v) override { return real_->get_##name(v); }
#define ORVEX_FORWARD_PUT(name, type)                  \
  STDMETHODIMP put_##name(type v) override {           \
    calls.push_back(std::string(#name "=") + Text(v)); \
    return real_->put_##name(v);                       \
  }
#define ORVEX_FORWARD_PUTREF(name, type) \
  STDMETHODIMP putref_##name(type v) override { return real_->putref_##name(v); }
#define ORVEX_FORWARD_METHOD(name, type) \
  STDMETHODIMP name() override { calls.push_back(#name); return real_->name(); }
#define ORVEX_FORWARD_METHOD_RESULT(name, type) \
  STDMETHODIMP name(type* v) override { calls.push_back(#name); return real_->name(v); }
#define ORVEX_FUNCTION(name, dispid, invoke, type, help) ORVEX_FORWARD_##invoke(name, type)
#include "control/LumivoxInterface.def"
#undef ORVEX_FORWARD_GET
#undef ORVEX_FORWARD_PUT
#undef ORVEX_FORWARD_PUTREF
#undef ORVEX_FORWARD_METHOD
#undef ORVEX_FORWARD_METHOD_RESULT

 protected:
  static std::string Text(int v) { return std::to_string(v); }
  static std::string Text(long v) { return std::to_string(v); }
  static std::string Text(unsigned long v) { return std::to_string(v); }
  static std::string Text(BSTR v) { return BstrToAnsi(v); }
  static std::string Text(IFontDisp*) { return "(font)"; }
  ComPtr<ILumivox> real_;
  ULONG refs_ = 1;
};

class TRecordingLumivox final : public TForwardingLumivox {
 public:
  using TForwardingLumivox::TForwardingLumivox;
  LONG lastPosition = 0, lastRate = 0;
  // When set, MediaPosition reads give this instead of the control's answer.
  std::optional<LONG> reportedPosition;

  // Initialize and the font are not written down.
  STDMETHODIMP Initialize(VARIANT_BOOL* v) override { return real_->Initialize(v); }
  STDMETHODIMP put_MsgFont(IFontDisp* v) override { return real_->put_MsgFont(v); }
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
};
