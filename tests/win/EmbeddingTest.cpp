// The control as an embedded OLE object: its interface set and identity, in-place
// activation in a minimal container, drawing, advise sinks, quick activation,
// and that closing leaves no windows and no references behind.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/TestSupport.h"
#include "win/GdiHandles.h"
#include "control/LumivoxImpl.h"
#include "demo/ControlHost.h"

namespace {

ULONG RefCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

ComPtr<IUnknown> NewControl() {
  ComPtr<IUnknown> control;
  EXPECT_EQ(S_OK, CreateLumivox(nullptr, IID_PPV_ARGS(control.Put())));
  return control;
}

SIZEL DesignExtent() {
  const TWindowDC screen;
  return SIZEL{MulDiv(kSurfaceWidth, 2540, GetDeviceCaps(screen.Get(), LOGPIXELSX)),
               MulDiv(kSurfaceHeight, 2540, GetDeviceCaps(screen.Get(), LOGPIXELSY))};
}


::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual) {
  if (EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
         << expected.bottom << "), got (" << actual.left << "," << actual.top << ")-("
         << actual.right << "," << actual.bottom << ")";
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

// A top-level window on the first monitor for the control to live on.
class HostWindow {
 public:
  HostWindow() {
    window_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                              40, 40, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  }
  ~HostWindow() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

// Records what the control tells it, as a view and OLE advise sink, a
// property-change sink and an (empty) event sink.
class RecordingSink final : public IAdviseSinkEx, public IPropertyNotifySink, public IDispatch {
 public:
  int viewChanges = 0;
  int closes = 0;
  std::vector<DISPID> changed;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IAdviseSink || riid == IID_IAdviseSinkEx) {
      *object = static_cast<IAdviseSinkEx*>(this);
    } else if (riid == IID_IPropertyNotifySink) {
      *object = static_cast<IPropertyNotifySink*>(this);
    } else if (riid == IID_IDispatch || riid == DIID_ILumivoxEvents) {
      *object = static_cast<IDispatch*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the stack

  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override { ++viewChanges; }
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override { ++closes; }
  STDMETHODIMP_(void) OnViewStatusChange(DWORD) override {}

  STDMETHODIMP OnChanged(DISPID id) override {
    changed.push_back(id);
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

  IUnknown* Unknown() { return static_cast<IAdviseSinkEx*>(this); }
  ULONG Refs() const { return refs_; }

 private:
  ULONG refs_ = 1;
};

constexpr RECT kFormBounds{12, 34, 12 + kSurfaceWidth, 34 + kSurfaceHeight};

}  // namespace

TEST(EmbeddingIdentity, AnswersExactlyTheControlInterfacesThroughOneIdentity) {
  ComPtr<IUnknown> control = NewControl();
  ASSERT_TRUE(control);
  struct TFace {
    const char* name;
    const IID& iid;
    bool answered;
  };
#define ORVEX_FACE(name, answered) {#name, IID_##name, answered}
  const TFace faces[] = {
      ORVEX_FACE(IUnknown, true), ORVEX_FACE(IViewObjectEx, true),
      ORVEX_FACE(IViewObject2, true), ORVEX_FACE(IViewObject, true),
      ORVEX_FACE(IOleInPlaceObject, true), ORVEX_FACE(IOleWindow, true),
      ORVEX_FACE(IOleInPlaceActiveObject, true), ORVEX_FACE(IOleControl, true),
      ORVEX_FACE(IOleObject, true), ORVEX_FACE(IQuickActivate, true),
      ORVEX_FACE(IPersistStorage, true), ORVEX_FACE(IPersistStreamInit, true),
      ORVEX_FACE(ISpecifyPropertyPages, true), ORVEX_FACE(IDataObject, true),
      ORVEX_FACE(ISimpleFrameSite, true), ORVEX_FACE(IProvideClassInfo, true),
      ORVEX_FACE(IProvideClassInfo2, true), ORVEX_FACE(IConnectionPointContainer, true),
      ORVEX_FACE(ISupportErrorInfo, true), ORVEX_FACE(ILumivox, true),
      ORVEX_FACE(IDispatch, true),
      // Hosts that find these take other paths: IPersist alone would offer no
      // way to save, the property bags would store properties as text.
      ORVEX_FACE(IPersist, false), ORVEX_FACE(IPersistStream, false),
      ORVEX_FACE(IPersistPropertyBag, false), ORVEX_FACE(IPersistPropertyBag2, false),
      ORVEX_FACE(IPersistMemory, false), ORVEX_FACE(IPersistFile, false),
      ORVEX_FACE(IOleInPlaceObjectWindowless, false), ORVEX_FACE(IPointerInactive, false),
      ORVEX_FACE(IRunnableObject, false), ORVEX_FACE(IOleCache, false),
      ORVEX_FACE(IMarshal, false), ORVEX_FACE(IClassFactory, false)};
#undef ORVEX_FACE
  for (const TFace& face : faces) {
    SCOPED_TRACE(face.name);
    if (!face.answered) {
      void* refused = &control;  // the object must clear it
      EXPECT_EQ(E_NOINTERFACE, control->QueryInterface(face.iid, &refused));
      EXPECT_EQ(nullptr, refused);
      continue;
    }
    ComPtr<IUnknown> held;
    ASSERT_EQ(S_OK, QueryIid(control.Get(), face.iid, &held));
    EXPECT_EQ(control.Get(), held.As<IUnknown>().Get()) << "one identity";
  }
  EXPECT_EQ(1u, RefCount(control.Get()));
}

class Embedded : public ::testing::Test {
 protected:
  HostWindow window;
  ComPtr<IUnknown> control = NewControl();
  TControlHost host;

  void Embed() { ASSERT_EQ(S_OK, host.Embed(control.Get(), window.Handle(), kFormBounds)); }
  ComPtr<IOleObject> Ole() { return control.As<IOleObject>(); }
  bool Shown(HWND surface) { return (GetWindowLongA(surface, GWL_STYLE) & WS_VISIBLE) != 0; }
};

TEST_F(Embedded, SurfaceIsAVisibleChildOfTheHostAtTheFormSize) {
  Embed();
  EXPECT_TRUE(host.InPlaceActive());
  const HWND surface = host.ControlWindow();
  ASSERT_TRUE(IsWindow(surface));
  EXPECT_EQ(window.Handle(), GetParent(surface));
  EXPECT_TRUE(IsWindowVisible(surface));
  EXPECT_TRUE(SameRect(kFormBounds, PlaceInParent(surface)));
  // Both window interfaces of the object name the same surface.
  HWND fromActive = nullptr;
  EXPECT_EQ(S_OK, control.As<IOleInPlaceActiveObject>()
                      ->GetWindow(&fromActive));
  EXPECT_EQ(surface, fromActive);

  // Activating again keeps the one surface.
  EXPECT_EQ(S_OK, Ole()->DoVerb(OLEIVERB_SHOW, nullptr, host.Site(), 0, window.Handle(),
                                &kFormBounds));
  EXPECT_EQ(std::vector<HWND>{surface}, ChildWindows(window.Handle()));
  EXPECT_EQ(surface, host.ControlWindow());

  // The container moves it; a clip rectangle cuts off what lies outside.
  const RECT moved{5, 6, 105, 56};
  ASSERT_EQ(S_OK, host.Move(moved));
  EXPECT_TRUE(SameRect(moved, PlaceInParent(surface)));
  const TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, GetWindowRgn(surface, region.Get())) << "no region when unclipped";
  const RECT clip{0, 0, 50, 40};
  auto inPlace = control.As<IOleInPlaceObject>();
  ASSERT_EQ(S_OK, inPlace->SetObjectRects(&moved, &clip));
  EXPECT_EQ(SIMPLEREGION, GetWindowRgn(surface, region.Get()));
  RECT box{};
  GetRgnBox(region.Get(), &box);
  EXPECT_TRUE(SameRect(RECT{0, 0, 45, 34}, box));
}

TEST_F(Embedded, InitializeHidesTheSurfaceForGoodAndHideVerbHidesIt) {
  Embed();
  const HWND surface = host.ControlWindow();
  EXPECT_EQ(S_OK, Ole()->DoVerb(OLEIVERB_HIDE, nullptr, host.Site(), 0, window.Handle(),
                                &kFormBounds));
  EXPECT_FALSE(Shown(surface));
  EXPECT_EQ(S_OK, Ole()->DoVerb(OLEIVERB_SHOW, nullptr, host.Site(), 0, window.Handle(),
                                &kFormBounds));
  EXPECT_TRUE(Shown(surface)) << "show after hide";

  auto lumivox = control.As<ILumivox>();
  VARIANT_BOOL initialized = 0;
  ASSERT_EQ(S_OK, lumivox->Initialize(&initialized));
  EXPECT_FALSE(Shown(surface));
  EXPECT_EQ(S_OK, Ole()->DoVerb(OLEIVERB_SHOW, nullptr, host.Site(), 0, window.Handle(),
                                &kFormBounds));
  EXPECT_FALSE(Shown(surface)) << "a show verb after Initialize";
  // A new activation makes a new surface, hidden as well, where the site
  // (not the verb's rectangle) says.
  ASSERT_EQ(S_OK, control.As<IOleInPlaceObject>()->InPlaceDeactivate());
  EXPECT_FALSE(IsWindow(surface));
  EXPECT_FALSE(host.InPlaceActive());
  const RECT elsewhere{0, 0, 10, 10};
  ASSERT_EQ(S_OK, Ole()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, host.Site(), 0,
                                window.Handle(), &elsewhere));
  ASSERT_TRUE(IsWindow(host.ControlWindow()));
  EXPECT_FALSE(Shown(host.ControlWindow()));
  EXPECT_TRUE(SameRect(kFormBounds, PlaceInParent(host.ControlWindow())));
  EXPECT_EQ(S_OK, lumivox->CloseControl());
}

TEST_F(Embedded, VerbsOtherThanActivationAnswerAsUsual) {
  Embed();
  auto ole = Ole();
  EXPECT_EQ(E_NOTIMPL, ole->DoVerb(OLEIVERB_PROPERTIES, nullptr, host.Site(), 0, window.Handle(),
                                   &kFormBounds));
  EXPECT_EQ(E_NOTIMPL, ole->DoVerb(OLEIVERB_OPEN, nullptr, host.Site(), 0, window.Handle(),
                                   &kFormBounds));
  EXPECT_EQ(E_NOTIMPL, ole->DoVerb(-42, nullptr, host.Site(), 0, window.Handle(), &kFormBounds));
  EXPECT_EQ(OLEOBJ_S_INVALIDVERB,
            ole->DoVerb(42, nullptr, host.Site(), 0, window.Handle(), &kFormBounds));
  EXPECT_EQ(std::vector<HWND>{host.ControlWindow()}, ChildWindows(window.Handle()));

  // Without any site there is nothing to activate in.
  ComPtr<IUnknown> loose = NewControl();
  EXPECT_EQ(E_UNEXPECTED, loose.As<IOleObject>()
                              ->DoVerb(OLEIVERB_SHOW, nullptr, nullptr, 0, window.Handle(),
                                       &kFormBounds));
}

TEST_F(Embedded, ClosingLeavesNoWindowsAndNoReferences) {
  IOleClientSite* site = host.Site();
  const ULONG siteRefs = RefCount(site);
  const LONG locksWithControl = ModuleLockCount();
  Embed();
  const HWND surface = host.ControlWindow();
  ASSERT_TRUE(IsWindow(surface));
  EXPECT_GT(RefCount(site), siteRefs) << "the control holds its site while embedded";

  RecordingSink viewSink, oleSink;
  auto view = control.As<IViewObject>();
  ASSERT_EQ(S_OK, view->SetAdvise(DVASPECT_CONTENT, 0, &viewSink));
  view.Reset();
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, Ole()->Advise(&oleSink, &cookie));

  host.Close();
  EXPECT_FALSE(IsWindow(surface));
  EXPECT_FALSE(host.InPlaceActive());
  EXPECT_TRUE(ChildWindows(window.Handle()).empty());
  HWND gone = surface;
  EXPECT_EQ(E_FAIL, control.As<IOleWindow>()->GetWindow(&gone));
  EXPECT_EQ(nullptr, gone);
  EXPECT_EQ(siteRefs, RefCount(site));
  EXPECT_EQ(1u, RefCount(control.Get()));
  EXPECT_EQ(1u, viewSink.Refs()) << "Close drops the view sink";
  EXPECT_EQ(1, oleSink.closes);
  EXPECT_EQ(S_OK, Ole()->Unadvise(cookie));
  EXPECT_EQ(1u, oleSink.Refs());
  EXPECT_EQ(OLE_E_NOCONNECTION, Ole()->Unadvise(cookie));

  control.Reset();
  EXPECT_EQ(locksWithControl - 1, ModuleLockCount()) << "the last release destroys the object";

  // A host that goes away with the control still embedded cleans up too.
  ComPtr<IUnknown> second = NewControl();
  HWND secondSurface = nullptr;
  {
    TControlHost scoped;
    ASSERT_EQ(S_OK, scoped.Embed(second.Get(), window.Handle(), kFormBounds));
    secondSurface = scoped.ControlWindow();
    ASSERT_TRUE(IsWindow(secondSurface));
  }
  EXPECT_FALSE(IsWindow(secondSurface));
  EXPECT_EQ(1u, RefCount(second.Get()));
  ComPtr<IOleClientSite> left;
  EXPECT_EQ(S_OK, second.As<IOleObject>()->GetClientSite(left.Put()));
  EXPECT_FALSE(left);
}

TEST(EmbeddingView, ExtentStartsAtTheFormSizeAndFollowsTheContainer) {
  ComPtr<IUnknown> control = NewControl();
  auto ole = control.As<IOleObject>();
  auto view = control.As<IViewObject2>();
  auto quick = control.As<IQuickActivate>();
  const SIZEL design = DesignExtent();
  SIZEL size{};
  ASSERT_EQ(S_OK, ole->GetExtent(DVASPECT_CONTENT, &size));
  EXPECT_EQ(design.cx, size.cx);
  EXPECT_EQ(design.cy, size.cy);
  size = SIZEL{};
  ASSERT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size));
  EXPECT_EQ(design.cx, size.cx);
  size = SIZEL{};
  ASSERT_EQ(S_OK, quick->GetContentExtent(&size));
  EXPECT_EQ(design.cy, size.cy);

  RecordingSink sink;
  ASSERT_EQ(S_OK, control.As<IViewObject>()
                      ->SetAdvise(DVASPECT_CONTENT, 0, &sink));
  SIZEL wanted{5000, 2000};
  ASSERT_EQ(S_OK, ole->SetExtent(DVASPECT_CONTENT, &wanted));
  EXPECT_EQ(1, sink.viewChanges) << "the container hears to redraw";
  ASSERT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size));
  EXPECT_EQ(5000, size.cx);
  EXPECT_EQ(2000, size.cy);
  EXPECT_TRUE(FAILED(ole->SetExtent(DVASPECT_ICON, &wanted)));
  EXPECT_TRUE(FAILED(ole->GetExtent(DVASPECT_ICON, &size)));

  DWORD aspects = 0, flags = 1;
  ComPtr<IAdviseSink> held;
  ASSERT_EQ(S_OK, view->GetAdvise(&aspects, &flags, held.Put()));
  EXPECT_EQ(sink.Unknown(), static_cast<IUnknown*>(held.Get()));
  EXPECT_EQ(0u, flags);
  held.Reset();
  ASSERT_EQ(S_OK, view->SetAdvise(DVASPECT_CONTENT, 0, nullptr));
  EXPECT_EQ(1u, sink.Refs());
}

TEST(EmbeddingView, DrawFillsTheBoundsWithTheControlColour) {
  ComPtr<IUnknown> control = NewControl();
  auto view = control.As<IViewObjectEx>();
  const TWindowDC screen;
  const TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  const TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 40, 40));
  const TGdiSelection selected(memory.Get(), bitmap.Get());
  HDC dc = memory.Get();
  const RECT all{0, 0, 40, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const RECTL bounds{10, 10, 30, 30};
  ASSERT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                             nullptr, 0));
  // The default colour is a system colour (button face), resolved when drawn.
  EXPECT_EQ(GetNearestColor(dc, GetSysColor(COLOR_BTNFACE)), GetPixel(dc, 15, 15));
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 5, 5)) << "nothing outside the bounds";

  ASSERT_EQ(S_OK, control.As<ILumivox>()->put_MsgColor(RGB(0xFF, 0x80, 0)));
  ASSERT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                             nullptr, 0));
  EXPECT_EQ(RGB(0xFF, 0x80, 0), GetPixel(dc, 29, 29));
  EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds,
                                      nullptr, nullptr, 0));
  EXPECT_EQ(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr,
                                     nullptr, nullptr, 0));

  // The whole opaque rectangle is the control for hit testing.
  DWORD status = 0;
  ASSERT_EQ(S_OK, view->GetViewStatus(&status));
  EXPECT_EQ(static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND), status);
  const RECT box{0, 0, 20, 20};
  DWORD hit = 99;
  ASSERT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &box, POINT{19, 0}, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_HIT), hit);
  ASSERT_EQ(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &box, POINT{20, 5}, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_OUTSIDE), hit);
  const RECT overlapping{15, 15, 40, 40}, apart{20, 0, 40, 40};
  ASSERT_EQ(S_OK, view->QueryHitRect(DVASPECT_CONTENT, &box, &overlapping, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_HIT), hit);
  ASSERT_EQ(S_OK, view->QueryHitRect(DVASPECT_CONTENT, &box, &apart, 0, &hit));
  EXPECT_EQ(static_cast<DWORD>(HITRESULT_OUTSIDE), hit);
}

TEST(EmbeddingQuickActivate, TakesTheSiteAndConnectsTheContainerSinks) {
  ComPtr<IUnknown> control = NewControl();
  TControlHost container;  // only for its client site
  RecordingSink sink;
  QACONTAINER qc{};
  qc.cbSize = sizeof(qc);
  qc.pClientSite = container.Site();
  qc.pAdviseSink = &sink;
  qc.pPropertyNotifySink = &sink;
  qc.pUnkEventSink = sink.Unknown();
  QACONTROL answer{};
  answer.cbSize = sizeof(answer);
  auto quick = control.As<IQuickActivate>();
  ASSERT_EQ(S_OK, quick->QuickActivate(&qc, &answer));
  EXPECT_NE(0u, answer.dwPropNotifyCookie);
  EXPECT_NE(0u, answer.dwEventCookie);
  EXPECT_EQ(static_cast<DWORD>(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND), answer.dwViewStatus);
  ComPtr<IOleClientSite> site;
  ASSERT_EQ(S_OK, control.As<IOleObject>()->GetClientSite(site.Put()));
  EXPECT_EQ(container.Site(), site.Get());
  site.Reset();

  // The property sink is on the control's change notifications.
  ASSERT_EQ(S_OK, control.As<ILumivox>()->put_MsgColor(0xFF));
  EXPECT_EQ(std::vector<DISPID>{LumivoxDispid::MsgColor}, sink.changed);

  auto points = control.As<IConnectionPointContainer>();
  ComPtr<IConnectionPoint> notify, events;
  ASSERT_EQ(S_OK, points->FindConnectionPoint(IID_IPropertyNotifySink, notify.Put()));
  ASSERT_EQ(S_OK, points->FindConnectionPoint(DIID_ILumivoxEvents, events.Put()));
  EXPECT_EQ(S_OK, notify->Unadvise(answer.dwPropNotifyCookie));
  EXPECT_EQ(S_OK, events->Unadvise(answer.dwEventCookie));
  ASSERT_EQ(S_OK, control.As<IOleObject>()->Close(OLECLOSE_NOSAVE));
  ASSERT_EQ(S_OK, control.As<IOleObject>()->SetClientSite(nullptr));
  EXPECT_EQ(1u, sink.Refs());

  // A container structure too short to hold the sinks is refused.
  QACONTAINER tiny{};
  tiny.cbSize = 2 * sizeof(void*);
  EXPECT_EQ(E_INVALIDARG, quick->QuickActivate(&tiny, &answer));
}

TEST(EmbeddingStubs, StartsFreshHasNoPagesNoDataAndChecksOutPointers) {
  ComPtr<IUnknown> control = NewControl();
  auto stream = control.As<IPersistStreamInit>();
  auto storage = control.As<IPersistStorage>();
  EXPECT_EQ(S_OK, stream->InitNew());
  EXPECT_EQ(S_FALSE, stream->IsDirty());
  EXPECT_EQ(S_OK, storage->InitNew(nullptr));
  EXPECT_EQ(S_FALSE, storage->IsDirty());

  CAUUID pages{7, reinterpret_cast<GUID*>(1)};
  ASSERT_EQ(S_OK, control.As<ISpecifyPropertyPages>()
                      ->GetPages(&pages));
  EXPECT_EQ(0u, pages.cElems);
  EXPECT_EQ(nullptr, pages.pElems);

  auto data = control.As<IDataObject>();
  FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  EXPECT_EQ(DV_E_FORMATETC, data->GetData(&format, &medium));
  EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&format));
  DWORD connection = 5;
  EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, data->DAdvise(&format, 0, nullptr, &connection));
  EXPECT_EQ(0u, connection);

  CONTROLINFO info{};
  info.cAccel = 3;
  ASSERT_EQ(S_OK, control.As<IOleControl>()->GetControlInfo(&info));
  EXPECT_EQ(sizeof(CONTROLINFO), info.cb);
  EXPECT_EQ(0, info.cAccel);
  EXPECT_EQ(nullptr, info.hAccel);

  // Null out-pointers are refused rather than written through.
  auto ole = control.As<IOleObject>();
  auto view = control.As<IViewObjectEx>();
  auto inPlace = control.As<IOleInPlaceObject>();
  EXPECT_EQ(E_POINTER, ole->GetClientSite(nullptr));
  EXPECT_EQ(E_POINTER, ole->GetExtent(DVASPECT_CONTENT, nullptr));
  EXPECT_EQ(E_POINTER, ole->GetMiscStatus(DVASPECT_CONTENT, nullptr));
  EXPECT_EQ(E_POINTER, ole->EnumVerbs(nullptr));
  EXPECT_EQ(E_POINTER, ole->GetUserClassID(nullptr));
  EXPECT_EQ(E_POINTER, ole->GetUserType(USERCLASSTYPE_FULL, nullptr));
  EXPECT_EQ(E_POINTER, ole->Advise(nullptr, nullptr));
  EXPECT_EQ(E_POINTER, ole->EnumAdvise(nullptr));
  EXPECT_EQ(E_POINTER, view->GetViewStatus(nullptr));
  EXPECT_EQ(E_POINTER, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, nullptr));
  EXPECT_EQ(E_POINTER, inPlace->GetWindow(nullptr));
  EXPECT_EQ(E_POINTER, inPlace->SetObjectRects(nullptr, nullptr));
  EXPECT_EQ(E_POINTER, control.As<IQuickActivate>()
                           ->QuickActivate(nullptr, nullptr));
  EXPECT_EQ(E_POINTER, control.As<ISpecifyPropertyPages>()
                           ->GetPages(nullptr));
  EXPECT_EQ(E_POINTER, control.As<IOleControl>()->GetControlInfo(nullptr));
  HWND none = reinterpret_cast<HWND>(1);
  EXPECT_EQ(E_FAIL, inPlace->GetWindow(&none)) << "no window before activation";
  EXPECT_EQ(nullptr, none);

  CLSID clsid{};
  ASSERT_EQ(S_OK, ole->GetUserClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_Lumivox, clsid));
  ComPtr<IEnumSTATDATA> advises;
  ASSERT_EQ(S_OK, ole->EnumAdvise(advises.Put()));
  STATDATA entry{};
  EXPECT_EQ(S_FALSE, advises->Next(1, &entry, nullptr)) << "no connections yet";
}

// Registers the build's own Orvex.OCX with regsvr32, then embeds the
// registered class by its programmatic identifier and reads what the
// registration says about verbs, status bits and the type name.
TEST(EmbeddingRegistered, HostCreatesByProgIdAndSeesTheRegisteredVerbAndStatus) {
  ASSERT_TRUE(Regsvr32(BuildOcxPath())) << BuildOcxPath();
  HostWindow window;
  {
    TControlHost host;
    ASSERT_EQ(S_OK, host.Create(L"Orvex.Lumivox", window.Handle(), kFormBounds));
    const HWND surface = host.ControlWindow();
    ASSERT_TRUE(IsWindow(surface));
    EXPECT_TRUE(IsWindowVisible(surface));
    EXPECT_TRUE(SameRect(kFormBounds, PlaceInParent(surface)));

    ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, host.Query(&ole));
    DWORD status = 0;
    ASSERT_EQ(S_OK, ole->GetMiscStatus(DVASPECT_CONTENT, &status));
    EXPECT_EQ(0x20191u, status);

    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_EQ(S_OK, ole->EnumVerbs(verbs.Put()));
    std::vector<OLEVERB> found;
    OLEVERB verb{};
    while (verbs->Next(1, &verb, nullptr) == S_OK) {
      found.push_back(verb);
    }
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(0, found[0].lVerb);
    EXPECT_STREQ(L"Properties", found[0].lpszVerbName);
    EXPECT_EQ(0u, found[0].fuFlags);
    EXPECT_EQ(static_cast<DWORD>(OLEVERBATTRIB_ONCONTAINERMENU), found[0].grfAttribs);
    for (OLEVERB& v : found) CoTaskMemFree(v.lpszVerbName);

    LPOLESTR type = nullptr;
    ASSERT_EQ(S_OK, ole->GetUserType(USERCLASSTYPE_FULL, &type));
    EXPECT_STREQ(L"Lumivox Control", type);
    CoTaskMemFree(type);
    ole.Reset();

    host.Close();
    EXPECT_FALSE(IsWindow(surface));
  }
}
