// The control object: all of the control's state, its lifecycle, the media
// device it drives through MCI, and its status poller and mouse guard.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "win/ControlTypes.h"
#include "win/FontState.h"
#include "control/SurfaceDefaults.h"
#include "control/SystemServices.h"
#include "win/WinTimer.h"

class TLumivox {
 public:
  // Starts tmrMouse at once; the system defaults to the real operating system.
  explicit TLumivox(TSystemServices& system = RealSystem());
  ~TLumivox();
  TLumivox(const TLumivox&) = delete;
  TLumivox& operator=(const TLumivox&) = delete;

  // Lifecycle and stored texts.
  bool Initialize();
  void CloseControl();
  void TVTest();
  // The media file and logo names are kept as the host gave them, in wide
  // text, so that any name the file system can hold opens.
  const std::wstring& FileName() const { return FFileName; }
  void SetFileName(const std::wstring& value) { FFileName = value; }
  const std::string& Message() const { return FMessage; }
  void SetMessage(const std::string& value) { FMessage = value; }
  const std::wstring& Logo() const { return FLogo; }
  void SetLogo(const std::wstring& value);
  bool SurfaceVisible() const { return surfaceVisible_; }

  // The control's own surface on the host: a child window of the host's site,
  // at the form's design size until the host places it. Initialize hides it.
  HWND Surface() const { return surface_; }
  HWND CreateSurface(HWND parent, const RECT& bounds);
  void DestroySurface();
  // The surface's colour (an OLE colour; also the message text colour) and
  // its font (also the message font).
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t value);
  const TFontState& Font() const { return font_; }
  void SetFont(const TFontState& value) { font_ = value; }
  // The surface's name, title and bounds in its host window, as saved with
  // the host's document.
  const std::string& SurfaceName() const { return surfaceName_; }
  void SetSurfaceName(const std::string& value) { surfaceName_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  RECT SurfaceBounds() const;
  void SetSurfaceBounds(const RECT& bounds);

  // Media device.
  bool Open();
  void Play();
  void Pause();
  void Stop();
  void Close();
  int32_t Channel() const { return FChannel; }
  void SetChannel(int32_t value);
  int32_t Volume() const { return FVolume; }
  void SetVolume(int32_t value);
  bool Mute() const { return FMute; }
  void SetMute(bool value);
  // The wave-out volume words that Volume and Mute write.
  uint32_t VolumeLeft() const { return FVolumeLeft; }
  uint32_t VolumeRight() const { return FVolumeRight; }
  int32_t MediaLength() const { return FMediaLength; }
  int32_t MediaRate() const { return FMediaRate; }
  int32_t MediaPosition() const { return FMediaPosition; }
  void SetMediaPosition(int32_t value);
  TStatus MediaStatus() const { return static_cast<TStatus>(FMediaStatus); }

  // Message settings, stored with their clamping; the overlay shows them.
  int32_t MsgSpeed() const { return FMsgSpeed; }
  void SetMsgSpeed(int32_t value);
  int32_t MsgLocation() const { return FMsgLocation; }
  void SetMsgLocation(int32_t value);
  int32_t MsgActionStyle() const { return FMsgActionStyle; }
  void SetMsgActionStyle(int32_t value);
  int32_t MsgRepeat() const { return FMsgRepeat; }
  void SetMsgRepeat(int32_t value);
  int32_t MsgInterval() const { return FMsgInterval; }
  void SetMsgInterval(int32_t value);
  bool MsgTransparent() const { return FMsgTransparent; }
  void SetMsgTransparent(bool value) { FMsgTransparent = value; }
  uint32_t MsgBackgroundColor() const { return FMsgBackgroundColor; }
  void SetMsgBackgroundColor(uint32_t value) { FMsgBackgroundColor = value; }
  // Starts a run of the current message on the message window, if there is one.
  void DisplayMessage();

  // One tick of tmrMouse: mouse guard, then status poll.
  void tmrMouseTimer();
  const TWinTimer& MouseTimer() const { return tmrMouse; }
  // Started by TVTest, stopped by CloseControl; its expiry does nothing.
  const TWinTimer& ClearDotsTimer() const { return tmrClearDots; }

 private:
  // Components and fields, in declared order.
  TWinTimer tmrClearDots;
  TWinTimer tmrMouse;
  std::wstring FFileName;
  std::string FMessage;
  std::wstring FLogo;
  bool FMute = false;
  int32_t FChannel = cStereo;
  int32_t FVolume = 0;
  int32_t FMediaLength = 0;
  int32_t FMediaPosition = 0;
  int32_t FMediaRate = 0;
  uint32_t FVolumeLeft = 0;
  uint32_t FVolumeRight = 0;
  int32_t FMsgSpeed = 0;
  int32_t FMsgLocation = lBottom;
  int32_t FMsgActionStyle = aRightToLeft;
  int32_t FMsgRepeat = 0;
  int32_t FMsgInterval = 0;
  bool FMsgTransparent = false;
  uint32_t FMsgBackgroundColor = 0;
  int32_t FMediaStatus = sNotReady;

  uint32_t SendMci(const std::string& command);
  // Sends a status query into a zero-filled reply buffer; returns the result code.
  uint32_t QueryMci(const char* command, std::string& reply);
  bool OpenDevice();
  // The name as an open command names it: its short form, quoted where it
  // has blanks; empty when it is no regular file on disk.
  std::wstring OpenElement(const std::wstring& name);
  // Sends the open command in the code page when it can write the path,
  // else in wide text.
  uint32_t SendOpen(const std::wstring& path, const char* deviceType, int32_t parent);
  void GuardMouse(const std::vector<RECT>& monitors);
  void PollStatus();

  static LRESULT CALLBACK SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TSystemServices& system_;
  bool surfaceVisible_ = true;
  HWND surface_ = nullptr;
  RECT bounds_{0, 0, kSurfaceWidth, kSurfaceHeight};
  std::string surfaceName_ = kSurfaceName;
  std::string caption_ = kSurfaceCaption;
  uint32_t color_ = kSurfaceColor;
  TFontState font_;
};

// ---------------------------------------------------------------------------
// The automation object: the embeddable ActiveX control that hosts create
// through COM. It owns one TLumivox and forwards every ILumivox member to it.
// All interfaces live on this one object; with an outer object (aggregation)
// every interface delegates IUnknown to the outer one.

#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "win/ComSupport.h"
#include "win/ConnectionPoint.h"
#include "control/OrvexTypeLib.h"

class TFontLink;
struct TSurfaceRecord;

class TLumivoxImpl final : public ILumivox,
                           public IViewObjectEx,
                           public IOleInPlaceObject,
                           public IOleInPlaceActiveObject,
                           public IOleControl,
                           public IOleObject,
                           public IQuickActivate,
                           public IPersistStorage,
                           public IPersistStreamInit,
                           public ISpecifyPropertyPages,
                           public IDataObject,
                           public ISimpleFrameSite,
                           public IProvideClassInfo2,
                           public IConnectionPointContainer,
                           public ISupportErrorInfo {
 public:
  // Creates the object with its control object; outer may be null. Throws
  // EOrvexError when the control cannot be built.
  explicit TLumivoxImpl(IUnknown* outer);
  TLumivoxImpl(const TLumivoxImpl&) = delete;
  TLumivoxImpl& operator=(const TLumivoxImpl&) = delete;

  // The non-delegating IUnknown (the object's identity when aggregated).
  IUnknown* InnerUnknown() { return &inner_; }
  TLumivox& Control() { return *control_; }

  // IUnknown, delegating to the controlling unknown.
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch, through the type information of ILumivox.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // ILumivox: every function of its table (control/LumivoxInterface.def).
#define ORVEX_FUNCTION(name, dispid, invoke, type, help) \
  ORVEX_LUMIVOX_DECLARE_##invoke(name, type, STDMETHODIMP, override)
#include "control/LumivoxInterface.def"

  // IViewObject, IViewObject2, IViewObjectEx.
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                    HDC targetDc, HDC drawDc, LPCRECTL bounds, LPCRECTL windowBounds,
                    BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                           HDC targetDc, LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
  STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG closeHint,
                             DWORD* hitResult) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG closeHint,
                            DWORD* hitResult) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, HDC targetDc,
                                DVEXTENTINFO* extentInfo, LPSIZEL size) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject.
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  // IOleControl.
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* msg) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IOleObject.
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* userType) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IQuickActivate.
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override;
  STDMETHODIMP GetContentExtent(LPSIZEL size) override;

  // IPersist, IPersistStorage, IPersistStreamInit.
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;

  // ISpecifyPropertyPages.
  STDMETHODIMP GetPages(CAUUID* pages) override;

  // IDataObject.
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                       DWORD* connection) override;
  STDMETHODIMP DUnadvise(DWORD connection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advise) override;

  // ISimpleFrameSite.
  STDMETHODIMP PreMessageFilter(HWND window, UINT message, WPARAM wp, LPARAM lp,
                                LRESULT* result, DWORD* cookie) override;
  STDMETHODIMP PostMessageFilter(HWND window, UINT message, WPARAM wp, LPARAM lp,
                                 LRESULT* result, DWORD cookie) override;

  // IProvideClassInfo, IProvideClassInfo2.
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // ISupportErrorInfo.
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

  // Called by the font link when the font object it follows changes.
  void FontObjectChanged();

 private:
  ~TLumivoxImpl();

  // The non-delegating IUnknown.
  struct TInner : IUnknown {
    TLumivoxImpl* owner;
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
  };

  HRESULT InnerQueryInterface(REFIID riid, void** object);
  // Asks the sinks whether the property may change: S_FALSE when one refuses.
  HRESULT RequestEdit(DISPID id);
  void NotifyChanged(DISPID id);
  HRESULT AdoptFont(IFontDisp* font);
  // Gives the control the font; a change of its values makes the object dirty.
  void TakeFont(const TFontState& font);
  // A saved property changed; the object is clean again after a load, new or save.
  void MarkDirty();
  void MarkClean();
  // The surface's saved state, and the stream that holds it.
  TSurfaceRecord SurfaceRecord() const;
  void ApplySurfaceRecord(const TSurfaceRecord& record);
  void SaveSurfaceTo(IStream* stream) const;
  void LoadSurfaceFrom(IStream* stream);
  // In-place activation on the client site's window.
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position);

  LONG refs_ = 1;
  TInner inner_;
  IUnknown* outer_;
  std::unique_ptr<TLumivox> control_;
  TConnectionPoint propertyNotify_;
  TConnectionPoint events_;
  std::unique_ptr<TFontLink> fontLink_;
  // Embedding state.
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAdviseFlags_ = 0;
  ComPtr<IOleAdviseHolder> adviseHolder_;
  SIZEL extent_{};  // HIMETRIC
  bool inPlaceActive_ = false;
  // Persistence: whether the saved state changed since the last load, new or
  // save, and the storage save that SaveCompleted is yet to settle.
  enum class TStorageSave { kNone, kCurrent, kOther };
  bool dirty_ = false;
  TStorageSave storageSave_ = TStorageSave::kNone;
};

// Creates an automation object for the class factory: a plain one, or an
// aggregated one handing out its inner IUnknown.
HRESULT CreateLumivox(IUnknown* outer, REFIID riid, void** object);
