// Writes the Orvex type library item by item through ICreateTypeLib2, from
// its definition in control/LumivoxInterface.def:
//
//   orvex_typelib_gen <output.tlb> <win32|win64> [stdole2.tlb]
//
// The second argument is the target system of the library: win32 for the
// 32-bit OCX, win64 for the x86_64 build (its vtable offsets count 8-byte
// pointers). A library for the other pointer size than the generator's own
// needs that system's stdole2.tlb as third argument (see LoadStdOle). The
// bytes written for a target system are the same whichever bitness this
// program has (automation/TypeLibRecords.h).
//
// The help strings are Chinese; the type library writer stores them in the
// process's ANSI code page, which must therefore be 936 (under Wine:
// LC_ALL=zh_CN.UTF-8, as scripts/wine-run.sh sets). After saving, the library
// is loaded back and checked, so a wrong code page or vtable layout fails the
// build instead of shipping.
//
// Exits 0 on success; on any failure prints a message, removes the partial
// output and exits 1.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/InterfaceRows.h"
#include "automation/TypeLibRecords.h"
#include "control/OrvexTypeLib.h"
#include "win/ComSupport.h"
#include "win/TextConversion.h"

namespace {

// The OLE Automation standard library (stdole2.tlb), version 2.0.
constexpr GUID kLibidStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr UINT kAnsiCodePage = 936;

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void Check(HRESULT hr, const std::string& what) {
  if (SUCCEEDED(hr)) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  throw Failure(what + " failed with " + code);
}

// UTF-8 text of the definition as UTF-16; text that does not survive the
// round trip is not valid UTF-8 and fails the build.
std::wstring Wide(const char* utf8) {
  std::wstring wide = Utf8ToWide(utf8);
  if (WideToUtf8(wide) != utf8) throw Failure(std::string("invalid UTF-8 text: ") + utf8);
  return wide;
}

// ---------------------------------------------------------------------------
// The library as control/LumivoxInterface.def defines it
// (automation/InterfaceRows.h).

using interface_rows::Enumeration;
using interface_rows::Function;
using interface_rows::Invoke;
using interface_rows::kClass;
using interface_rows::kEnumerations;
using interface_rows::kEvents;
using interface_rows::kFunctions;
using interface_rows::kInterface;
using interface_rows::kLibrary;

// A GUID as the definition writes it (bare, without braces).
GUID GuidOf(const char* text) {
  GUID guid;
  Check(IIDFromString((L"{" + Wide(text) + L"}").c_str(), &guid), std::string("reading the GUID ") + text);
  return guid;
}

// ---------------------------------------------------------------------------

constexpr UINT kDispatchSlots = 7;  // IUnknown's three and IDispatch's four
constexpr UINT kFunctionCount = sizeof(kFunctions) / sizeof(kFunctions[0]);
constexpr UINT kEnumerationCount = sizeof(kEnumerations) / sizeof(kEnumerations[0]);

UINT PointerSize(SYSKIND syskind) { return syskind == SYS_WIN64 ? 8 : 4; }

// The type references ILumivox's parameters need, as seen from ILumivox.
struct TypeRefs {
  HREFTYPE color = 0;  // stdole2's OLE_COLOR
  HREFTYPE font = 0;   // stdole2's Font, the dispinterface IFontDisp names
  HREFTYPE enums[kEnumerationCount] = {};  // in the order of kEnumerations
};

// The index in kEnumerations of the enumeration of this name.
UINT EnumerationIndex(const char* name) {
  for (UINT i = 0; i < kEnumerationCount; ++i)
    if (std::string(kEnumerations[i].name) == name) return i;
  throw Failure(std::string("a value type the type library writer does not know: ") + name);
}

// A parameter type: the value type, behind one more pointer for [out].
// The TYPEDESCs point into their own storage, so the object must stay put.
struct ParamType {
  TYPEDESC chain[3] = {};
  TYPEDESC* top = nullptr;

  // The value's type as the definition writes it: one of OLE Automation's,
  // or an enumeration of this library.
  ParamType(const Function& f, bool out, const TypeRefs& refs) {
    const std::string type = f.type;
    TYPEDESC* value = &chain[2];
    if (type == "OLE_COLOR") {
      value->vt = VT_USERDEFINED;
      value->hreftype = refs.color;
    } else if (type == "BSTR") {
      value->vt = VT_BSTR;
    } else if (type == "LONG") {
      value->vt = VT_I4;
    } else if (type == "VARIANT_BOOL") {
      value->vt = VT_BOOL;
    } else if (type == "IFontDisp*") {
      // The font object is always passed by pointer.
      value->vt = VT_USERDEFINED;
      value->hreftype = refs.font;
      chain[1].vt = VT_PTR;
      chain[1].lptdesc = value;
      value = &chain[1];
    } else {
      value->vt = VT_USERDEFINED;
      value->hreftype = refs.enums[EnumerationIndex(f.type)];
    }
    top = value;
    if (out) {
      chain[0].vt = VT_PTR;
      chain[0].lptdesc = value;
      top = &chain[0];
    }
  }
};

HREFTYPE AddRef(ICreateTypeInfo* into, ITypeInfo* target, const std::string& what) {
  HREFTYPE ref = 0;
  Check(into->AddRefTypeInfo(target, &ref), "AddRefTypeInfo " + what);
  return ref;
}

ComPtr<ITypeInfo> AsTypeInfo(ICreateTypeInfo* created, const std::string& what) {
  ComPtr<ITypeInfo> info;
  Check(QueryAs(created, &info),
        "QueryInterface ITypeInfo of " + what);
  return info;
}

// A type of stdole2 by name, checked for its kind and GUID.
ComPtr<ITypeInfo> StdOleType(ITypeLib* stdole, const wchar_t* name, TYPEKIND kind, const GUID& guid) {
  const std::string narrow = WideToUtf8(name);
  ComPtr<ITypeInfo> info;
  const UINT count = stdole->GetTypeInfoCount();
  for (UINT i = 0; i < count && !info.Get(); ++i) {
    TBstr found;
    if (FAILED(stdole->GetDocumentation(i, found.Put(), nullptr, nullptr, nullptr))) continue;
    if (found.Get() && lstrcmpW(found.Get(), name) == 0)
      Check(stdole->GetTypeInfo(i, info.Put()), "stdole2 GetTypeInfo");
  }
  if (!info.Get()) throw Failure(std::string("stdole2 has no type ") + narrow);
  TYPEATTR* attr = nullptr;
  Check(info->GetTypeAttr(&attr), std::string("stdole2 GetTypeAttr ") + narrow);
  const bool ok = attr->typekind == kind && IsEqualGUID(attr->guid, guid);
  info->ReleaseTypeAttr(attr);
  if (!ok) throw Failure(std::string("stdole2's ") + narrow + " is not the expected type");
  return info;
}

ComPtr<ICreateTypeInfo> CreateType(ICreateTypeLib2* lib, const char* name, TYPEKIND kind) {
  ComPtr<ICreateTypeInfo> info;
  Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(Wide(name).c_str()), kind, info.Put()),
        std::string("CreateTypeInfo ") + name);
  return info;
}

void Describe(ICreateTypeInfo* info, const GUID& guid, const char* help, const std::string& what) {
  Check(info->SetGuid(guid), "SetGuid " + what);
  Check(info->SetVersion(kOrvexLibMajor, kOrvexLibMinor), "SetVersion " + what);
  if (help) Check(info->SetDocString(const_cast<LPOLESTR>(Wide(help).c_str())), "SetDocString " + what);
}

void AddFunction(ICreateTypeInfo* info, UINT index, const Function& m, const TypeRefs& refs, UINT pointerSize) {
  const std::string what = "ILumivox function " + std::to_string(index + 1) + " (" + m.name + ")";
  FUNCDESC fd = {};
  fd.memid = m.dispid;
  fd.funckind = FUNC_PUREVIRTUAL;
  fd.callconv = CC_STDCALL;
  fd.elemdescFunc.tdesc.vt = VT_HRESULT;
  fd.wFuncFlags = 0;
  // The slot in the C++ ILumivox: after IDispatch's seven, in table order.
  fd.oVft = static_cast<SHORT>((kDispatchSlots + index) * pointerSize);
  switch (m.invoke) {
    case Invoke::GET: fd.invkind = INVOKE_PROPERTYGET; break;
    case Invoke::PUT: fd.invkind = INVOKE_PROPERTYPUT; break;
    case Invoke::PUTREF: fd.invkind = INVOKE_PROPERTYPUTREF; break;
    case Invoke::METHOD:
    case Invoke::METHOD_RESULT: fd.invkind = INVOKE_FUNC; break;
  }

  ELEMDESC param = {};
  std::optional<ParamType> type;
  const bool out = m.invoke == Invoke::GET || m.invoke == Invoke::METHOD_RESULT;
  if (m.invoke != Invoke::METHOD) {
    type.emplace(m, out, refs);
    param.tdesc = *type->top;
    param.paramdesc.wParamFlags = out ? (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL) : PARAMFLAG_FIN;
    fd.cParams = 1;
    fd.lprgelemdescParam = &param;
  }
  Check(info->AddFuncDesc(index, &fd), "AddFuncDesc " + what);

  // The value of a property put is the right-hand side of the assignment and
  // has no name in a type library (SetFuncAndParamNames refuses one), so only
  // gets and methods name their parameter.
  std::wstring name = Wide(m.name);
  std::wstring value = L"Value";
  LPOLESTR names[2] = {&name[0], &value[0]};
  const UINT nameCount = out ? 2 : 1;
  Check(info->SetFuncAndParamNames(index, names, nameCount), "SetFuncAndParamNames " + what);
  Check(info->SetFuncDocString(index, const_cast<LPOLESTR>(Wide(m.help).c_str())),
        "SetFuncDocString " + what);
}

void AddEnumeration(ICreateTypeInfo* info, const Enumeration& e) {
  const std::string what = e.name;
  Describe(info, GuidOf(e.guid), nullptr, what);
  for (UINT i = 0; i < e.values.size(); ++i) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = e.values[i].value;
    VARDESC vd = {};
    vd.memid = MEMBERID_NIL;
    vd.lpvarValue = &value;
    vd.elemdescVar.tdesc.vt = VT_I4;
    vd.varkind = VAR_CONST;
    const std::string item = what + "." + e.values[i].name;
    Check(info->AddVarDesc(i, &vd), "AddVarDesc " + item);
    Check(info->SetVarName(i, const_cast<LPOLESTR>(Wide(e.values[i].name).c_str())), "SetVarName " + item);
  }
  Check(info->LayOut(), "LayOut " + what);
}

// stdole2 as the target system sees it. ILumivox's vtable layout is derived
// from IDispatch's, so a library for another pointer size than this process's
// must be built against that system's stdole2 (loaded from the given file).
// The library is held for the whole run: while it is loaded, references to
// stdole2 resolve to it rather than to this process's registered copy.
ComPtr<ITypeLib> LoadStdOle(SYSKIND syskind, const std::wstring& file) {
  ComPtr<ITypeLib> stdole;
  const SYSKIND own = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  if (!file.empty()) {
    Check(LoadTypeLibEx(file.c_str(), REGKIND_NONE, stdole.Put()), "LoadTypeLibEx of the given stdole2");
  } else if (syskind == own) {
    Check(LoadRegTypeLib(kLibidStdOle, 2, 0, LOCALE_NEUTRAL, stdole.Put()), "LoadRegTypeLib stdole2");
  } else {
    throw Failure("a library for the other pointer size needs that system's stdole2.tlb as third argument");
  }
  TLIBATTR* attr = nullptr;
  Check(stdole->GetLibAttr(&attr), "stdole2 GetLibAttr");
  const bool ok = IsEqualGUID(attr->guid, kLibidStdOle) && attr->wMajorVerNum == 2 && attr->syskind == syskind;
  stdole->ReleaseTLibAttr(attr);
  if (!ok) throw Failure("the given stdole2 is not OLE Automation 2.0 for the target system");
  return stdole;
}

void Generate(const std::wstring& path, SYSKIND syskind, ITypeLib* stdole) {
  const UINT pointerSize = PointerSize(syskind);
  ComPtr<ICreateTypeLib2> lib;
  Check(CreateTypeLib2(syskind, path.c_str(), lib.Put()), "CreateTypeLib2");
  Check(lib->SetName(const_cast<LPOLESTR>(Wide(kLibrary.name).c_str())), "SetName library");
  Check(lib->SetGuid(GuidOf(kLibrary.guid)), "SetGuid library");
  Check(lib->SetLcid(kLibrary.locale), "SetLcid library");
  Check(lib->SetVersion(kOrvexLibMajor, kOrvexLibMinor), "SetVersion library");
  Check(lib->SetLibFlags(LIBFLAG_FCONTROL), "SetLibFlags library");
  Check(lib->SetDocString(const_cast<LPOLESTR>(Wide(kLibrary.help).c_str())), "SetDocString library");

  ComPtr<ITypeInfo> dispatch;
  Check(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.Put()), "stdole2 IDispatch");
  ComPtr<ITypeInfo> oleColor = StdOleType(stdole, L"OLE_COLOR", TKIND_ALIAS, GUID{0x66504301, 0xBE0F, 0x101A,
                                       {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}});
  // IFontDisp is stdole2's alias of the dispinterface Font. The writer records
  // imported types by GUID only, and the alias has none in Wine's stdole2: a
  // reference to it reads back as stdole2's first GUID-less type (the GUID
  // record). Font itself is the same type under IID_IFontDisp and resolves
  // everywhere.
  ComPtr<ITypeInfo> font = StdOleType(stdole, L"Font", TKIND_DISPATCH, IID_IFontDisp);

  // The type infos are created first, in library order (the interface, the
  // event interface, the class, the enumerations), so that they can refer to
  // each other while being filled.
  ComPtr<ICreateTypeInfo> lumivox = CreateType(lib.Get(), kInterface.name, TKIND_INTERFACE);
  ComPtr<ICreateTypeInfo> events = CreateType(lib.Get(), kEvents.name, TKIND_DISPATCH);
  ComPtr<ICreateTypeInfo> coclass = CreateType(lib.Get(), kClass.name, TKIND_COCLASS);
  ComPtr<ICreateTypeInfo> enums[kEnumerationCount];
  for (UINT i = 0; i < kEnumerationCount; ++i) enums[i] = CreateType(lib.Get(), kEnumerations[i].name, TKIND_ENUM);

  for (UINT i = 0; i < kEnumerationCount; ++i) AddEnumeration(enums[i].Get(), kEnumerations[i]);

  // ILumivox: created as an interface deriving from IDispatch and marked
  // dual; the library then lists its dispatch half (TKIND_DISPATCH, dual),
  // whose GetRefTypeOfImplType(-1) gives this vtable half. IDispatch is
  // referenced before the dual flag is set, so that the reference comes from
  // the target system's stdole2 (SetTypeFlags would add this process's).
  Describe(lumivox.Get(), GuidOf(kInterface.guid), kInterface.help, kInterface.name);
  Check(lumivox->AddImplType(0, AddRef(lumivox.Get(), dispatch.Get(), "IDispatch into the interface")),
        "AddImplType the interface");
  Check(lumivox->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE),
        "SetTypeFlags the interface");
  TypeRefs refs;
  refs.color = AddRef(lumivox.Get(), oleColor.Get(), "OLE_COLOR");
  refs.font = AddRef(lumivox.Get(), font.Get(), "Font");
  for (UINT i = 0; i < kEnumerationCount; ++i)
    refs.enums[i] = AddRef(lumivox.Get(), AsTypeInfo(enums[i].Get(), kEnumerations[i].name).Get(),
                           kEnumerations[i].name);
  for (UINT i = 0; i < kFunctionCount; ++i) AddFunction(lumivox.Get(), i, kFunctions[i], refs, pointerSize);
  Check(lumivox->LayOut(), "LayOut the interface");

  // The event interface: the control raises no events; it is empty.
  Describe(events.Get(), GuidOf(kEvents.guid), kEvents.help, kEvents.name);
  Check(events->AddImplType(0, AddRef(events.Get(), dispatch.Get(), "IDispatch into the event interface")),
        "AddImplType the event interface");
  Check(events->SetTypeFlags(TYPEFLAG_FDISPATCHABLE), "SetTypeFlags the event interface");
  Check(events->LayOut(), "LayOut the event interface");

  // Lumivox: the control class. Its flags are set last: AddImplType marks
  // the class dispatchable when the interface's type reference happens to
  // equal IDispatch's in the bits the writer compares (both are 0 here).
  Describe(coclass.Get(), GuidOf(kClass.guid), kClass.help, kClass.name);
  Check(coclass->AddImplType(0, AddRef(coclass.Get(), AsTypeInfo(lumivox.Get(), kInterface.name).Get(),
                                       kInterface.name)),
        "AddImplType the class 0");
  Check(coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags the class 0");
  Check(coclass->AddImplType(1, AddRef(coclass.Get(), AsTypeInfo(events.Get(), kEvents.name).Get(), kEvents.name)),
        "AddImplType the class 1");
  Check(coclass->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE), "SetImplTypeFlags the class 1");
  Check(coclass->SetTypeFlags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), "SetTypeFlags the class");
  Check(coclass->LayOut(), "LayOut the class");

  Check(lib->SaveAllChanges(), "SaveAllChanges");
}

// The description sizes as this process lays the structures out: the
// system's writer stores these in every record (automation/TypeLibRecords.h).
constexpr DescriptionSizes kOwnSizes = sizeof(void*) == 8 ? kDescriptionSizes64 : kDescriptionSizes32;
static_assert(sizeof(FUNCDESC) == kOwnSizes.funcdesc && sizeof(ELEMDESC) == kOwnSizes.elemdesc &&
                  sizeof(VARDESC) == kOwnSizes.vardesc && sizeof(VARIANT) == kOwnSizes.variant,
              "the description sizes of this system");

std::string ReadWhole(const std::wstring& path) {
  std::string bytes;
  if (FILE* file = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (!failed) return bytes;
  }
  throw Failure("cannot read the written library");
}

// Sets the records' description sizes for the target system, so that the
// library does not depend on this writer's own bitness.
void SetSizesForTarget(const std::wstring& path, SYSKIND syskind) {
  std::string bytes = ReadWhole(path);
  SetDescriptionSizes(bytes, kOwnSizes, syskind == SYS_WIN64 ? kDescriptionSizes64 : kDescriptionSizes32);
  FILE* file = _wfopen(path.c_str(), L"wb");
  const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if ((file && std::fclose(file) != 0) || !written) throw Failure("cannot write the library's description sizes");
}

// Loads the written library back and checks what could silently go wrong:
// the texts that pass through the ANSI code page, and ILumivox's vtable size.
void VerifyWritten(const std::wstring& path, SYSKIND syskind) {
  ComPtr<ITypeLib> lib;
  Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.Put()), "LoadTypeLibEx of the written library");
  TBstr help;
  Check(lib->GetDocumentation(-1, nullptr, help.Put(), nullptr, nullptr), "GetDocumentation library");
  if (!help.Get() || Wide(kLibrary.help) != help.Get()) throw Failure("the library's help string does not read back");

  ComPtr<ITypeInfo> info, iface;
  Check(lib->GetTypeInfoOfGuid(IID_ILumivox, info.Put()), "GetTypeInfoOfGuid ILumivox");
  HREFTYPE vtableHalf = 0;
  Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableHalf), "GetRefTypeOfImplType(-1) ILumivox");
  Check(info->GetRefTypeInfo(vtableHalf, iface.Put()), "GetRefTypeInfo ILumivox interface");
  TYPEATTR* attr = nullptr;
  Check(iface->GetTypeAttr(&attr), "GetTypeAttr ILumivox interface");
  const bool sizeOk = attr->cFuncs == kFunctionCount &&
                      attr->cbSizeVft == (kDispatchSlots + kFunctionCount) * PointerSize(syskind);
  iface->ReleaseTypeAttr(attr);
  if (!sizeOk) throw Failure("ILumivox's vtable does not have IDispatch's seven slots and its " +
                              std::to_string(kFunctionCount) + " functions");

  for (UINT i = 0; i < kFunctionCount; ++i) {
    TBstr doc;
    Check(iface->GetDocumentation(kFunctions[i].dispid, nullptr, doc.Put(), nullptr, nullptr),
          std::string("GetDocumentation ") + kFunctions[i].name);
    if (!doc.Get() || Wide(kFunctions[i].help) != doc.Get()) throw Failure(std::string("the help string of ") + kFunctions[i].name + " does not read back");
  }
}

int Run(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 4)
    throw Failure("usage: orvex_typelib_gen <output.tlb> <win32|win64> [stdole2.tlb of the target system]");
  const std::wstring path = argv[1];
  const std::wstring arch = argv[2];
  const std::wstring stdoleFile = argc == 4 ? argv[3] : L"";
  SYSKIND syskind;
  if (arch == L"win32") {
    syskind = SYS_WIN32;
  } else if (arch == L"win64") {
    syskind = SYS_WIN64;
  } else {
    throw Failure("the target system must be win32 or win64");
  }
  // The writer stores the Chinese help strings in the ANSI code page.
  if (GetACP() != kAnsiCodePage)
    throw Failure("the ANSI code page is " + std::to_string(GetACP()) +
                  ", the help strings need 936 (under Wine set LC_ALL=zh_CN.UTF-8)");

  DeleteFileW(path.c_str());
  try {
    ComPtr<ITypeLib> stdole = LoadStdOle(syskind, stdoleFile);
    Generate(path, syskind, stdole.Get());
    SetSizesForTarget(path, syskind);
    VerifyWritten(path, syskind);
  } catch (...) {
    DeleteFileW(path.c_str());
    throw;
  }
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) {
    std::fprintf(stderr, "orvex_typelib_gen: cannot read the command line\n");
    return 1;
  }
  int result = 1;
  const HRESULT init = CoInitialize(nullptr);
  try {
    result = Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvex_typelib_gen: %s\n", e.what());
    result = 1;
  }
  if (SUCCEEDED(init)) CoUninitialize();
  LocalFree(argv);
  return result;
}
