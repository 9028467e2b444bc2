// Writes the Orvex type library item by item through ICreateTypeLib2:
//
//   orvex_typelib_gen <output.tlb> <win32|win64> [stdole2.tlb]
//
// The second argument is the target system of the library: win32 for the
// 32-bit OCX, win64 for the x86_64 build (its vtable offsets count 8-byte
// pointers). A library for the other pointer size than the generator's own
// needs that system's stdole2.tlb as third argument (see LoadStdOle).
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

#include "control/OrvexTypeLib.h"

namespace {

// The OLE Automation standard library (stdole2.tlb), version 2.0.
constexpr GUID kLibidStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr UINT kAnsiCodePage = 936;
const char kLibraryHelp[] = "Orvex Lumivox Control 1.0";

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

std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  if (n <= 0) throw Failure(std::string("invalid UTF-8 text: ") + utf8);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &out[0], n);
  out.resize(n - 1);
  return out;
}

// Owns one COM reference.
template <typename T>
class Ref {
 public:
  Ref() = default;
  Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() { Reset(); }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** Out() {
    Reset();
    return &p_;
  }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// ---------------------------------------------------------------------------
// The members of ILumivox in function-table order.

enum class Kind {
  Get,          // propget, [out, retval] Value
  Put,          // propput, [in] value
  PutRef,       // propputref, [in] value
  Method,       // method without parameters
  BoolMethod,   // method returning VARIANT_BOOL through [out, retval] Value
};

enum class Type { None, Color, Font, Text, Long, Bool, Channel, Location, ActionStyle, Status };

struct Member {
  const char* name;
  DISPID id;
  Kind kind;
  Type type;
  const char* help;
};

const Member kMembers[] = {
    {"MsgColor", DISPID_LUMIVOX_MSGCOLOR, Kind::Get, Type::Color, "返回/设置叠加字幕文字颜色"},
    {"MsgColor", DISPID_LUMIVOX_MSGCOLOR, Kind::Put, Type::Color, "返回/设置叠加字幕文字颜色"},
    {"MsgFont", DISPID_LUMIVOX_MSGFONT, Kind::Get, Type::Font, "返回/设置叠加字幕的字体"},
    {"MsgFont", DISPID_LUMIVOX_MSGFONT, Kind::Put, Type::Font, "返回/设置叠加字幕的字体"},
    {"MsgFont", DISPID_LUMIVOX_MSGFONT, Kind::PutRef, Type::Font, "返回/设置叠加字幕的字体"},
    {"AboutOrvex", DISPID_LUMIVOX_ABOUT, Kind::Method, Type::None, "显示版权信息等"},
    {"FileName", DISPID_LUMIVOX_FILENAME, Kind::Get, Type::Text, "返回/设置即将/正在播放的媒体文件名"},
    {"FileName", DISPID_LUMIVOX_FILENAME, Kind::Put, Type::Text, "返回/设置即将/正在播放的媒体文件名"},
    {"CloseControl", DISPID_LUMIVOX_CLOSECONTROL, Kind::Method, Type::None, "关闭VOD控件"},
    {"Initialize", DISPID_LUMIVOX_INITIALIZE, Kind::BoolMethod, Type::Bool, "初始化控件"},
    {"Open", DISPID_LUMIVOX_OPEN, Kind::BoolMethod, Type::Bool, "打开指定的媒体文件准备播放"},
    {"Play", DISPID_LUMIVOX_PLAY, Kind::Method, Type::None, "播放打开的媒体文件"},
    {"Pause", DISPID_LUMIVOX_PAUSE, Kind::Method, Type::None, "暂停正在播放的媒体"},
    {"Close", DISPID_LUMIVOX_CLOSE, Kind::Method, Type::None, "关闭已经打开的媒体"},
    {"TVTest", DISPID_LUMIVOX_TVTEST, Kind::Method, Type::None, "辅助TV设置测试"},
    {"Channel", DISPID_LUMIVOX_CHANNEL, Kind::Get, Type::Channel, "返回/设置声道"},
    {"Channel", DISPID_LUMIVOX_CHANNEL, Kind::Put, Type::Channel, "返回/设置声道"},
    {"Volume", DISPID_LUMIVOX_VOLUME, Kind::Get, Type::Long, "返回/设置音量"},
    {"Volume", DISPID_LUMIVOX_VOLUME, Kind::Put, Type::Long, "返回/设置音量"},
    {"Mute", DISPID_LUMIVOX_MUTE, Kind::Get, Type::Bool, "返回/设置静音状态"},
    {"Mute", DISPID_LUMIVOX_MUTE, Kind::Put, Type::Bool, "返回/设置静音状态"},
    {"Stop", DISPID_LUMIVOX_STOP, Kind::Method, Type::None, "停止当前正在播放的媒体"},
    {"Message", DISPID_LUMIVOX_MESSAGE, Kind::Get, Type::Text, "返回/设置所要显示的叠加字幕"},
    {"Message", DISPID_LUMIVOX_MESSAGE, Kind::Put, Type::Text, "返回/设置所要显示的叠加字幕"},
    {"DisplayMessage", DISPID_LUMIVOX_DISPLAYMESSAGE, Kind::Method, Type::None, "显示叠加字幕"},
    {"MsgSpeed", DISPID_LUMIVOX_MSGSPEED, Kind::Get, Type::Long, "返回/设置叠加字幕移动的速度"},
    {"MsgSpeed", DISPID_LUMIVOX_MSGSPEED, Kind::Put, Type::Long, "返回/设置叠加字幕移动的速度"},
    {"MsgLocation", DISPID_LUMIVOX_MSGLOCATION, Kind::Get, Type::Location, "返回/设置叠加字幕出现的位置"},
    {"MsgLocation", DISPID_LUMIVOX_MSGLOCATION, Kind::Put, Type::Location, "返回/设置叠加字幕出现的位置"},
    {"MsgActionStyle", DISPID_LUMIVOX_MSGACTIONSTYLE, Kind::Get, Type::ActionStyle,
     "返回/设置叠加字幕移动时的动作类型"},
    {"MsgActionStyle", DISPID_LUMIVOX_MSGACTIONSTYLE, Kind::Put, Type::ActionStyle,
     "返回/设置叠加字幕移动时的动作类型"},
    {"MsgRepeat", DISPID_LUMIVOX_MSGREPEAT, Kind::Get, Type::Long, "返回/设置叠加字幕显现的次数"},
    {"MsgRepeat", DISPID_LUMIVOX_MSGREPEAT, Kind::Put, Type::Long, "返回/设置叠加字幕显现的次数"},
    {"MsgInterval", DISPID_LUMIVOX_MSGINTERVAL, Kind::Get, Type::Long, "返回/设置叠加字幕多次显现之间的间隔时间"},
    {"MsgInterval", DISPID_LUMIVOX_MSGINTERVAL, Kind::Put, Type::Long, "返回/设置叠加字幕多次显现之间的间隔时间"},
    {"MsgTransparent", DISPID_LUMIVOX_MSGTRANSPARENT, Kind::Get, Type::Bool, "返回/设置叠加字幕背景是否透明"},
    {"MsgTransparent", DISPID_LUMIVOX_MSGTRANSPARENT, Kind::Put, Type::Bool, "返回/设置叠加字幕背景是否透明"},
    {"MsgBackgroundColor", DISPID_LUMIVOX_MSGBACKGROUNDCOLOR, Kind::Put, Type::Color, "设置/返回叠加字幕的背景颜色"},
    {"MediaStatus", DISPID_LUMIVOX_MEDIASTATUS, Kind::Get, Type::Status, "返回媒体当前状态"},
    {"MediaLength", DISPID_LUMIVOX_MEDIALENGTH, Kind::Get, Type::Long, "返回当前打开媒体总长度（帧）"},
    {"MediaRate", DISPID_LUMIVOX_MEDIARATE, Kind::Get, Type::Long, "返回当前打开媒体帧率"},
    {"MediaPosition", DISPID_LUMIVOX_MEDIAPOSITION, Kind::Get, Type::Long, "返回/设置当前媒体播放位置"},
    {"MediaPosition", DISPID_LUMIVOX_MEDIAPOSITION, Kind::Put, Type::Long, "返回/设置当前媒体播放位置"},
    {"Logo", DISPID_LUMIVOX_LOGO, Kind::Put, Type::Text, "设置显示在第二显示设备上的标识图像"},
};
static_assert(sizeof(kMembers) / sizeof(kMembers[0]) == 44, "ILumivox has 44 functions");

struct Enumerator {
  const char* name;
  LONG value;
};

struct Enumeration {
  const char* name;
  const GUID* guid;
  std::vector<Enumerator> values;
};

const Enumeration kEnumerations[] = {
    {"TChannel", &GUID_TChannel, {{"cStereo", cStereo}, {"cLeft", cLeft}, {"cRight", cRight}}},
    {"TLocation", &GUID_TLocation, {{"lBottom", lBottom}, {"lMiddle", lMiddle}, {"lTop", lTop}}},
    {"TActionStyle", &GUID_TActionStyle,
     {{"aRightToLeft", aRightToLeft}, {"aLeftToRight", aLeftToRight}, {"aStatic", aStatic}}},
    {"TStatus", &GUID_TStatus,
     {{"sNotReady", sNotReady}, {"sPaused", sPaused}, {"sPlaying", sPlaying}, {"sStopped", sStopped}}},
};

// ---------------------------------------------------------------------------

constexpr UINT kDispatchSlots = 7;  // IUnknown's three and IDispatch's four
constexpr UINT kFunctionCount = sizeof(kMembers) / sizeof(kMembers[0]);

UINT PointerSize(SYSKIND syskind) { return syskind == SYS_WIN64 ? 8 : 4; }

// The type references ILumivox's parameters need, as seen from ILumivox.
struct TypeRefs {
  HREFTYPE color = 0;  // stdole2's OLE_COLOR
  HREFTYPE font = 0;   // stdole2's Font, the dispinterface IFontDisp names
  HREFTYPE channel = 0, location = 0, actionStyle = 0, status = 0;
};

// A parameter type: the value type, behind one more pointer for [out].
// The TYPEDESCs point into their own storage, so the object must stay put.
struct ParamType {
  TYPEDESC chain[3] = {};
  TYPEDESC* top = nullptr;

  ParamType(Type type, bool out, const TypeRefs& refs) {
    TYPEDESC* value = &chain[2];
    switch (type) {
      case Type::Color: value->vt = VT_USERDEFINED; value->hreftype = refs.color; break;
      case Type::Text: value->vt = VT_BSTR; break;
      case Type::Long: value->vt = VT_I4; break;
      case Type::Bool: value->vt = VT_BOOL; break;
      case Type::Channel: value->vt = VT_USERDEFINED; value->hreftype = refs.channel; break;
      case Type::Location: value->vt = VT_USERDEFINED; value->hreftype = refs.location; break;
      case Type::ActionStyle: value->vt = VT_USERDEFINED; value->hreftype = refs.actionStyle; break;
      case Type::Status: value->vt = VT_USERDEFINED; value->hreftype = refs.status; break;
      case Type::Font:
        // The font object is always passed by pointer.
        value->vt = VT_USERDEFINED;
        value->hreftype = refs.font;
        chain[1].vt = VT_PTR;
        chain[1].lptdesc = value;
        value = &chain[1];
        break;
      case Type::None: throw Failure("a parameter without a type");
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

Ref<ITypeInfo> AsTypeInfo(ICreateTypeInfo* created, const std::string& what) {
  Ref<ITypeInfo> info;
  Check(created->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(info.Out())),
        "QueryInterface ITypeInfo of " + what);
  return info;
}

// A type of stdole2 by name, checked for its kind and GUID.
Ref<ITypeInfo> StdOleType(ITypeLib* stdole, const wchar_t* name, TYPEKIND kind, const GUID& guid) {
  char narrow[64];
  WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
  Ref<ITypeInfo> info;
  const UINT count = stdole->GetTypeInfoCount();
  for (UINT i = 0; i < count && !info.Get(); ++i) {
    BSTR found = nullptr;
    if (FAILED(stdole->GetDocumentation(i, &found, nullptr, nullptr, nullptr))) continue;
    if (found && lstrcmpW(found, name) == 0) Check(stdole->GetTypeInfo(i, info.Out()), "stdole2 GetTypeInfo");
    SysFreeString(found);
  }
  if (!info.Get()) throw Failure(std::string("stdole2 has no type ") + narrow);
  TYPEATTR* attr = nullptr;
  Check(info->GetTypeAttr(&attr), std::string("stdole2 GetTypeAttr ") + narrow);
  const bool ok = attr->typekind == kind && IsEqualGUID(attr->guid, guid);
  info->ReleaseTypeAttr(attr);
  if (!ok) throw Failure(std::string("stdole2's ") + narrow + " is not the expected type");
  return info;
}

void Describe(ICreateTypeInfo* info, const GUID& guid, const char* help, const std::string& what) {
  Check(info->SetGuid(guid), "SetGuid " + what);
  Check(info->SetVersion(kOrvexLibMajor, kOrvexLibMinor), "SetVersion " + what);
  if (help) Check(info->SetDocString(const_cast<LPOLESTR>(Wide(help).c_str())), "SetDocString " + what);
}

void AddFunction(ICreateTypeInfo* info, UINT index, const Member& m, const TypeRefs& refs, UINT pointerSize) {
  const std::string what = "ILumivox function " + std::to_string(index + 1) + " (" + m.name + ")";
  FUNCDESC fd = {};
  fd.memid = m.id;
  fd.funckind = FUNC_PUREVIRTUAL;
  fd.callconv = CC_STDCALL;
  fd.elemdescFunc.tdesc.vt = VT_HRESULT;
  fd.wFuncFlags = 0;
  // The slot in the C++ ILumivox: after IDispatch's seven, in table order.
  fd.oVft = static_cast<SHORT>((kDispatchSlots + index) * pointerSize);
  switch (m.kind) {
    case Kind::Get: fd.invkind = INVOKE_PROPERTYGET; break;
    case Kind::Put: fd.invkind = INVOKE_PROPERTYPUT; break;
    case Kind::PutRef: fd.invkind = INVOKE_PROPERTYPUTREF; break;
    case Kind::Method:
    case Kind::BoolMethod: fd.invkind = INVOKE_FUNC; break;
  }

  ELEMDESC param = {};
  std::optional<ParamType> type;
  const bool out = m.kind == Kind::Get || m.kind == Kind::BoolMethod;
  if (m.kind != Kind::Method) {
    type.emplace(m.type, out, refs);
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
  const UINT nameCount = (m.kind == Kind::Get || m.kind == Kind::BoolMethod) ? 2 : 1;
  Check(info->SetFuncAndParamNames(index, names, nameCount), "SetFuncAndParamNames " + what);
  Check(info->SetFuncDocString(index, const_cast<LPOLESTR>(Wide(m.help).c_str())),
        "SetFuncDocString " + what);
}

void AddEnumeration(ICreateTypeInfo* info, const Enumeration& e) {
  const std::string what = e.name;
  Describe(info, *e.guid, nullptr, what);
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
Ref<ITypeLib> LoadStdOle(SYSKIND syskind, const std::wstring& file) {
  Ref<ITypeLib> stdole;
  const SYSKIND own = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  if (!file.empty()) {
    Check(LoadTypeLibEx(file.c_str(), REGKIND_NONE, stdole.Out()), "LoadTypeLibEx of the given stdole2");
  } else if (syskind == own) {
    Check(LoadRegTypeLib(kLibidStdOle, 2, 0, LOCALE_NEUTRAL, stdole.Out()), "LoadRegTypeLib stdole2");
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
  Ref<ICreateTypeLib2> lib;
  Check(CreateTypeLib2(syskind, path.c_str(), lib.Out()), "CreateTypeLib2");
  Check(lib->SetName(const_cast<LPOLESTR>(L"Orvex")), "SetName library");
  Check(lib->SetGuid(LIBID_Orvex), "SetGuid library");
  Check(lib->SetLcid(kOrvexLibLcid), "SetLcid library");
  Check(lib->SetVersion(kOrvexLibMajor, kOrvexLibMinor), "SetVersion library");
  Check(lib->SetLibFlags(LIBFLAG_FCONTROL), "SetLibFlags library");
  Check(lib->SetDocString(const_cast<LPOLESTR>(Wide(kLibraryHelp).c_str())), "SetDocString library");

  Ref<ITypeInfo> dispatch;
  Check(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.Out()), "stdole2 IDispatch");
  Ref<ITypeInfo> oleColor = StdOleType(stdole, L"OLE_COLOR", TKIND_ALIAS, GUID{0x66504301, 0xBE0F, 0x101A,
                                       {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}});
  // IFontDisp is stdole2's alias of the dispinterface Font. The writer records
  // imported types by GUID only, and the alias has none in Wine's stdole2: a
  // reference to it reads back as stdole2's first GUID-less type (the GUID
  // record). Font itself is the same type under IID_IFontDisp and resolves
  // everywhere.
  Ref<ITypeInfo> font = StdOleType(stdole, L"Font", TKIND_DISPATCH, IID_IFontDisp);

  // The seven type infos are created first, in library order, so that they
  // can refer to each other while being filled.
  Ref<ICreateTypeInfo> lumivox, events, coclass, enums[4];
  Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"ILumivox"), TKIND_INTERFACE, lumivox.Out()),
        "CreateTypeInfo ILumivox");
  Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"ILumivoxEvents"), TKIND_DISPATCH, events.Out()),
        "CreateTypeInfo ILumivoxEvents");
  Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"Lumivox"), TKIND_COCLASS, coclass.Out()),
        "CreateTypeInfo Lumivox");
  for (int i = 0; i < 4; ++i)
    Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(Wide(kEnumerations[i].name).c_str()), TKIND_ENUM,
                              enums[i].Out()),
          std::string("CreateTypeInfo ") + kEnumerations[i].name);

  for (int i = 0; i < 4; ++i) AddEnumeration(enums[i].Get(), kEnumerations[i]);

  // ILumivox: created as an interface deriving from IDispatch and marked
  // dual; the library then lists its dispatch half (TKIND_DISPATCH, dual),
  // whose GetRefTypeOfImplType(-1) gives this vtable half. IDispatch is
  // referenced before the dual flag is set, so that the reference comes from
  // the target system's stdole2 (SetTypeFlags would add this process's).
  Describe(lumivox.Get(), IID_ILumivox, "Dispatch interface for Lumivox Control", "ILumivox");
  Check(lumivox->AddImplType(0, AddRef(lumivox.Get(), dispatch.Get(), "IDispatch into ILumivox")),
        "AddImplType ILumivox");
  Check(lumivox->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE),
        "SetTypeFlags ILumivox");
  TypeRefs refs;
  refs.color = AddRef(lumivox.Get(), oleColor.Get(), "OLE_COLOR");
  refs.font = AddRef(lumivox.Get(), font.Get(), "Font");
  HREFTYPE* enumRefs[4] = {&refs.channel, &refs.location, &refs.actionStyle, &refs.status};
  for (int i = 0; i < 4; ++i)
    *enumRefs[i] = AddRef(lumivox.Get(), AsTypeInfo(enums[i].Get(), kEnumerations[i].name).Get(),
                          kEnumerations[i].name);
  for (UINT i = 0; i < kFunctionCount; ++i) AddFunction(lumivox.Get(), i, kMembers[i], refs, pointerSize);
  Check(lumivox->LayOut(), "LayOut ILumivox");

  // ILumivoxEvents: the control raises no events; the interface is empty.
  Describe(events.Get(), DIID_ILumivoxEvents, "Events interface for Lumivox Control", "ILumivoxEvents");
  Check(events->AddImplType(0, AddRef(events.Get(), dispatch.Get(), "IDispatch into ILumivoxEvents")),
        "AddImplType ILumivoxEvents");
  Check(events->SetTypeFlags(TYPEFLAG_FDISPATCHABLE), "SetTypeFlags ILumivoxEvents");
  Check(events->LayOut(), "LayOut ILumivoxEvents");

  // Lumivox: the control class. Its flags are set last: AddImplType marks
  // the class dispatchable when the interface's type reference happens to
  // equal IDispatch's in the bits the writer compares (both are 0 here).
  Describe(coclass.Get(), CLSID_Lumivox, "Lumivox Control", "Lumivox");
  Check(coclass->AddImplType(0, AddRef(coclass.Get(), AsTypeInfo(lumivox.Get(), "ILumivox").Get(), "ILumivox")),
        "AddImplType Lumivox 0");
  Check(coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags Lumivox 0");
  Check(coclass->AddImplType(1, AddRef(coclass.Get(), AsTypeInfo(events.Get(), "ILumivoxEvents").Get(),
                                       "ILumivoxEvents")),
        "AddImplType Lumivox 1");
  Check(coclass->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE), "SetImplTypeFlags Lumivox 1");
  Check(coclass->SetTypeFlags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), "SetTypeFlags Lumivox");
  Check(coclass->LayOut(), "LayOut Lumivox");

  Check(lib->SaveAllChanges(), "SaveAllChanges");
}

// Loads the written library back and checks what could silently go wrong:
// the texts that pass through the ANSI code page, and ILumivox's vtable size.
void VerifyWritten(const std::wstring& path, SYSKIND syskind) {
  Ref<ITypeLib> lib;
  Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.Out()), "LoadTypeLibEx of the written library");
  BSTR help = nullptr;
  Check(lib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr), "GetDocumentation library");
  const bool libOk = help && Wide(kLibraryHelp) == help;
  SysFreeString(help);
  if (!libOk) throw Failure("the library's help string does not read back");

  Ref<ITypeInfo> info, iface;
  Check(lib->GetTypeInfoOfGuid(IID_ILumivox, info.Out()), "GetTypeInfoOfGuid ILumivox");
  HREFTYPE vtableHalf = 0;
  Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableHalf), "GetRefTypeOfImplType(-1) ILumivox");
  Check(info->GetRefTypeInfo(vtableHalf, iface.Out()), "GetRefTypeInfo ILumivox interface");
  TYPEATTR* attr = nullptr;
  Check(iface->GetTypeAttr(&attr), "GetTypeAttr ILumivox interface");
  const bool sizeOk = attr->cFuncs == kFunctionCount &&
                      attr->cbSizeVft == (kDispatchSlots + kFunctionCount) * PointerSize(syskind);
  iface->ReleaseTypeAttr(attr);
  if (!sizeOk) throw Failure("ILumivox's vtable does not have IDispatch's seven slots and its 44 functions");

  for (UINT i = 0; i < kFunctionCount; ++i) {
    BSTR doc = nullptr;
    Check(iface->GetDocumentation(kMembers[i].id, nullptr, &doc, nullptr, nullptr),
          std::string("GetDocumentation ") + kMembers[i].name);
    const bool ok = doc && Wide(kMembers[i].help) == doc;
    SysFreeString(doc);
    if (!ok) throw Failure(std::string("the help string of ") + kMembers[i].name + " does not read back");
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
    Ref<ITypeLib> stdole = LoadStdOle(syskind, stdoleFile);
    Generate(path, syskind, stdole.Get());
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
