// The container side of embedding: a client site that is also the in-place
// site, and an in-place frame for the host's top-level window. Neither has
// menus, tool space, a status line, storage or a moniker; they say so with
// the usual answers. Each is one COM object with one identity.
#include "demo/ControlHost.h"

#include <olectl.h>

#include <utility>

#include "win/GdiHandles.h"

namespace {

// Counts references for one small COM object that lives on the heap.
class TRefCounted {
 protected:
  virtual ~TRefCounted() = default;
  ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG ReleaseImpl() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  LONG refs_ = 1;
};

// The host's top-level window as the in-place frame.
class TControlFrame final : public IOleInPlaceFrame, private TRefCounted {
 public:
  explicit TControlFrame(HWND window) : window_(window) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame) {
      *object = static_cast<IOleInPlaceFrame*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceUIWindow: no room for an object's tools.
  STDMETHODIMP GetBorder(LPRECT border) override {
    if (!border) return E_POINTER;
    return INPLACE_E_NOTOOLSPACE;
  }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override {
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;  // null: the object wants none
  }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame: no menus to merge, no status line, no accelerators.
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths) override {
    if (!widths) return E_POINTER;
    widths->width[0] = widths->width[2] = widths->width[4] = 0;
    return S_OK;
  }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  HWND window_;
};

}  // namespace

// The control's place on the host window: client site and in-place site.
class TControlSite final : public IOleClientSite, public IOleInPlaceSite, private TRefCounted {
 public:
  // Where the next activation puts the control.
  void Place(HWND host, const RECT& bounds) {
    host_ = host;
    bounds_ = bounds;
    HWND frameWindow = GetAncestor(host, GA_ROOT);
    *frame_.Put() = new TControlFrame(frameWindow ? frameWindow : host);  // adopts its reference
  }
  void Clear() {
    frame_.Reset();
    host_ = nullptr;
    active_ = false;
  }
  void SetBounds(const RECT& bounds) { bounds_ = bounds; }
  const RECT& Bounds() const { return bounds_; }
  bool Active() const { return active_; }
  HWND Host() const { return host_; }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

  // IOleClientSite: no storage to save into, no moniker, no container object.
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (!moniker) return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (!container) return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }  // always in view
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = host_;
    return host_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return host_ ? S_OK : S_FALSE; }
  STDMETHODIMP OnInPlaceActivate() override {
    active_ = true;
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = frame_.Get();
    if (*frame) (*frame)->AddRef();
    *document = nullptr;  // the frame is the document window too
    *position = bounds_;
    if (!host_ || !GetClientRect(host_, clip)) *clip = bounds_;
    info->fMDIApp = FALSE;
    frame_->GetWindow(&info->hwndFrame);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    active_ = false;
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override {
    if (!position) return E_POINTER;
    bounds_ = *position;  // the host grants whatever the control asks for
    return S_OK;
  }

 private:
  HWND host_ = nullptr;
  RECT bounds_{};
  bool active_ = false;
  ComPtr<IOleInPlaceFrame> frame_;
};

TControlHost::TControlHost() : site_(new TControlSite) {}

TControlHost::~TControlHost() {
  Close();
  site_->Clear();
  site_->Release();
}

HRESULT TControlHost::Create(REFCLSID clsid, HWND host, const RECT& bounds, bool initNew) {
  Close();
  ComPtr<IUnknown> control;
  const HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(control.Put()));
  if (FAILED(hr)) return hr;
  return Embed(control.Get(), host, bounds, initNew);
}

HRESULT TControlHost::Create(const wchar_t* progId, HWND host, const RECT& bounds,
                             bool initNew) {
  if (!progId) return E_POINTER;
  CLSID clsid{};
  const HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  return Create(clsid, host, bounds, initNew);
}

HRESULT TControlHost::Embed(IUnknown* control, HWND host, const RECT& bounds, bool initNew) {
  Close();
  if (!control) return E_POINTER;
  if (!IsWindow(host)) return E_INVALIDARG;
  HRESULT hr = QueryAs(control, &oleObject_);
  if (FAILED(hr)) return hr;
  control_ = control;
  site_->Place(host, bounds);

  // A control that wants its site before its properties gets it first.
  DWORD misc = 0;
  if (FAILED(oleObject_->GetMiscStatus(DVASPECT_CONTENT, &misc))) misc = 0;
  const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) hr = oleObject_->SetClientSite(site_);
  if (SUCCEEDED(hr) && initNew) {
    if (const auto persist = QueryAs<IPersistStreamInit>(control)) hr = persist->InitNew();
  }
  if (SUCCEEDED(hr) && !siteFirst) hr = oleObject_->SetClientSite(site_);
  if (SUCCEEDED(hr)) {
    oleObject_->SetHostNames(L"Orvex", nullptr);
    // The control's extent is the rectangle's size in HIMETRIC.
    const TWindowDC screen;
    SIZEL extent{MulDiv(bounds.right - bounds.left, 2540, GetDeviceCaps(screen.Get(), LOGPIXELSX)),
                 MulDiv(bounds.bottom - bounds.top, 2540, GetDeviceCaps(screen.Get(), LOGPIXELSY))};
    oleObject_->SetExtent(DVASPECT_CONTENT, &extent);
    RECT position = bounds;
    hr = oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, host, &position);
  }
  if (FAILED(hr)) Close();
  return hr;
}

void TControlHost::Close() {
  ComPtr<IOleObject> ole = std::move(oleObject_);
  if (ole) {
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
  }
  ole.Reset();
  control_.Reset();
  site_->Clear();
}

HWND TControlHost::ControlWindow() const {
  ComPtr<IOleInPlaceObject> inPlace;
  if (FAILED(Query(&inPlace))) return nullptr;
  HWND window = nullptr;
  return SUCCEEDED(inPlace->GetWindow(&window)) ? window : nullptr;
}

HRESULT TControlHost::Move(const RECT& bounds) {
  ComPtr<IOleInPlaceObject> inPlace;
  HRESULT hr = Query(&inPlace);
  if (FAILED(hr)) return hr;
  site_->SetBounds(bounds);
  RECT clip = bounds;
  if (site_->Host()) GetClientRect(site_->Host(), &clip);
  return inPlace->SetObjectRects(&bounds, &clip);
}

IOleClientSite* TControlHost::Site() const { return site_; }
bool TControlHost::InPlaceActive() const { return site_->Active(); }
const RECT& TControlHost::Bounds() const { return site_->Bounds(); }
