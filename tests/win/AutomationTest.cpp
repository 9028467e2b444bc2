// The automation object through its interfaces: errors, booleans, clamping,
// dispatch by name and identifier, change notifications and the font object.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win/AboutWatch.h"
#include "tests/win/TestSupport.h"
#include "win/ComSupport.h"
#include "automation/FontLink.h"
#include "control/LumivoxImpl.h"

namespace {

// The type library must be registered for dispatch and the error source.
const bool registered = RegisterBuildOcxFirst();

ComPtr<ILumivox> NewControl() {
  ComPtr<ILumivox> control;
  EXPECT_EQ(CreateLumivox(nullptr, IID_PPV_ARGS(control.Put())), S_OK);
  return control;
}

TLumivox& ControlOf(ILumivox* object) { return static_cast<TLumivoxImpl*>(object)->Control(); }


// Records notifications; optionally refuses edits and runs a callback.
class TSink final : public IPropertyNotifySink {
 public:
  std::vector<std::string> log;
  HRESULT answer = S_OK;
  std::function<void(const char*, DISPID)> onCall;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) {
      *object = static_cast<IPropertyNotifySink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP OnChanged(DISPID id) override {
    log.push_back("changed " + std::to_string(id));
    if (onCall) onCall("changed", id);
    return S_OK;
  }
  STDMETHODIMP OnRequestEdit(DISPID id) override {
    log.push_back("request " + std::to_string(id));
    if (onCall) onCall("request", id);
    return answer;
  }
  LONG refs = 0;
};

DWORD Connect(ILumivox* control, TSink& sink) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(QueryAs(control, &container), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, point.Put()), S_OK);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(static_cast<IPropertyNotifySink*>(&sink), &cookie), S_OK);
  return cookie;
}

ComPtr<IFontDisp> MakeFont(const wchar_t* name, int64_t sizeTimes10000) {
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = const_cast<LPOLESTR>(name);
  desc.cySize.int64 = sizeTimes10000;
  desc.sWeight = FW_BOLD;
  desc.sCharset = ANSI_CHARSET;
  ComPtr<IFontDisp> font;
  EXPECT_EQ(OleCreateFontIndirect(&desc, IID_PPV_ARGS(font.Put())), S_OK);
  return font;
}

ComPtr<IFont> AsFont(IUnknown* object) { return QueryAs<IFont>(object); }

int32_t Points(int32_t height) { return FontPointsFromHeight(height, ScreenPixelsPerInch()); }

}  // namespace

TEST(AutomationErrors, FailureCarriesSourceDescriptionAndInterface) {
  ComPtr<ILumivox> control = NewControl();
  ASSERT_EQ(control->TVTest(), DISP_E_EXCEPTION) << "no video window before Initialize";
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  TBstr source, description;
  GUID guid{};
  info->GetSource(source.Put());
  info->GetDescription(description.Put());
  info->GetGUID(&guid);
  EXPECT_EQ(source.Text(), L"Orvex.Lumivox");
  EXPECT_FALSE(description.Text().empty());
  EXPECT_EQ(guid, IID_ILumivox);

  // The same failure through late binding fills the exception record.
  DISPPARAMS none{};
  EXCEPINFO exception{};
  EXPECT_EQ(control->Invoke(LumivoxDispid::TVTest, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                            &exception, nullptr),
            DISP_E_EXCEPTION);
  const TBstr exceptionSource = TBstr::Adopt(exception.bstrSource);
  const TBstr exceptionDescription = TBstr::Adopt(exception.bstrDescription);
  const TBstr exceptionHelpFile = TBstr::Adopt(exception.bstrHelpFile);
  EXPECT_EQ(exceptionSource.Text(), L"Orvex.Lumivox");
  EXPECT_EQ(exceptionDescription.Text(), description.Text());

  // Members that swallow failures.
  VARIANT_BOOL opened = -1;
  EXPECT_EQ(control->Open(&opened), S_OK);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(control->CloseControl(), S_OK);
  EXPECT_EQ(control->CloseControl(), S_OK);
  EXPECT_EQ(control->DisplayMessage(), S_OK);
}

TEST(AutomationValues, BooleansClampingAndTextRoundTrips) {
  ComPtr<ILumivox> control = NewControl();
  VARIANT_BOOL flag = 0;
  control->put_Mute(VARIANT_TRUE);
  control->get_Mute(&flag);
  EXPECT_EQ(flag, 1) << "true is written as 1";
  control->put_MsgTransparent(2);
  control->get_MsgTransparent(&flag);
  EXPECT_EQ(flag, 1);

  LONG value = 0;
  const struct {
    HRESULT (STDMETHODCALLTYPE ILumivox::*put)(LONG);
    HRESULT (STDMETHODCALLTYPE ILumivox::*get)(LONG*);
    LONG in, out;
  } cases[] = {{&ILumivox::put_Volume, &ILumivox::get_Volume, -5, 0},
               {&ILumivox::put_Volume, &ILumivox::get_Volume, 250, 100},
               {&ILumivox::put_MsgSpeed, &ILumivox::get_MsgSpeed, -5000, -999},
               {&ILumivox::put_MsgSpeed, &ILumivox::get_MsgSpeed, 1000, 999},
               {&ILumivox::put_MsgRepeat, &ILumivox::get_MsgRepeat, -3, 1},
               {&ILumivox::put_MsgRepeat, &ILumivox::get_MsgRepeat, 6000, 5000},
               {&ILumivox::put_MsgInterval, &ILumivox::get_MsgInterval, -1, 0},
               {&ILumivox::put_MsgInterval, &ILumivox::get_MsgInterval, 4000, 3600}};
  for (const auto& c : cases) {
    EXPECT_EQ((control.Get()->*c.put)(c.in), S_OK);
    (control.Get()->*c.get)(&value);
    EXPECT_EQ(value, c.out) << c.in;
  }

  // A file name is kept as the host gave it, characters outside the system
  // code page (Korean, a sharp s, an emoji) and all.
  const TBstr name(L" \u89c6\u9891 \uc601\ud654 \u00df \U0001F3AC clip.mpg ");
  control->put_FileName(name.Get());
  TBstr back;
  control->get_FileName(back.Put());
  EXPECT_EQ(back.Text(), name.Text());

  EXPECT_EQ(control->get_Volume(nullptr), E_POINTER);
  EXPECT_EQ(control->get_FileName(nullptr), E_POINTER);
}

TEST(AutomationDispatch, NamesIdentifiersAndArgumentTypes) {
  ComPtr<ILumivox> control = NewControl();
  const struct {
    const wchar_t* name;
    DISPID id;
  } names[] = {{L"AboutOrvex", -552}, {L"MsgColor", -501}, {L"MsgFont", -512},
               {L"MediaRate", 26},    {L"Logo", 27},       {L"mediaposition", 1}};
  for (LCID lcid : {LCID{0x409}, LCID{0x804}, LCID{0}}) {
    for (const auto& n : names) {
      LPOLESTR name = const_cast<LPOLESTR>(n.name);
      DISPID id = 0;
      EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, lcid, &id), S_OK) << lcid;
      EXPECT_EQ(id, n.id);
    }
  }
  LPOLESTR unknown = const_cast<LPOLESTR>(L"Rewind");
  DISPID id = 0;
  EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &unknown, 1, 0x804, &id), DISP_E_UNKNOWNNAME);

  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_BSTR;
  V_BSTR(&argument) = SysAllocString(L"loud");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&argument, &named, 1, 1};
  UINT bad = 0;
  EXPECT_EQ(control->Invoke(LumivoxDispid::Volume, IID_NULL, 0x804, DISPATCH_PROPERTYPUT, &put,
                            nullptr, nullptr, &bad),
            DISP_E_TYPEMISMATCH);
  VariantClear(&argument);
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = 37;
  EXPECT_EQ(control->Invoke(LumivoxDispid::Volume, IID_NULL, 0x804, DISPATCH_PROPERTYPUT, &put,
                            nullptr, nullptr, nullptr),
            S_OK);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  EXPECT_EQ(control->Invoke(LumivoxDispid::Volume, IID_NULL, 0x804, DISPATCH_PROPERTYGET, &none,
                            &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), 37);
  HRESULT about = E_FAIL;
  EXPECT_TRUE(WithAboutClosed([&] {
                about = control->Invoke(LumivoxDispid::AboutOrvex, IID_NULL, 0, DISPATCH_METHOD, &none,
                                        nullptr, nullptr, nullptr);
              }).seen);
  EXPECT_EQ(about, S_OK);
}

TEST(AutomationNotifications, RequestBeforeAndChangedAfterTheColourChanges) {
  ComPtr<ILumivox> control = NewControl();
  EXPECT_EQ(control->put_MsgColor(0x00123456), S_OK) << "no sink connected";
  TSink sink;
  Connect(control.Get(), sink);
  std::vector<OLE_COLOR> seen;
  sink.onCall = [&](const char*, DISPID) {
    OLE_COLOR now = 0;
    control->get_MsgColor(&now);  // a sink may call back into the control
    seen.push_back(now);
  };
  EXPECT_EQ(control->put_MsgColor(0x000000FF), S_OK);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"request -501", "changed -501"}));
  EXPECT_EQ(seen, (std::vector<OLE_COLOR>{0x00123456, 0x000000FF}));
}

TEST(AutomationNotifications, ARefusedEditChangesNothingAndTellsNoOne) {
  ComPtr<ILumivox> control = NewControl();
  TSink refusing, other;
  refusing.answer = S_FALSE;
  Connect(control.Get(), refusing);
  Connect(control.Get(), other);
  const TFontState before = ControlOf(control.Get()).Font();
  ComPtr<IFontDisp> font = MakeFont(L"Arial", 120000);
  EXPECT_EQ(control->put_MsgFont(font.Get()), S_FALSE);
  EXPECT_EQ(control->putref_MsgFont(font.Get()), S_FALSE);
  EXPECT_TRUE(ControlOf(control.Get()).Font() == before);
  EXPECT_EQ(refusing.log, (std::vector<std::string>{"request -512", "request -512"}));
  EXPECT_TRUE(other.log.empty()) << "asking stops at the first refusal";

  refusing.answer = E_FAIL;  // a failing sink does not stop the write
  EXPECT_EQ(control->put_MsgColor(5), S_OK);
  OLE_COLOR color = 0;
  control->get_MsgColor(&color);
  EXPECT_EQ(color, 5u);
  EXPECT_EQ(other.log.back(), "changed -501");
}

TEST(AutomationFont, GetHandsOutOneLiveObjectRoundingHalfToEven) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IFontDisp> first, second;
  ASSERT_EQ(control->get_MsgFont(first.Put()), S_OK);
  ASSERT_EQ(control->get_MsgFont(second.Put()), S_OK);
  EXPECT_EQ(first.Get(), second.Get());
  ComPtr<IFont> font = AsFont(first.Get());
  ASSERT_TRUE(font);
  TBstr name;
  font->get_Name(name.Put());
  SHORT charset = 0;
  font->get_Charset(&charset);
  EXPECT_EQ(charset, 134) << "GB2312, as the control's design font";

  // Wine's font object reports the size of the font it realised, so the
  // control's whole points are checked against what the object reports.
  CY size{};
  for (LONGLONG in : {105000LL, 115000LL, 125000LL, 126000LL}) {
    size.int64 = in;
    font->put_Size(size);
    CY reported{};
    font->get_Size(&reported);
    EXPECT_EQ(Points(ControlOf(control.Get()).Font().height), WholePointsHalfEven(reported.int64))
        << in;
  }
  font->put_Bold(TRUE);
  EXPECT_TRUE(ControlOf(control.Get()).Font().bold);
}

TEST(AutomationFont, PutAdoptsTheCallersObjectAndFollowsIt) {
  ComPtr<ILumivox> control = NewControl();
  TSink sink;
  Connect(control.Get(), sink);
  ComPtr<IFontDisp> mine = MakeFont(L"Arial", 120000);
  ASSERT_EQ(control->put_MsgFont(mine.Get()), S_OK);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"request -512", "changed -512"}));
  TLumivox& state = ControlOf(control.Get());
  EXPECT_TRUE(state.Font().bold);
  EXPECT_EQ(state.Font().charset, ANSI_CHARSET);
  EXPECT_EQ(Points(state.Font().height), 12);
  const uint32_t colour = state.Font().color;

  ComPtr<IFont> font = AsFont(mine.Get());
  font->put_Name(TBstr(L"Courier New").Get());
  ComPtr<IFontDisp> got;
  control->get_MsgFont(got.Put());
  EXPECT_EQ(static_cast<IUnknown*>(got.Get()), static_cast<IUnknown*>(mine.Get()));
  TBstr realised;
  font->get_Name(realised.Put());
  const std::wstring realisedName = realised.Text();
  EXPECT_EQ(std::u16string(realisedName.begin(), realisedName.end()), state.Font().name)
      << "the control follows the object's name";
  EXPECT_EQ(state.Font().color, colour) << "the font colour is not touched";

  // A null font keeps the values and drops the subscription.
  const TFontState kept = state.Font();
  ASSERT_EQ(control->put_MsgFont(nullptr), S_OK);
  CY size{};
  size.int64 = 300000;
  font->put_Size(size);
  EXPECT_TRUE(state.Font() == kept);
}

TEST(AutomationFont, NonFontObjectFailsAndChangesNothing) {
  ComPtr<ILumivox> control = NewControl();
  TSink sink;
  Connect(control.Get(), sink);
  const TFontState before = ControlOf(control.Get()).Font();
  ComPtr<ILumivox> other = NewControl();
  EXPECT_EQ(control->put_MsgFont(reinterpret_cast<IFontDisp*>(other.Get())), DISP_E_EXCEPTION);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  TBstr description;
  info->GetDescription(description.Put());
  EXPECT_EQ(description.Text(), L"Interface not supported");
  EXPECT_TRUE(ControlOf(control.Get()).Font() == before);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"request -512"}));
}

TEST(AutomationFont, FontObjectOutlivesTheControl) {
  ComPtr<IFontDisp> kept;
  {
    ComPtr<ILumivox> control = NewControl();
    control->get_MsgFont(kept.Put());
  }
  ComPtr<IFont> font = AsFont(kept.Get());
  CY size{};
  size.int64 = 200000;
  EXPECT_EQ(font->put_Size(size), S_OK) << "no notification reaches the released control";
}

TEST(AutomationClassInfo, DefaultSourceAndConnectionPoints) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IProvideClassInfo2> classInfo;
  ASSERT_EQ(control.As(&classInfo), S_OK);
  GUID guid{};
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid), S_OK);
  EXPECT_EQ(guid, DIID_ILumivoxEvents);
  EXPECT_EQ(classInfo->GetGUID(2, &guid), E_FAIL);
  EXPECT_EQ(guid, GUID_NULL);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(classInfo->GetClassInfo(info.Put()), S_OK);
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  EXPECT_EQ(attr->guid, CLSID_Lumivox);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  info->ReleaseTypeAttr(attr);

  const auto container = control.As<IConnectionPointContainer>();
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
  IConnectionPoint* found[3] = {};
  ULONG fetched = 0;
  points->Next(3, found, &fetched);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) found[i]->Release();
  ComPtr<IConnectionPoint> events;
  EXPECT_EQ(container->FindConnectionPoint(DIID_ILumivoxEvents, events.Put()), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, events.Put()), CONNECT_E_NOCONNECTION);
}
