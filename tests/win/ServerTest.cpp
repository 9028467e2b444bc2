// The in-process server from outside: regsvr32 and the registry it leaves,
// and the rules of the exports and the class factory.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "tests/win/TestSupport.h"
#include "win/ComSupport.h"
#include "win/RegistryKey.h"
#include "control/OrvexTypeLib.h"
#include "automation/Registration.h"

namespace {

TRegistryKey OpenKey(const std::string& key) {
  TRegistryKey handle;
  RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, handle.Put());
  return handle;
}

std::optional<std::string> ReadRegString(const std::string& key, const char* name = nullptr) {
  const TRegistryKey handle = OpenKey(key);
  if (!handle) return std::nullopt;
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  const LONG rc = RegQueryValueExA(handle.Get(), name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data), &size);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::string(data);
}

bool KeyExists(const std::string& key) { return static_cast<bool>(OpenKey(key)); }

std::string GuidText(const GUID& guid) {
  wchar_t wide[40] = {};
  StringFromGUID2(guid, wide, 40);
  return WideToAnsi(wide);
}

const std::string kClassKey = "CLSID\\" + GuidText(CLSID_Lumivox);

// Every value registration writes, by key and value name.
std::map<std::string, std::optional<std::string>> RegisteredValues() {
  std::map<std::string, std::optional<std::string>> values;
  for (const char* sub : {"", "\\InprocServer32", "\\ProgID", "\\Version", "\\Typelib",
                          "\\MiscStatus", "\\MiscStatus\\1", "\\ToolboxBitmap32", "\\Control",
                          "\\Verb", "\\Verb\\0"}) {
    values[kClassKey + sub] = ReadRegString(kClassKey + sub);
  }
  values["ThreadingModel"] = ReadRegString(kClassKey + "\\InprocServer32", "ThreadingModel");
  values["Orvex.Lumivox"] = ReadRegString("Orvex.Lumivox");
  values["Orvex.Lumivox\\CLSID"] = ReadRegString("Orvex.Lumivox\\CLSID");
  return values;
}

bool TypeLibraryRegistered() {
  ComPtr<ITypeLib> library;
  return SUCCEEDED(LoadRegTypeLib(LIBID_Orvex, 1, 0, 0x409, library.Put()));
}

class RegistrationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = MakeTempFolder("orvex reg test");
    ocx = folder + "\\Orvex.OCX";
    CopyFileA(BuildOcxPath().c_str(), ocx.c_str(), FALSE);
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(ocx.c_str(), shortPath, MAX_PATH);
    shortOcx = shortPath;
  }
  static void TearDownTestSuite() {
    // Leave the build's own OCX registered for the programs that follow.
    Regsvr32(BuildOcxPath());
    DeleteFileA(ocx.c_str());
    RemoveDirectoryA(folder.c_str());
  }
  static std::string folder, ocx, shortOcx;
};
std::string RegistrationTest::folder, RegistrationTest::ocx, RegistrationTest::shortOcx;

}  // namespace

TEST_F(RegistrationTest, WritesEveryEntryWithTheShortPathOfABlankFolder) {
  ASSERT_TRUE(Regsvr32(ocx)) << ocx;
  ASSERT_EQ(shortOcx.find(' '), std::string::npos);
  EXPECT_EQ(ReadRegString(kClassKey), "Lumivox Control");
  EXPECT_EQ(ReadRegString(kClassKey + "\\InprocServer32"), shortOcx);
  EXPECT_EQ(ReadRegString(kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(ReadRegString("Orvex.Lumivox"), "Lumivox Control");
  EXPECT_EQ(ReadRegString("Orvex.Lumivox\\CLSID"), GuidText(CLSID_Lumivox));
  EXPECT_EQ(ReadRegString(kClassKey + "\\ProgID"), "Orvex.Lumivox");
  EXPECT_EQ(ReadRegString(kClassKey + "\\Version"), "1.0");
  EXPECT_EQ(ReadRegString(kClassKey + "\\Typelib"), GuidText(LIBID_Orvex));
  EXPECT_EQ(ReadRegString(kClassKey + "\\MiscStatus"), "0");
  EXPECT_EQ(ReadRegString(kClassKey + "\\MiscStatus\\1"), "131473");
  EXPECT_EQ(ReadRegString(kClassKey + "\\ToolboxBitmap32"), shortOcx + ",100");
  EXPECT_EQ(ReadRegString(kClassKey + "\\Control"), "");
  EXPECT_EQ(ReadRegString(kClassKey + "\\Verb"), "");
  EXPECT_EQ(ReadRegString(kClassKey + "\\Verb\\0"), "Properties,0,2");
  EXPECT_TRUE(TypeLibraryRegistered());
  CLSID fromProgId{};
  EXPECT_EQ(CLSIDFromProgID(L"Orvex.Lumivox", &fromProgId), S_OK);
  EXPECT_EQ(fromProgId, CLSID_Lumivox);
}

TEST_F(RegistrationTest, RegisteringTwiceChangesNothing) {
  ASSERT_TRUE(Regsvr32(ocx));
  const auto once = RegisteredValues();
  ASSERT_TRUE(Regsvr32(ocx));
  EXPECT_EQ(RegisteredValues(), once);
}

TEST_F(RegistrationTest, UnregisterKeepsTheLibraryAndRegisterRestores) {
  ASSERT_TRUE(Regsvr32(ocx));
  const auto registered = RegisteredValues();
  ASSERT_TRUE(Regsvr32(ocx, true));
  EXPECT_FALSE(KeyExists(kClassKey));
  EXPECT_FALSE(KeyExists("Orvex.Lumivox"));
  EXPECT_TRUE(TypeLibraryRegistered());
  ASSERT_TRUE(Regsvr32(ocx));
  EXPECT_EQ(RegisteredValues(), registered);
}

// A folder whose name the code page cannot write registers like any other:
// the module's path is read and written in wide text.
TEST_F(RegistrationTest, RegistersFromAFolderTheCodePageCannotWrite) {
  const std::wstring wideFolder = AnsiToWide(folder) + L"\\\uc601\ud654 \u00df";
  const std::wstring wideOcx = wideFolder + L"\\Orvex.OCX";
  ASSERT_TRUE(CreateDirectoryW(wideFolder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(AnsiToWide(BuildOcxPath()).c_str(), wideOcx.c_str(), FALSE));
  HMODULE module = LoadLibraryW(wideOcx.c_str());
  ASSERT_NE(module, nullptr);
  const auto registerServer =
      reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module, "DllRegisterServer"));
  EXPECT_EQ(registerServer(), S_OK);
  wchar_t shortPath[MAX_PATH] = {};
  GetShortPathNameW(wideOcx.c_str(), shortPath, MAX_PATH);
  EXPECT_EQ(ReadRegString(kClassKey + "\\InprocServer32"), WideToAnsi(shortPath));
  FreeLibrary(module);
  DeleteFileW(wideOcx.c_str());
  RemoveDirectoryW(wideFolder.c_str());
}

// Registration through a writer that refuses its N-th value, for every N:
// SELFREG_E_CLASS, no write after the refused one, and no class entry left.
TEST_F(RegistrationTest, AFailedWriteIsReportedAndLeavesNoClassBehind) {
  ASSERT_TRUE(Regsvr32(ocx));
  const auto registered = RegisteredValues();
  HMODULE module = LoadLibraryA(ocx.c_str());
  ASSERT_NE(module, nullptr);
  int writes = 0;
  int refused = -1;
  const TRegistryWriter write = [&](const std::wstring& key, const wchar_t* name,
                                    const std::wstring& data) {
    return writes++ == refused ? ERROR_ACCESS_DENIED : WriteClassesRootValue(key, name, data);
  };
  ASSERT_EQ(RegisterLumivox(module, write), S_OK);
  EXPECT_EQ(RegisteredValues(), registered) << "the same entries as through regsvr32";
  const int total = writes;
  for (refused = 0; refused < total; ++refused) {
    SCOPED_TRACE("refused write " + std::to_string(refused));
    writes = 0;
    EXPECT_EQ(RegisterLumivox(module, write), SELFREG_E_CLASS);
    EXPECT_EQ(writes, refused + 1);
    EXPECT_FALSE(KeyExists(kClassKey));
    EXPECT_FALSE(KeyExists("Orvex.Lumivox"));
  }
  FreeLibrary(module);
}

namespace {

using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// The exports of the build's OCX, loaded straight into this process.
class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA(BuildOcxPath().c_str());
    ASSERT_NE(module, nullptr);
    canUnload = reinterpret_cast<CanUnloadFn>(GetProcAddress(module, "DllCanUnloadNow"));
    getClassObject =
        reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
    ASSERT_NE(canUnload, nullptr);
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(GetProcAddress(module, "DllRegisterServer"), nullptr);
    ASSERT_NE(GetProcAddress(module, "DllUnregisterServer"), nullptr);
  }
  void TearDown() override {
    if (canUnload) EXPECT_EQ(canUnload(), S_OK) << "a test left a lock behind";
    FreeLibrary(module);
  }
  ComPtr<IClassFactory> Factory() {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(getClassObject(CLSID_Lumivox, IID_PPV_ARGS(factory.Put())), S_OK);
    return factory;
  }
  // An object's Initialize opens the module's windows; the object goes again.
  void InitializeOneObject(IClassFactory* factory) {
    ComPtr<ILumivox> control;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(control.Put())), S_OK);
    VARIANT_BOOL initialized = 0;
    control->Initialize(&initialized);
    control.Reset();
    ASSERT_EQ(initialized, 1) << "needs the virtual two-monitor display";
  }
  HMODULE module = nullptr;
  CanUnloadFn canUnload = nullptr;
  GetClassObjectFn getClassObject = nullptr;
};

}  // namespace

TEST_F(ExportsTest, ClassObjectRules) {
  ComPtr<IClassFactory> first = Factory();
  ComPtr<IClassFactory> second = Factory();
  ASSERT_TRUE(first);
  EXPECT_EQ(first.Get(), second.Get()) << "one class factory per load";

  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(IID_ILumivox, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(getClassObject(CLSID_Lumivox, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(ExportsTest, UnloadAnswersFollowObjectsAndLocks) {
  EXPECT_EQ(canUnload(), S_OK);
  ComPtr<IClassFactory> factory = Factory();
  EXPECT_EQ(canUnload(), S_OK) << "the factory holds no lock";
  ComPtr<IUnknown> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(object.Put())), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  object.Reset();
  EXPECT_EQ(canUnload(), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(canUnload(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(canUnload(), S_OK);
}

namespace {
// A minimal outer object for aggregation: it only needs to be an IUnknown.
struct TOuter final : IUnknown {
  LONG refs = 1;
  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
};
}  // namespace

TEST_F(ExportsTest, CreateInstanceRules) {
  ComPtr<IClassFactory> factory = Factory();
  TOuter outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(&outer, IID_ILumivox, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_ILumivox, nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersistPropertyBag, &object), E_NOINTERFACE);
  EXPECT_EQ(canUnload(), S_OK) << "a refused object is destroyed";

  ComPtr<IUnknown> inner;
  ASSERT_EQ(factory->CreateInstance(&outer, IID_PPV_ARGS(inner.Put())), S_OK);
  // Interfaces of an aggregated object count on the outer object.
  ComPtr<ILumivox> lumivox;
  ASSERT_EQ(inner.As(&lumivox), S_OK);
  const LONG outerRefs = outer.refs;
  lumivox->AddRef();
  EXPECT_EQ(outer.refs, outerRefs + 1);
  lumivox->Release();
  lumivox.Reset();
  EXPECT_EQ(outer.refs, outerRefs - 1);
}

TEST_F(ExportsTest, UnloadWaitsForTheOutputWindowsAndTheLibraryReloads) {
  for (int load = 0; load < 2; ++load) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_NO_FATAL_FAILURE(InitializeOneObject(factory.Get()));
    EXPECT_EQ(canUnload(), S_FALSE) << "the video window is still on the television";
    // Any object's CloseControl closes the module's windows.
    ComPtr<ILumivox> control;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(control.Put())), S_OK);
    control->CloseControl();
    control.Reset();
    factory.Reset();
    EXPECT_EQ(canUnload(), S_OK);
    if (load == 0) {
      FreeLibrary(module);
      SetUp();
    }
  }
}

TEST_F(ExportsTest, FreeLibraryWithTheOutputWindowsOpenDestroysThem) {
  InitializeOneObject(Factory().Get());
  ASSERT_NE(FindWindowA("TFormMessage", nullptr), nullptr);
  FreeLibrary(module);
  // Windows left behind would call into code that is gone.
  EXPECT_EQ(FindWindowA("TFormVideo", nullptr), nullptr);
  EXPECT_EQ(FindWindowA("TFormMessage", nullptr), nullptr);
  SetUp();
}
