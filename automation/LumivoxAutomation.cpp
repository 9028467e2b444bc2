// TLumivoxImpl: identity and aggregation, dispatch through the type library,
// the ILumivox members, connection points, class information and errors.
#include "about/UnitAbout.h"
#include "control/LumivoxImpl.h"
#include "win/OrvexError.h"
#include "automation/ErrorReport.h"
#include "automation/FontLink.h"
#include "automation/TypeInfoCache.h"

namespace {

VARIANT_BOOL AsResult(bool value) { return value ? 1 : 0; }

template <typename Work>
HRESULT Member(Work&& work) {
  return Guarded(IID_ILumivox, std::forward<Work>(work));
}

// Members that report no failure at all.
template <typename Work>
HRESULT Swallowing(Work&& work) {
  try {
    work();
  } catch (...) {
  }
  return S_OK;
}

template <typename T>
HRESULT Get(T* out, T value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

}  // namespace

// --- lifetime and identity -------------------------------------------------

TLumivoxImpl::TLumivoxImpl(IUnknown* outer)
    : outer_(outer ? outer : &inner_),
      control_(std::make_unique<TLumivox>()),
      propertyNotify_(this, IID_IPropertyNotifySink),
      events_(this, DIID_ILumivoxEvents),
      fontLink_(std::make_unique<TFontLink>(this)) {
  inner_.owner = this;
  ModuleLock();
}

TLumivoxImpl::~TLumivoxImpl() {
  fontLink_.reset();
  control_.reset();
  ModuleUnlock();
}

HRESULT CreateLumivox(IUnknown* outer, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
  TLumivoxImpl* created = nullptr;
  try {
    created = new TLumivoxImpl(outer);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& failure) {
    return ReportError(GUID_NULL, failure.what());
  }
  IUnknown* inner = created->InnerUnknown();
  const HRESULT hr = inner->QueryInterface(riid, object);
  inner->Release();  // the creation reference; a failed query destroys it
  return hr;
}

STDMETHODIMP TLumivoxImpl::TInner::QueryInterface(REFIID riid, void** object) {
  return owner->InnerQueryInterface(riid, object);
}

STDMETHODIMP_(ULONG) TLumivoxImpl::TInner::AddRef() {
  return InterlockedIncrement(&owner->refs_);
}

STDMETHODIMP_(ULONG) TLumivoxImpl::TInner::Release() {
  const LONG refs = InterlockedDecrement(&owner->refs_);
  if (refs == 0) delete owner;
  return refs;
}

HRESULT TLumivoxImpl::InnerQueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  void* found = nullptr;
  if (riid == IID_IUnknown) found = &inner_;
  else if (riid == IID_ILumivox || riid == IID_IDispatch) found = static_cast<ILumivox*>(this);
  else if (riid == IID_IViewObjectEx || riid == IID_IViewObject2 || riid == IID_IViewObject)
    found = static_cast<IViewObjectEx*>(this);
  else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
    found = static_cast<IOleInPlaceObject*>(this);
  else if (riid == IID_IOleInPlaceActiveObject) found = static_cast<IOleInPlaceActiveObject*>(this);
  else if (riid == IID_IOleControl) found = static_cast<IOleControl*>(this);
  else if (riid == IID_IOleObject) found = static_cast<IOleObject*>(this);
  else if (riid == IID_IQuickActivate) found = static_cast<IQuickActivate*>(this);
  else if (riid == IID_IPersistStorage) found = static_cast<IPersistStorage*>(this);
  else if (riid == IID_IPersistStreamInit) found = static_cast<IPersistStreamInit*>(this);
  else if (riid == IID_ISpecifyPropertyPages) found = static_cast<ISpecifyPropertyPages*>(this);
  else if (riid == IID_IDataObject) found = static_cast<IDataObject*>(this);
  else if (riid == IID_ISimpleFrameSite) found = static_cast<ISimpleFrameSite*>(this);
  else if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo)
    found = static_cast<IProvideClassInfo2*>(this);
  else if (riid == IID_IConnectionPointContainer)
    found = static_cast<IConnectionPointContainer*>(this);
  else if (riid == IID_ISupportErrorInfo) found = static_cast<ISupportErrorInfo*>(this);
  *object = found;
  if (!found) return E_NOINTERFACE;
  static_cast<IUnknown*>(found)->AddRef();
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::QueryInterface(REFIID riid, void** object) {
  return outer_->QueryInterface(riid, object);
}

STDMETHODIMP_(ULONG) TLumivoxImpl::AddRef() { return outer_->AddRef(); }

STDMETHODIMP_(ULONG) TLumivoxImpl::Release() { return outer_->Release(); }

// --- IDispatch ----------------------------------------------------------------

STDMETHODIMP TLumivoxImpl::GetTypeInfoCount(UINT* count) { return Get<UINT>(count, 1); }

STDMETHODIMP TLumivoxImpl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return LumivoxDispatchTypeInfo(info);
}

STDMETHODIMP TLumivoxImpl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                         DISPID* ids) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  // A member name alone is looked up in a table; named arguments go to the
  // type information.
  if (count == 1 && LumivoxMemberId(names[0], ids)) return S_OK;
  ComPtr<ITypeInfo> info;
  const HRESULT hr = LumivoxTypeInfo(info.Put());
  if (FAILED(hr)) return hr;
  return info->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP TLumivoxImpl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  HRESULT hr = S_OK;
  ITypeInfo* info = BorrowLumivoxTypeInfo(&hr);
  if (!info) return hr;
  return info->Invoke(static_cast<ILumivox*>(this), id, flags, params, result, exception,
                      argError);
}

// --- notifications around the framework-backed properties ----------------------

namespace {

// Calls visit on every IPropertyNotifySink connected to the object's
// property-notify point, in the enumerator's order, until it returns false.
template <typename Visit>
void ForEachPropertySink(IUnknown* object, Visit visit) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  ComPtr<IEnumConnections> connections;
  if (FAILED(QueryAs(object, &container)) ||
      FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, point.Put())) ||
      FAILED(point->EnumConnections(connections.Put())) || !connections) {
    return;
  }
  CONNECTDATA data{};
  ULONG fetched = 0;
  while (connections->Next(1, &data, &fetched) == S_OK && fetched == 1) {
    bool goOn = true;
    if (const ComPtr<IUnknown> connected = ComPtr<IUnknown>::Adopt(data.pUnk)) {
      if (const auto sink = connected.As<IPropertyNotifySink>()) goOn = visit(sink.Get());
    }
    if (!goOn) return;
  }
}

}  // namespace

HRESULT TLumivoxImpl::RequestEdit(DISPID id) {
  HRESULT answer = S_OK;
  ForEachPropertySink(outer_, [&](IPropertyNotifySink* sink) {
    if (sink->OnRequestEdit(id) != S_FALSE) return true;
    answer = S_FALSE;
    return false;
  });
  return answer;
}

void TLumivoxImpl::NotifyChanged(DISPID id) {
  ForEachPropertySink(outer_, [&](IPropertyNotifySink* sink) {
    sink->OnChanged(id);
    return true;
  });
}

// --- MsgColor and MsgFont ----------------------------------------------------------

STDMETHODIMP TLumivoxImpl::get_MsgColor(OLE_COLOR* Value) {
  return Get<OLE_COLOR>(Value, control_->Color());
}

STDMETHODIMP TLumivoxImpl::put_MsgColor(OLE_COLOR Value) {
  HRESULT answer = S_OK;
  const HRESULT hr = Member([&] {
    answer = RequestEdit(LumivoxDispid::MsgColor);
    if (answer == S_FALSE) return;
    if (Value != control_->Color()) MarkDirty();
    control_->SetColor(Value);
    if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);  // containers that draw us
    NotifyChanged(LumivoxDispid::MsgColor);
  });
  return FAILED(hr) ? hr : answer;
}

STDMETHODIMP TLumivoxImpl::get_MsgFont(IFontDisp** Value) {
  if (!Value) return E_POINTER;
  *Value = nullptr;
  return Member([&] {
    ComPtr<IFont> font = fontLink_->Object(control_->Font());
    if (!font) throw EOrvexError("Error creating font object");
    ComPtr<IFontDisp> disp = font.As<IFontDisp>();
    if (!disp) throw EOrvexError("Interface not supported");
    *Value = disp.Detach();
  });
}

HRESULT TLumivoxImpl::AdoptFont(IFontDisp* Value) {
  HRESULT answer = S_OK;
  const HRESULT hr = Member([&] {
    answer = RequestEdit(LumivoxDispid::MsgFont);
    if (answer == S_FALSE) return;
    if (!Value) {
      fontLink_->Follow(nullptr);  // keeps the current font values
    } else {
      const auto font = QueryAs<IFont>(Value);
      if (!font) throw EOrvexError("Interface not supported");
      fontLink_->Follow(font.Get());
      TakeFont(ReadFontObject(font.Get(), control_->Font()));
    }
    NotifyChanged(LumivoxDispid::MsgFont);
  });
  return FAILED(hr) ? hr : answer;
}

STDMETHODIMP TLumivoxImpl::put_MsgFont(IFontDisp* Value) { return AdoptFont(Value); }

STDMETHODIMP TLumivoxImpl::putref_MsgFont(IFontDisp* Value) { return AdoptFont(Value); }

void TLumivoxImpl::FontObjectChanged() {
  if (fontLink_->Pushing()) return;
  if (IFont* font = fontLink_->Current()) TakeFont(ReadFontObject(font, control_->Font()));
}

void TLumivoxImpl::TakeFont(const TFontState& font) {
  if (font == control_->Font()) return;
  control_->SetFont(font);
  MarkDirty();
}

// --- members forwarded to the control ------------------------------------------------

// Shows the About window modally; only a failure to create it is reported.
STDMETHODIMP TLumivoxImpl::AboutOrvex() {
  return Member([] { ShowLumivoxAbout(); });
}

STDMETHODIMP TLumivoxImpl::get_FileName(BSTR* Value) {
  if (!Value) return E_POINTER;
  *Value = nullptr;
  return Member([&] { *Value = TextToBstr(control_->FileName()); });
}

STDMETHODIMP TLumivoxImpl::put_FileName(BSTR Value) {
  return Member([&] { control_->SetFileName(BstrText(Value)); });
}

STDMETHODIMP TLumivoxImpl::CloseControl() {
  return Swallowing([&] { control_->CloseControl(); });
}

STDMETHODIMP TLumivoxImpl::Initialize(VARIANT_BOOL* Value) {
  if (!Value) return E_POINTER;
  *Value = 0;
  return Member([&] { *Value = AsResult(control_->Initialize()); });
}

STDMETHODIMP TLumivoxImpl::Open(VARIANT_BOOL* Value) {
  if (!Value) return E_POINTER;
  *Value = 0;
  return Swallowing([&] { *Value = AsResult(control_->Open()); });
}

STDMETHODIMP TLumivoxImpl::Play() { return Member([&] { control_->Play(); }); }
STDMETHODIMP TLumivoxImpl::Pause() { return Member([&] { control_->Pause(); }); }
STDMETHODIMP TLumivoxImpl::Close() { return Member([&] { control_->Close(); }); }
STDMETHODIMP TLumivoxImpl::TVTest() { return Member([&] { control_->TVTest(); }); }
STDMETHODIMP TLumivoxImpl::Stop() { return Member([&] { control_->Stop(); }); }

STDMETHODIMP TLumivoxImpl::get_Channel(TChannel* Value) {
  return Get<TChannel>(Value, static_cast<TChannel>(control_->Channel()));
}

STDMETHODIMP TLumivoxImpl::put_Channel(TChannel Value) {
  return Member([&] { control_->SetChannel(Value); });
}

STDMETHODIMP TLumivoxImpl::get_Volume(LONG* Value) { return Get<LONG>(Value, control_->Volume()); }

STDMETHODIMP TLumivoxImpl::put_Volume(LONG Value) {
  return Member([&] { control_->SetVolume(Value); });
}

STDMETHODIMP TLumivoxImpl::get_Mute(VARIANT_BOOL* Value) {
  return Get<VARIANT_BOOL>(Value, AsResult(control_->Mute()));
}

STDMETHODIMP TLumivoxImpl::put_Mute(VARIANT_BOOL Value) {
  return Member([&] { control_->SetMute(Value != 0); });
}

STDMETHODIMP TLumivoxImpl::get_Message(BSTR* Value) {
  if (!Value) return E_POINTER;
  *Value = nullptr;
  return Member([&] { *Value = AnsiToBstr(control_->Message()); });
}

STDMETHODIMP TLumivoxImpl::put_Message(BSTR Value) {
  return Member([&] { control_->SetMessage(BstrToAnsi(Value)); });
}

// Starts a run of the current message on the strip; a failure shows nothing
// and is not reported.
STDMETHODIMP TLumivoxImpl::DisplayMessage() {
  return Swallowing([&] { control_->DisplayMessage(); });
}

STDMETHODIMP TLumivoxImpl::get_MsgSpeed(LONG* Value) {
  return Get<LONG>(Value, control_->MsgSpeed());
}

STDMETHODIMP TLumivoxImpl::put_MsgSpeed(LONG Value) {
  return Member([&] { control_->SetMsgSpeed(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MsgLocation(TLocation* Value) {
  return Get<TLocation>(Value, static_cast<TLocation>(control_->MsgLocation()));
}

STDMETHODIMP TLumivoxImpl::put_MsgLocation(TLocation Value) {
  return Member([&] { control_->SetMsgLocation(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MsgActionStyle(TActionStyle* Value) {
  return Get<TActionStyle>(Value, static_cast<TActionStyle>(control_->MsgActionStyle()));
}

STDMETHODIMP TLumivoxImpl::put_MsgActionStyle(TActionStyle Value) {
  return Member([&] { control_->SetMsgActionStyle(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MsgRepeat(LONG* Value) {
  return Get<LONG>(Value, control_->MsgRepeat());
}

STDMETHODIMP TLumivoxImpl::put_MsgRepeat(LONG Value) {
  return Member([&] { control_->SetMsgRepeat(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MsgInterval(LONG* Value) {
  return Get<LONG>(Value, control_->MsgInterval());
}

STDMETHODIMP TLumivoxImpl::put_MsgInterval(LONG Value) {
  return Member([&] { control_->SetMsgInterval(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MsgTransparent(VARIANT_BOOL* Value) {
  return Get<VARIANT_BOOL>(Value, AsResult(control_->MsgTransparent()));
}

STDMETHODIMP TLumivoxImpl::put_MsgTransparent(VARIANT_BOOL Value) {
  return Member([&] { control_->SetMsgTransparent(Value != 0); });
}

STDMETHODIMP TLumivoxImpl::put_MsgBackgroundColor(OLE_COLOR Value) {
  return Member([&] { control_->SetMsgBackgroundColor(Value); });
}

STDMETHODIMP TLumivoxImpl::get_MediaStatus(TStatus* Value) {
  return Get<TStatus>(Value, control_->MediaStatus());
}

STDMETHODIMP TLumivoxImpl::get_MediaLength(LONG* Value) {
  return Get<LONG>(Value, control_->MediaLength());
}

STDMETHODIMP TLumivoxImpl::get_MediaRate(LONG* Value) {
  return Get<LONG>(Value, control_->MediaRate());
}

STDMETHODIMP TLumivoxImpl::get_MediaPosition(LONG* Value) {
  return Get<LONG>(Value, control_->MediaPosition());
}

STDMETHODIMP TLumivoxImpl::put_MediaPosition(LONG Value) {
  return Member([&] { control_->SetMediaPosition(Value); });
}

STDMETHODIMP TLumivoxImpl::put_Logo(BSTR Value) {
  return Member([&] { control_->SetLogo(BstrText(Value)); });
}

// --- connection points, class information, error support -------------------------------

STDMETHODIMP TLumivoxImpl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  IConnectionPoint* const all[] = {&propertyNotify_, &events_};
  return CreateConnectionPointEnumerator(all, 2, points);
}

STDMETHODIMP TLumivoxImpl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  for (TConnectionPoint* candidate : {&propertyNotify_, &events_}) {
    if (candidate->Iid() == riid) {
      *point = candidate;
      candidate->AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP TLumivoxImpl::GetClassInfo(ITypeInfo** info) { return LumivoxClassTypeInfo(info); }

STDMETHODIMP TLumivoxImpl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = DIID_ILumivoxEvents;
    return S_OK;
  }
  *guid = GUID_NULL;
  return E_FAIL;
}

STDMETHODIMP TLumivoxImpl::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == IID_ILumivox ? S_OK : S_FALSE;
}

STDMETHODIMP TLumivoxImpl::GetClassID(CLSID* clsid) { return Get<CLSID>(clsid, CLSID_Lumivox); }
