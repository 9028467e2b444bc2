// Saving and loading the surface's state through the host's stream or storage.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "tests/win/TestSupport.h"
#include "win/ComSupport.h"
#include "automation/FontLink.h"
#include "control/LumivoxImpl.h"

namespace {

const bool registered = RegisterBuildOcxFirst();

using Bytes = std::vector<uint8_t>;

Bytes DemoFixture() {
  std::ifstream file(TestDataPath("demo-form.tpf0"), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

ComPtr<ILumivox> NewControl() {
  ComPtr<ILumivox> control;
  EXPECT_EQ(CreateLumivox(nullptr, IID_PPV_ARGS(control.Put())), S_OK);
  return control;
}

TLumivox& ControlOf(ILumivox* object) { return static_cast<TLumivoxImpl*>(object)->Control(); }

ComPtr<IPersistStreamInit> PersistOf(ILumivox* control) {
  return QueryAs<IPersistStreamInit>(control);
}

ComPtr<IStream> MemoryStream(const Bytes& bytes) {
  ComPtr<IStream> stream;
  CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  ULONG written = 0;
  if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  return stream;
}

Bytes StreamBytes(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  Bytes bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

uint64_t Position(IStream* stream) {
  LARGE_INTEGER zero{};
  ULARGE_INTEGER at{};
  stream->Seek(zero, STREAM_SEEK_CUR, &at);
  return at.QuadPart;
}

std::wstring ErrorDescription(GUID* guid = nullptr) {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK) return L"(no error information)";
  TBstr text;
  info->GetDescription(text.Put());
  if (guid) info->GetGUID(guid);
  return text.Text();
}

bool Contains(const Bytes& bytes, const std::string& part) {
  const Bytes wanted(part.begin(), part.end());
  return std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end()) != bytes.end();
}

}  // namespace

TEST(Persistence, FreshControlSavesItsDesignValues) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IPersistStreamInit> persist = PersistOf(control.Get());
  EXPECT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ULARGE_INTEGER size{};
  EXPECT_EQ(persist->GetSizeMax(&size), E_NOTIMPL);
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Lumivox);

  ComPtr<IStream> stream = MemoryStream({});
  ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  const Bytes saved = StreamBytes(stream.Get());
  ASSERT_GE(saved.size(), 30u);
  EXPECT_EQ(std::string(saved.begin(), saved.begin() + 21), std::string("TPF0\x08TLumivox\x07Lumivox"));
  EXPECT_TRUE(Contains(saved, std::string("\x05Width\x02\x7b\x06Height\x02\x48", 17)));
  EXPECT_TRUE(Contains(saved, "Color\x07\x09" "clBtnFace"));
  EXPECT_TRUE(Contains(saved, "Font.Charset\x07\x0eGB2312_CHARSET"));
  EXPECT_TRUE(Contains(saved, "Font.Color\x07\x05" "clRed"));
  EXPECT_TRUE(Contains(saved, "Font.Height\x02\xf3"));
  EXPECT_TRUE(Contains(saved, "Font.Name\x06\x04\xcb\xce\xcc\xe5")) << "the face in code page 936";
  EXPECT_TRUE(Contains(saved, std::string("Font.Style\x0b\x00", 12)));
  EXPECT_TRUE(Contains(saved, "OldCreateOrder\x08"));
  const std::string ppi = std::string("PixelsPerInch\x02") + static_cast<char>(ScreenPixelsPerInch());
  EXPECT_TRUE(Contains(saved, ppi));
  EXPECT_EQ(saved[saved.size() - 1], 0);
  EXPECT_EQ(saved[saved.size() - 2], 0);

  control->put_MsgColor(0x00123456);
  stream = MemoryStream({});
  persist->Save(stream.Get(), FALSE);
  EXPECT_TRUE(Contains(StreamBytes(stream.Get()), std::string("Color\x04\x56\x34\x12\x00", 9)));
}

TEST(Persistence, DemoStreamGivesRedAndABoldFont) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IFontDisp> earlier;
  control->get_MsgFont(earlier.Put());
  const Bytes fixture = DemoFixture();
  ASSERT_EQ(fixture.size(), 240u);
  ASSERT_EQ(PersistOf(control.Get())->Load(MemoryStream(fixture).Get()), S_OK);

  OLE_COLOR color = 0;
  control->get_MsgColor(&color);
  EXPECT_EQ(color, 0x000000FFu);
  const TFontState& font = ControlOf(control.Get()).Font();
  EXPECT_EQ(font.height, -37);
  EXPECT_EQ(font.charset, ANSI_CHARSET);
  EXPECT_TRUE(font.bold);
  EXPECT_EQ(font.name, u"Comic Sans MS");

  // The object handed out before the load follows it.
  ComPtr<IFontDisp> now;
  control->get_MsgFont(now.Put());
  EXPECT_EQ(now.Get(), earlier.Get());
  const auto object = now.As<IFont>();
  BOOL bold = FALSE;
  object->get_Bold(&bold);
  EXPECT_TRUE(bold);
  // Wine reports the face it realised: compare with a font asked for the same.
  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Comic Sans MS"), {}, FW_BOLD, 0,
                FALSE, FALSE, FALSE};
  desc.cySize.int64 = 280000;
  ComPtr<IFont> reference;
  OleCreateFontIndirect(&desc, IID_PPV_ARGS(reference.Put()));
  TBstr got, want;
  object->get_Name(got.Put());
  reference->get_Name(want.Put());
  EXPECT_STREQ(got.Get(), want.Get());
}

TEST(Persistence, HostStreamStandsRightAfterTheControlsData) {
  Bytes bytes = DemoFixture();
  const std::string trailer(5000, 'T');
  bytes.insert(bytes.end(), trailer.begin(), trailer.end());
  ComPtr<IStream> stream = MemoryStream(bytes);
  ComPtr<ILumivox> control = NewControl();
  ASSERT_EQ(PersistOf(control.Get())->Load(stream.Get()), S_OK);
  EXPECT_EQ(Position(stream.Get()), 240u);
}

TEST(Persistence, SaveThenLoadRoundTripsThroughAStorage) {
  ComPtr<ILumivox> source = NewControl();
  source->put_MsgColor(0x8000000D);
  ComPtr<IFontDisp> font;
  source->get_MsgFont(font.Put());
  const auto object = font.As<IFont>();
  object->put_Italic(TRUE);

  ComPtr<IStorage> storage;
  ASSERT_EQ(StgCreateDocfile(nullptr,
                             STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE |
                                 STGM_DELETEONRELEASE,
                             0, storage.Put()),
            S_OK);
  const auto save = source.As<IPersistStorage>();
  ASSERT_EQ(save->Save(storage.Get(), TRUE), S_OK);
  EXPECT_EQ(save->SaveCompleted(nullptr), S_OK);
  ComPtr<IStream> contents;
  EXPECT_EQ(storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                contents.Put()),
            S_OK);
  contents.Reset();

  ComPtr<ILumivox> target = NewControl();
  const auto load = target.As<IPersistStorage>();
  EXPECT_EQ(load->IsDirty(), S_FALSE);
  ASSERT_EQ(load->Load(storage.Get()), S_OK);
  OLE_COLOR color = 0;
  target->get_MsgColor(&color);
  EXPECT_EQ(color, 0x8000000Du);
  EXPECT_TRUE(ControlOf(target.Get()).Font().italic);
}

TEST(PersistenceErrors, ReportedWithTheNullInterfaceAndTheirMessages) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IPersistStreamInit> persist = PersistOf(control.Get());
  Bytes bad = DemoFixture();
  bad[0] = 'X';
  GUID guid = IID_ILumivox;
  EXPECT_EQ(persist->Load(MemoryStream(bad).Get()), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(&guid), L"Invalid stream format");
  EXPECT_EQ(guid, GUID_NULL);

  const Bytes fixture = DemoFixture();
  EXPECT_EQ(persist->Load(MemoryStream(Bytes(fixture.begin(), fixture.begin() + 100)).Get()),
            DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(), L"Stream read error");
  OLE_COLOR color = 0;
  control->get_MsgColor(&color);
  EXPECT_EQ(color, 0x000000FFu) << "what was read before the end stays applied";

  Bytes unknown(fixture.begin(), fixture.begin() + 21);
  for (uint8_t b : std::string("\x08MsgSpeed\x02\x05", 11)) unknown.push_back(b);
  unknown.push_back(0);
  unknown.push_back(0);
  EXPECT_EQ(persist->Load(MemoryStream(unknown).Get()), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(), L"Error reading Lumivox.MsgSpeed: Property MsgSpeed does not exist");
}

namespace {
// A host stream that takes only part of what is written, or fails outright;
// given a source, it reads from that and fails only its seeks.
class TShortStream final : public IStream {
 public:
  explicit TShortStream(HRESULT failure, IStream* source = nullptr)
      : failure_(failure), source_(source) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IStream || riid == IID_ISequentialStream) {
      *object = static_cast<IStream*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP Read(void* buffer, ULONG size, ULONG* read) override {
    if (source_) return source_->Read(buffer, size, read);
    if (read) *read = 0;
    return failure_;
  }
  STDMETHODIMP Write(const void*, ULONG size, ULONG* written) override {
    if (written) *written = FAILED(failure_) ? 0 : size / 2;
    return failure_;
  }
  STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override {
    return source_ ? failure_ : E_NOTIMPL;
  }
  STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

 private:
  HRESULT failure_;
  IStream* source_;
};
}  // namespace

TEST(PersistenceErrors, HostStreamFailuresAreNamed) {
  ComPtr<ILumivox> control = NewControl();
  ComPtr<IPersistStreamInit> persist = PersistOf(control.Get());
  TShortStream partial(S_OK);
  EXPECT_EQ(persist->Save(&partial, TRUE), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(), L"Stream write error");

  TShortStream denied(STG_E_ACCESSDENIED);
  EXPECT_EQ(persist->Save(&denied, TRUE), DISP_E_EXCEPTION);
  EXPECT_FALSE(ErrorDescription().empty());
  TShortStream odd(static_cast<HRESULT>(0x80041234));
  EXPECT_EQ(persist->Load(&odd), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(), L"OLE error 80041234");

  // The control reads ahead; a stream that cannot be put back after the
  // control's data would leave the host's next reader at the wrong place.
  Bytes followed = DemoFixture();
  followed.resize(followed.size() + 3000, 0x5A);
  ComPtr<IStream> source = MemoryStream(followed);
  TShortStream unseekable(static_cast<HRESULT>(0x80041235), source.Get());
  EXPECT_EQ(persist->Load(&unseekable), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorDescription(), L"OLE error 80041235");
}

namespace {
// Late-bound call by name; arguments in natural order.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                   VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0x804, &id);
  if (FAILED(hr)) return hr;
  std::reverse(args.begin(), args.end());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{args.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
                    static_cast<UINT>(args.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  hr = object->Invoke(id, IID_NULL, 0x804, flags, &params, result, nullptr, nullptr);
  for (VARIANT& v : args) VariantClear(&v);
  return hr;
}

VARIANT Text(const wchar_t* text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(text);
  return v;
}
}  // namespace

// A script sees what the load brought: the system's script control runs
// VBScript against the loaded control by name.
TEST(Persistence, ScriptSeesTheLoadedColourAndFont) {
  ComPtr<ILumivox> control = NewControl();
  ASSERT_EQ(PersistOf(control.Get())->Load(MemoryStream(DemoFixture()).Get()), S_OK);
  CLSID scriptClsid{};
  ASSERT_EQ(CLSIDFromProgID(L"MSScriptControl.ScriptControl", &scriptClsid), S_OK);
  ComPtr<IDispatch> script;
  ASSERT_EQ(
      CoCreateInstance(scriptClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(script.Put())),
      S_OK);
  ASSERT_EQ(CallByName(script.Get(), L"Language", DISPATCH_PROPERTYPUT, {Text(L"VBScript")},
                       nullptr),
            S_OK);
  VARIANT object;
  V_VT(&object) = VT_DISPATCH;
  V_DISPATCH(&object) = control.Get();
  control->AddRef();
  VARIANT noMembers;
  V_VT(&noMembers) = VT_BOOL;
  V_BOOL(&noMembers) = VARIANT_FALSE;
  ASSERT_EQ(CallByName(script.Get(), L"AddObject", DISPATCH_METHOD,
                       {Text(L"ctl"), object, noMembers}, nullptr),
            S_OK);
  auto eval = [&](const wchar_t* expression) {
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(CallByName(script.Get(), L"Eval", DISPATCH_METHOD, {Text(expression)}, &result),
              S_OK)
        << expression;
    VARIANT text;
    VariantInit(&text);
    VariantChangeType(&text, &result, 0, VT_BSTR);
    std::wstring value = V_VT(&text) == VT_BSTR && V_BSTR(&text) ? V_BSTR(&text) : L"?";
    VariantClear(&text);
    VariantClear(&result);
    return value;
  };
  EXPECT_EQ(eval(L"CStr(CLng(ctl.MsgColor))"), L"255");
  EXPECT_EQ(eval(L"CStr(CInt(ctl.MsgFont.Bold))"), L"-1");
  EXPECT_EQ(eval(L"CStr(ctl.MsgFont Is ctl.MsgFont)"), eval(L"CStr(True)"));
}

namespace {
// A client site that counts the control's requests to be saved.
class TSavingSite final : public IOleClientSite {
 public:
  int saves = 0;
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    *object = riid == IID_IUnknown || riid == IID_IOleClientSite ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the stack
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP SaveObject() override {
    ++saves;
    return S_OK;
  }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

ComPtr<IFontDisp> BoldFontObject(const wchar_t* name) {
  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(name), {}, FW_BOLD, 0, FALSE, FALSE, FALSE};
  desc.cySize.int64 = 200000;
  ComPtr<IFontDisp> font;
  OleCreateFontIndirect(&desc, IID_PPV_ARGS(font.Put()));
  return font;
}

// Sets a property of the control's font object through its dispatch interface.
void PutFontProperty(ILumivox* control, DISPID id, VARIANT value) {
  ComPtr<IFontDisp> font;
  control->get_MsgFont(font.Put());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  EXPECT_EQ(font->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
            S_OK);
  VariantClear(&value);
}

VARIANT Variant(VARTYPE type, LONGLONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  if (type == VT_CY) V_CY(&v).int64 = value;
  if (type == VT_BOOL) V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

ComPtr<IStorage> TemporaryStorage() {
  ComPtr<IStorage> storage;
  StgCreateDocfile(nullptr,
                   STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE, 0,
                   storage.Put());
  return storage;
}
}  // namespace

// Every change of a saved property makes the control dirty (so closing it
// asks the client site to save it) until a load, a new start or a save.
TEST(PersistenceDirty, FromAChangeUntilLoadNewOrSave) {
  using Step = std::function<void(ILumivox*)>;
  struct TCase {
    const char* name;
    Step step;
    HRESULT dirty;
  };
  const Step newColor = [](ILumivox* c) { c->put_MsgColor(0x00123456); };
  const TCase changes[] = {
      {"MsgColor", newColor, S_OK},
      {"MsgColor to its own value",
       [](ILumivox* c) {
         OLE_COLOR color = 0;
         c->get_MsgColor(&color);
         c->put_MsgColor(color);
       },
       S_FALSE},
      {"MsgFont put", [](ILumivox* c) { c->put_MsgFont(BoldFontObject(L"Arial").Get()); }, S_OK},
      {"MsgFont putref", [](ILumivox* c) { c->putref_MsgFont(BoldFontObject(L"Arial").Get()); },
       S_OK},
      {"MsgFont put nothing", [](ILumivox* c) { c->putref_MsgFont(nullptr); }, S_FALSE},
      {"font object Size",
       [](ILumivox* c) { PutFontProperty(c, DISPID_FONT_SIZE, Variant(VT_CY, 250000)); }, S_OK},
      {"font object Bold",
       [](ILumivox* c) { PutFontProperty(c, DISPID_FONT_BOLD, Variant(VT_BOOL, 1)); }, S_OK},
      {"font object Name",
       [](ILumivox* c) { PutFontProperty(c, DISPID_FONT_NAME, Text(L"Arial")); }, S_OK},
  };
  for (const TCase& change : changes) {
    SCOPED_TRACE(change.name);
    ComPtr<ILumivox> control = NewControl();
    EXPECT_EQ(PersistOf(control.Get())->IsDirty(), S_FALSE) << "a new control";
    change.step(control.Get());
    EXPECT_EQ(PersistOf(control.Get())->IsDirty(), change.dirty);
    EXPECT_EQ(control.As<IPersistStorage>()->IsDirty(), change.dirty);
    TSavingSite site;
    ComPtr<IOleObject> ole = control.As<IOleObject>();
    ole->SetClientSite(&site);
    EXPECT_EQ(ole->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
    EXPECT_EQ(site.saves, change.dirty == S_OK ? 1 : 0);
    ole->SetClientSite(nullptr);
  }

  const auto storageSave = [](BOOL sameAsLoad, bool handOver, const Step& meanwhile) -> Step {
    return [=](ILumivox* c) {
      ComPtr<IStorage> storage = TemporaryStorage();
      ComPtr<IPersistStorage> persist = QueryAs<IPersistStorage>(c);
      EXPECT_EQ(persist->Save(storage.Get(), sameAsLoad), S_OK);
      if (meanwhile) meanwhile(c);
      persist->SaveCompleted(handOver ? storage.Get() : nullptr);
    };
  };
  const TCase cleans[] = {
      {"InitNew", [](ILumivox* c) { PersistOf(c)->InitNew(); }, S_FALSE},
      {"Load", [](ILumivox* c) { PersistOf(c)->Load(MemoryStream(DemoFixture()).Get()); },
       S_FALSE},
      {"Save clearing", [](ILumivox* c) { PersistOf(c)->Save(MemoryStream({}).Get(), TRUE); },
       S_FALSE},
      {"Save keeping", [](ILumivox* c) { PersistOf(c)->Save(MemoryStream({}).Get(), FALSE); },
       S_OK},
      {"storage InitNew",
       [](ILumivox* c) {
         QueryAs<IPersistStorage>(c)->InitNew(TemporaryStorage().Get());
       },
       S_FALSE},
      {"storage Load",
       [](ILumivox* c) {
         ComPtr<IStorage> storage = TemporaryStorage();
         ComPtr<IPersistStorage> persist = QueryAs<IPersistStorage>(c);
         persist->Save(storage.Get(), FALSE);
         persist->Load(storage.Get());
       },
       S_FALSE},
      {"storage saved into the current one", storageSave(TRUE, false, nullptr), S_FALSE},
      {"storage saved as a new one", storageSave(FALSE, true, nullptr), S_FALSE},
      {"storage saved as a copy", storageSave(FALSE, false, nullptr), S_OK},
      {"storage changed before the save completed",
       storageSave(TRUE, false, [](ILumivox* c) { c->put_MsgColor(0x00654321); }), S_OK},
  };
  for (const TCase& clean : cleans) {
    SCOPED_TRACE(clean.name);
    ComPtr<ILumivox> control = NewControl();
    newColor(control.Get());
    clean.step(control.Get());
    EXPECT_EQ(PersistOf(control.Get())->IsDirty(), clean.dirty);
  }
}
