// The OLE embedding side of the automation object: drawing, in-place
// activation with the control's own surface window, the compound-document
// object, quick activation, property pages, data transfer and the
// simple-frame filter.
//
// The control is an inside-out windowed control with no user interface of its
// own: in-place activation creates the surface as a child of the site's window
// and never asks for menus, tools or accelerators.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstddef>
#include <new>
#include <utility>

#include "control/LumivoxImpl.h"
#include "win/GdiHandles.h"
#include "win/OrvexError.h"

namespace {

constexpr DWORD kViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;

// The design size of the surface in HIMETRIC units at the screen's resolution.
SIZEL DesignExtent() {
  const TWindowDC screen;
  const int dpiX = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
  const int dpiY = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return SIZEL{MulDiv(kSurfaceWidth, 2540, dpiX > 0 ? dpiX : 96),
               MulDiv(kSurfaceHeight, 2540, dpiY > 0 ? dpiY : 96)};
}

// The object starts with no extent; the first reader gets the design size.
const SIZEL& CurrentExtent(SIZEL& extent) {
  if (extent.cx == 0 && extent.cy == 0) extent = DesignExtent();
  return extent;
}

RECT ToRect(const RECTL& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool IsActivatingVerb(LONG verb) {
  return verb == OLEIVERB_PRIMARY || verb == OLEIVERB_SHOW || verb == OLEIVERB_INPLACEACTIVATE ||
         verb == OLEIVERB_UIACTIVATE;
}

}  // namespace

// ---------------------------------------------------------------------------
// IViewObject, IViewObject2, IViewObjectEx

STDMETHODIMP TLumivoxImpl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                                LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                ULONG_PTR) {
  // The surface is one opaque colour: the transparent part of a two-pass
  // draw is empty, every other content aspect is the same fill.
  if (aspect == DVASPECT_TRANSPARENT) return S_OK;
  if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_OPAQUE && aspect != DVASPECT_DOCPRINT)
    return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  COLORREF color = 0;
  if (FAILED(OleTranslateColor(control_->Color(), nullptr, &color))) color = GetSysColor(COLOR_BTNFACE);
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  if (!brush) return E_OUTOFMEMORY;
  const RECT r = ToRect(*bounds);
  FillRect(drawDc, &r, brush.Get());
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                       LOGPALETTE** colors) {
  if (!colors) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;  // no particular palette
}

STDMETHODIMP TLumivoxImpl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
  if (!freeze) return E_POINTER;
  *freeze = 0;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::SetAdvise(DWORD, DWORD flags, IAdviseSink* sink) {
  viewSink_ = sink;
  viewAdviseFlags_ = sink ? flags : 0;
  if (sink && (flags & ADVF_PRIMEFIRST)) sink->OnViewChange(DVASPECT_CONTENT, -1);
  return S_OK;
}

// Each out-parameter is optional here: a null one means the caller does not
// want that value.
STDMETHODIMP TLumivoxImpl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = DVASPECT_CONTENT;
  if (flags) *flags = viewAdviseFlags_;
  if (sink) {
    *sink = viewSink_.Get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return OLE_E_BLANK;
  *size = CurrentExtent(extent_);
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetRect(DWORD, LPRECTL rect) {
  if (!rect) return E_POINTER;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::GetViewStatus(DWORD* status) {
  if (!status) return E_POINTER;
  *status = kViewStatus;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG,
                                         DWORD* hitResult) {
  if (!bounds || !hitResult) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  *hitResult = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG,
                                        DWORD* hitResult) {
  if (!bounds || !location || !hitResult) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  RECT common{};
  *hitResult = IntersectRect(&common, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                            LPSIZEL size) {
  if (!size) return E_POINTER;
  return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject

STDMETHODIMP TLumivoxImpl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = control_->Surface();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP TLumivoxImpl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  inPlaceActive_ = false;
  control_->DestroySurface();
  // Keep the site alive until it has heard of the deactivation.
  ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::UIDeactivate() { return S_OK; }  // never UI-active

STDMETHODIMP TLumivoxImpl::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (!position) return E_POINTER;
  HWND surface = control_->Surface();
  if (!surface) return S_OK;
  MoveWindow(surface, position->left, position->top, position->right - position->left,
             position->bottom - position->top, TRUE);
  // Show only the part inside the clip rectangle (in the surface's own
  // coordinates); no region when all of it is visible.
  RECT visible{};
  if (clip && IntersectRect(&visible, position, clip) && !EqualRect(&visible, position)) {
    OffsetRect(&visible, -position->left, -position->top);
    SetWindowRgn(surface, CreateRectRgnIndirect(&visible), TRUE);
  } else if (clip && IsRectEmpty(&visible)) {
    SetWindowRgn(surface, CreateRectRgn(0, 0, 0, 0), TRUE);
  } else {
    SetWindowRgn(surface, nullptr, TRUE);
  }
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::ReactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP TLumivoxImpl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP TLumivoxImpl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP TLumivoxImpl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP TLumivoxImpl::EnableModeless(BOOL) { return S_OK; }

HRESULT TLumivoxImpl::ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position) {
  if (inPlaceActive_) {
    if (control_->Surface() && control_->SurfaceVisible())
      ShowWindow(control_->Surface(), SW_SHOWNA);
    return S_OK;
  }
  if (!site) return E_UNEXPECTED;
  ComPtr<IOleInPlaceSite> inPlace;
  HRESULT hr = QueryAs(site, &inPlace);
  if (FAILED(hr)) return hr;
  if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
  hr = inPlace->OnInPlaceActivate();
  if (FAILED(hr)) return hr;
  inPlaceActive_ = true;
  inPlaceSite_ = inPlace;

  HWND window = nullptr;
  if (FAILED(inPlace->GetWindow(&window)) || !window) window = parent;
  // The site's own rectangles say where the surface goes; the verb's
  // position, then the design size, stand in when it has none.
  RECT bounds{0, 0, kSurfaceWidth, kSurfaceHeight};
  if (position) bounds = *position;
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof(frameInfo);
  RECT sitePosition{};
  if (SUCCEEDED(inPlace->GetWindowContext(frame.Put(), document.Put(), &sitePosition, &clip,
                                          &frameInfo)))
    bounds = sitePosition;

  hr = window ? S_OK : E_FAIL;
  if (SUCCEEDED(hr)) {
    try {
      control_->CreateSurface(window, bounds);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    } catch (...) {
      hr = E_FAIL;
    }
  }
  if (FAILED(hr)) {
    inPlaceActive_ = false;
    inPlaceSite_.Reset();
    inPlace->OnInPlaceDeactivate();
    return hr;
  }
  if (clientSite_) clientSite_->ShowObject();
  return S_OK;
}

// ---------------------------------------------------------------------------
// IOleControl

STDMETHODIMP TLumivoxImpl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = nullptr;  // no mnemonics
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::OnMnemonic(MSG*) { return S_OK; }
STDMETHODIMP TLumivoxImpl::OnAmbientPropertyChange(DISPID) { return S_OK; }
STDMETHODIMP TLumivoxImpl::FreezeEvents(BOOL) { return S_OK; }  // raises none

// ---------------------------------------------------------------------------
// IOleObject

STDMETHODIMP TLumivoxImpl::SetClientSite(IOleClientSite* site) {
  clientSite_ = site;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = clientSite_.Get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP TLumivoxImpl::Close(DWORD saveOption) {
  InPlaceDeactivate();
  control_->DestroySurface();
  if (dirty_ && clientSite_ &&
      (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
    clientSite_->SaveObject();
  }
  if (adviseHolder_) adviseHolder_->SendOnClose();
  // The container's view sink would otherwise keep a reference cycle alive.
  viewSink_.Reset();
  viewAdviseFlags_ = 0;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (!moniker) return E_POINTER;
  *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::GetClipboardData(DWORD, IDataObject** data) {
  if (!data) return E_POINTER;
  *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                  LPCRECT position) {
  IOleClientSite* activeSite = site ? site : clientSite_.Get();
  if (IsActivatingVerb(verb)) return ActivateInPlace(activeSite, parent, position);
  switch (verb) {
    case OLEIVERB_HIDE:
      if (control_->Surface()) ShowWindow(control_->Surface(), SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;  // keeps no undo state
    case OLEIVERB_OPEN:        // no separate editing window
    case OLEIVERB_PROPERTIES:  // no property pages
      return E_NOTIMPL;
    default:
      break;
  }
  if (verb < 0) return E_NOTIMPL;
  // An unknown positive verb does what the primary verb does.
  const HRESULT hr = ActivateInPlace(activeSite, parent, position);
  return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
}

STDMETHODIMP TLumivoxImpl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (!verbs) return E_POINTER;
  *verbs = nullptr;
  return OleRegEnumVerbs(CLSID_Lumivox, verbs);
}

STDMETHODIMP TLumivoxImpl::Update() { return S_OK; }
STDMETHODIMP TLumivoxImpl::IsUpToDate() { return S_OK; }

STDMETHODIMP TLumivoxImpl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Lumivox;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetUserType(DWORD form, LPOLESTR* userType) {
  if (!userType) return E_POINTER;
  *userType = nullptr;
  return OleRegGetUserType(CLSID_Lumivox, form, userType);
}

STDMETHODIMP TLumivoxImpl::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_INVALIDARG;
  extent_ = *size;
  // Recompose on resize: the container redraws the new size.
  if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_INVALIDARG;
  *size = CurrentExtent(extent_);
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP TLumivoxImpl::Unadvise(DWORD connection) {
  if (!adviseHolder_) return OLE_E_NOCONNECTION;
  return adviseHolder_->Unadvise(connection);
}

STDMETHODIMP TLumivoxImpl::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->EnumAdvise(advise);
}

STDMETHODIMP TLumivoxImpl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = 0;
  return OleRegGetMiscStatus(CLSID_Lumivox, aspect, status);
}

STDMETHODIMP TLumivoxImpl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---------------------------------------------------------------------------
// IQuickActivate

STDMETHODIMP TLumivoxImpl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (!container || !control) return E_POINTER;
  // Older containers pass shorter structures; these fields are in all of them.
  if (container->cbSize < offsetof(QACONTAINER, dwAmbientFlags) ||
      control->cbSize < offsetof(QACONTROL, dwPointerActivationPolicy))
    return E_INVALIDARG;
  const ULONG controlSize = control->cbSize;
  control->dwMiscStatus = 0;
  control->dwViewStatus = kViewStatus;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  if (controlSize >= sizeof(QACONTROL)) control->dwPointerActivationPolicy = 0;

  SetClientSite(container->pClientSite);
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  // A sink that does not take the connection is left out; activation goes on.
  if (container->pPropertyNotifySink &&
      FAILED(propertyNotify_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie)))
    control->dwPropNotifyCookie = 0;
  if (container->pUnkEventSink &&
      FAILED(events_.Advise(container->pUnkEventSink, &control->dwEventCookie)))
    control->dwEventCookie = 0;
  OleRegGetMiscStatus(CLSID_Lumivox, DVASPECT_CONTENT, &control->dwMiscStatus);
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::SetContentExtent(LPSIZEL size) {
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::GetContentExtent(LPSIZEL size) {
  if (!size) return E_POINTER;
  *size = CurrentExtent(extent_);
  return S_OK;
}

// ---------------------------------------------------------------------------
// ISpecifyPropertyPages

STDMETHODIMP TLumivoxImpl::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  return S_OK;
}

// ---------------------------------------------------------------------------
// IDataObject: the control offers no data formats and takes none.

STDMETHODIMP TLumivoxImpl::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_POINTER;
  return DV_E_FORMATETC;
}

STDMETHODIMP TLumivoxImpl::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_POINTER;
  return DV_E_FORMATETC;
}

STDMETHODIMP TLumivoxImpl::QueryGetData(FORMATETC* format) {
  if (!format) return E_POINTER;
  return DV_E_FORMATETC;
}

STDMETHODIMP TLumivoxImpl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (!out) return E_POINTER;
  out->ptd = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP TLumivoxImpl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
  if (!formats) return E_POINTER;
  *formats = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TLumivoxImpl::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP TLumivoxImpl::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

STDMETHODIMP TLumivoxImpl::EnumDAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

// ---------------------------------------------------------------------------
// ISimpleFrameSite: messages pass through unfiltered.

STDMETHODIMP TLumivoxImpl::PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result,
                                            DWORD* cookie) {
  if (!result || !cookie) return E_POINTER;
  *result = 0;
  *cookie = 0;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT* result,
                                             DWORD) {
  if (!result) return E_POINTER;
  *result = 0;
  return S_OK;
}
