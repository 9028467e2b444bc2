// The type library embedded in Orvex.OCX (resource TYPELIB 1), read back item
// by item and compared with the published interface: library attributes, the
// seven type infos in order, every function of ILumivox in table order, the
// control class's interfaces and the enumerations; and its bytes, by SHA-256.
#include <windows.h>
#include <bcrypt.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "control/OrvexTypeLib.h"
#include "tests/win/TestSupport.h"
#include "win/ComSupport.h"
#include "win/TextConversion.h"

namespace {

std::string Utf8(const wchar_t* text) { return text ? WideToUtf8(text) : "(none)"; }

// Name and help string of a type (memid -1) or member, as UTF-8.
struct Doc {
  std::string name, help;
  DWORD context = 0;
};

Doc Documentation(ITypeInfo* info, MEMBERID memid) {
  TBstr name, help;
  Doc doc;
  EXPECT_EQ(info->GetDocumentation(memid, name.Put(), help.Put(), &doc.context, nullptr), S_OK)
      << "memid " << memid;
  doc.name = Utf8(name.Get());
  doc.help = help.Get() && *help.Get() ? Utf8(help.Get()) : "";
  return doc;
}

std::wstring OcxPath() {
  std::wstring path = Utf8ToWide(ORVEX_OCX_PATH);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

// The bytes of the OCX's resource TYPELIB 1; empty if it has none.
std::string EmbeddedLibrary() {
  HMODULE ocx = LoadLibraryExW(OcxPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!ocx) return "";
  std::string bytes;
  if (HRSRC found = FindResourceW(ocx, MAKEINTRESOURCEW(1), L"TYPELIB"))
    bytes.assign(static_cast<const char*>(LockResource(LoadResource(ocx, found))), SizeofResource(ocx, found));
  FreeLibrary(ocx);
  return bytes;
}

// The SHA-256 of the bytes in lower-case hexadecimal.
std::string Sha256(const std::string& bytes) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  UCHAR digest[32] = {};
  const bool ok = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
                  BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0 &&
                  BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                 static_cast<ULONG>(bytes.size()), 0) == 0 &&
                  BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
  if (hash) BCryptDestroyHash(hash);
  if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!ok) return "(no SHA-256)";
  std::string hex;
  for (UCHAR byte : digest) {
    hex += "0123456789abcdef"[byte >> 4];
    hex += "0123456789abcdef"[byte & 0xF];
  }
  return hex;
}

class TypeLibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Help strings are stored in code page 936 and read back through the
    // process's ANSI code page.
    ASSERT_EQ(GetACP(), 936u) << "run under the Chinese code page (scripts/wine-run.sh)";
    ASSERT_EQ(LoadTypeLibEx(OcxPath().c_str(), REGKIND_NONE, lib.Put()), S_OK) << ORVEX_OCX_PATH;
  }

  ComPtr<ITypeInfo> Entry(UINT index) {
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(lib->GetTypeInfo(index, info.Put()), S_OK) << "type info " << index;
    return info;
  }

  ComPtr<ITypeLib> lib;
};

// A referenced type as "library.name" (VT_USERDEFINED) or its automation name.
std::string TypeText(ITypeInfo* from, const TYPEDESC& t) {
  switch (t.vt) {
    case VT_PTR: return TypeText(from, *t.lptdesc) + "*";
    case VT_BSTR: return "BSTR";
    case VT_I4: return "long";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_HRESULT: return "HRESULT";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      if (from->GetRefTypeInfo(t.hreftype, ref.Put()) != S_OK) return "(unresolved)";
      ComPtr<ITypeLib> container;
      UINT index = 0;
      TBstr libName;
      if (ref->GetContainingTypeLib(container.Put(), &index) == S_OK)
        container->GetDocumentation(-1, libName.Put(), nullptr, nullptr, nullptr);
      return Utf8(libName.Get()) + "." + Documentation(ref.Get(), MEMBERID_NIL).name;
    }
    default: return "vt " + std::to_string(t.vt);
  }
}

// The library under test is written for this process's own bitness, or for
// 32 bits when a 64-bit tree reads the shipped file (ORVEX_OCX_BITS). The
// dual interface's table size comes back as stored; slot offsets and the
// dispinterfaces' table sizes in this process's pointer size.
#ifndef ORVEX_OCX_BITS
#define ORVEX_OCX_BITS (8 * sizeof(void*))
#endif
const UINT kPointer = sizeof(void*);
const UINT kLibPointer = ORVEX_OCX_BITS / 8;
const SYSKIND kSyskind = kLibPointer == 8 ? SYS_WIN64 : SYS_WIN32;

// ---------------------------------------------------------------------------
// ILumivox as published, in function-table order.

enum Kind { Get, Put, PutRef, Method, BoolMethod };

struct Row {
  const char* name;
  DISPID id;
  Kind kind;
  const char* type;  // the value's type, as TypeText writes it
  const char* help;
};

const char* const kColor = "stdole.OLE_COLOR";
const char* const kFont = "stdole.Font*";  // the dispinterface stdole2's IFontDisp names
const char* const kBool = "VARIANT_BOOL";

const Row kTable[] = {
    {"MsgColor", -501, Get, kColor, "返回/设置叠加字幕文字颜色"},
    {"MsgColor", -501, Put, kColor, "返回/设置叠加字幕文字颜色"},
    {"MsgFont", -512, Get, kFont, "返回/设置叠加字幕的字体"},
    {"MsgFont", -512, Put, kFont, "返回/设置叠加字幕的字体"},
    {"MsgFont", -512, PutRef, kFont, "返回/设置叠加字幕的字体"},
    {"AboutOrvex", -552, Method, nullptr, "显示版权信息等"},
    {"FileName", 2, Get, "BSTR", "返回/设置即将/正在播放的媒体文件名"},
    {"FileName", 2, Put, "BSTR", "返回/设置即将/正在播放的媒体文件名"},
    {"CloseControl", 4, Method, nullptr, "关闭VOD控件"},
    {"Initialize", 5, BoolMethod, kBool, "初始化控件"},
    {"Open", 6, BoolMethod, kBool, "打开指定的媒体文件准备播放"},
    {"Play", 7, Method, nullptr, "播放打开的媒体文件"},
    {"Pause", 8, Method, nullptr, "暂停正在播放的媒体"},
    {"Close", 9, Method, nullptr, "关闭已经打开的媒体"},
    {"TVTest", 10, Method, nullptr, "辅助TV设置测试"},
    {"Channel", 3, Get, "Orvex.TChannel", "返回/设置声道"},
    {"Channel", 3, Put, "Orvex.TChannel", "返回/设置声道"},
    {"Volume", 11, Get, "long", "返回/设置音量"},
    {"Volume", 11, Put, "long", "返回/设置音量"},
    {"Mute", 12, Get, kBool, "返回/设置静音状态"},
    {"Mute", 12, Put, kBool, "返回/设置静音状态"},
    {"Stop", 13, Method, nullptr, "停止当前正在播放的媒体"},
    {"Message", 14, Get, "BSTR", "返回/设置所要显示的叠加字幕"},
    {"Message", 14, Put, "BSTR", "返回/设置所要显示的叠加字幕"},
    {"DisplayMessage", 15, Method, nullptr, "显示叠加字幕"},
    {"MsgSpeed", 16, Get, "long", "返回/设置叠加字幕移动的速度"},
    {"MsgSpeed", 16, Put, "long", "返回/设置叠加字幕移动的速度"},
    {"MsgLocation", 17, Get, "Orvex.TLocation", "返回/设置叠加字幕出现的位置"},
    {"MsgLocation", 17, Put, "Orvex.TLocation", "返回/设置叠加字幕出现的位置"},
    {"MsgActionStyle", 18, Get, "Orvex.TActionStyle", "返回/设置叠加字幕移动时的动作类型"},
    {"MsgActionStyle", 18, Put, "Orvex.TActionStyle", "返回/设置叠加字幕移动时的动作类型"},
    {"MsgRepeat", 19, Get, "long", "返回/设置叠加字幕显现的次数"},
    {"MsgRepeat", 19, Put, "long", "返回/设置叠加字幕显现的次数"},
    {"MsgInterval", 20, Get, "long", "返回/设置叠加字幕多次显现之间的间隔时间"},
    {"MsgInterval", 20, Put, "long", "返回/设置叠加字幕多次显现之间的间隔时间"},
    {"MsgTransparent", 21, Get, kBool, "返回/设置叠加字幕背景是否透明"},
    {"MsgTransparent", 21, Put, kBool, "返回/设置叠加字幕背景是否透明"},
    {"MsgBackgroundColor", 22, Put, kColor, "设置/返回叠加字幕的背景颜色"},
    {"MediaStatus", 23, Get, "Orvex.TStatus", "返回媒体当前状态"},
    {"MediaLength", 24, Get, "long", "返回当前打开媒体总长度（帧）"},
    {"MediaRate", 26, Get, "long", "返回当前打开媒体帧率"},
    {"MediaPosition", 1, Get, "long", "返回/设置当前媒体播放位置"},
    {"MediaPosition", 1, Put, "long", "返回/设置当前媒体播放位置"},
    {"Logo", 27, Put, "BSTR", "设置显示在第二显示设备上的标识图像"},
};
const UINT kRows = sizeof(kTable) / sizeof(kTable[0]);
static_assert(sizeof(kTable) / sizeof(kTable[0]) == 44, "ILumivox has 44 functions");

// The SHA-256 of the library's bytes as published, per target system: a
// change of the interface above changes it, and is made here on purpose. The
// 32-bit library is the same whichever bitness its writer has.
const char* const kPublishedSha256 =
    kSyskind == SYS_WIN64 ? "bbb5d71598555eb3d9bd69ee6b1e15841fdb40fa9e977726d65fb60d0d4878bd"
                          : "c0577ee396f996064e12a4d07bc0ecaea8c056e6f681b161916a7a2daaf345b9";

INVOKEKIND InvokeKind(Kind kind) {
  switch (kind) {
    case Get: return INVOKE_PROPERTYGET;
    case Put: return INVOKE_PROPERTYPUT;
    case PutRef: return INVOKE_PROPERTYPUTREF;
    default: return INVOKE_FUNC;
  }
}

bool ReturnsValue(Kind kind) { return kind == Get || kind == BoolMethod; }

bool HasGet(DISPID id) {
  for (const Row& row : kTable)
    if (row.id == id && row.kind == Get) return true;
  return false;
}

struct TypeRow {
  const char* name;
  TYPEKIND kind;
  const GUID* guid;
  WORD flags;
  const char* help;
};

// The library's entries. A dual interface is listed by its dispatch half,
// whose attributes drop the OLE-automation flag (it describes the vtable).
const TypeRow kTypes[] = {
    {"ILumivox", TKIND_DISPATCH, &IID_ILumivox, TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE,
     "Dispatch interface for Lumivox Control"},
    {"ILumivoxEvents", TKIND_DISPATCH, &DIID_ILumivoxEvents, TYPEFLAG_FDISPATCHABLE,
     "Events interface for Lumivox Control"},
    {"Lumivox", TKIND_COCLASS, &CLSID_Lumivox, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, "Lumivox Control"},
    {"TChannel", TKIND_ENUM, &GUID_TChannel, 0, ""},
    {"TLocation", TKIND_ENUM, &GUID_TLocation, 0, ""},
    {"TActionStyle", TKIND_ENUM, &GUID_TActionStyle, 0, ""},
    {"TStatus", TKIND_ENUM, &GUID_TStatus, 0, ""},
};

}  // namespace

TEST_F(TypeLibTest, LibraryAttributes) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_Orvex));
  EXPECT_EQ(attr->lcid, 0x409u);
  EXPECT_EQ(attr->syskind, kSyskind);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  // The loader adds "has a disk image" to every library read from a file.
  EXPECT_EQ(attr->wLibFlags, LIBFLAG_FCONTROL | LIBFLAG_FHASDISKIMAGE);
  lib->ReleaseTLibAttr(attr);

  TBstr name, help, helpFile;
  DWORD context = 1;
  ASSERT_EQ(lib->GetDocumentation(-1, name.Put(), help.Put(), &context, helpFile.Put()), S_OK);
  EXPECT_EQ(Utf8(name.Get()), "Orvex");
  EXPECT_EQ(Utf8(help.Get()), "Orvex Lumivox Control 1.0");
  EXPECT_TRUE(!helpFile.Get() || !*helpFile.Get()) << "no help file";
  EXPECT_EQ(context, 0u);

  // No custom data (MIDL and widl would add their version and a time stamp).
  ComPtr<ITypeLib2> lib2;
  ASSERT_EQ(lib.As(&lib2), S_OK);
  CUSTDATA custom = {};
  ASSERT_EQ(lib2->GetAllCustData(&custom), S_OK);
  EXPECT_EQ(custom.cCustData, 0u);
  ClearCustData(&custom);
}

TEST_F(TypeLibTest, SevenTypeInfosInOrder) {
  ASSERT_EQ(lib->GetTypeInfoCount(), 7u);
  for (UINT i = 0; i < 7; ++i) {
    const TypeRow& want = kTypes[i];
    SCOPED_TRACE(std::string("type info ") + std::to_string(i) + " " + want.name);
    TYPEKIND kind;
    ASSERT_EQ(lib->GetTypeInfoType(i, &kind), S_OK);
    EXPECT_EQ(kind, want.kind);
    ComPtr<ITypeInfo> info = Entry(i);
    ASSERT_TRUE(info.Get());
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, want.kind);
    EXPECT_TRUE(IsEqualGUID(attr->guid, *want.guid));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->wTypeFlags, want.flags);
    EXPECT_EQ(attr->lcid, 0x409u);
    info->ReleaseTypeAttr(attr);
    const Doc doc = Documentation(info.Get(), MEMBERID_NIL);
    EXPECT_EQ(doc.name, want.name);
    EXPECT_EQ(doc.help, want.help);
    EXPECT_EQ(doc.context, 0u);
  }
}

TEST_F(TypeLibTest, DualInterfaceHalvesMatchTheCppInterface) {
  ComPtr<ITypeInfo> dispatchHalf = Entry(0), vtableHalf, base;
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatchHalf->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
  ASSERT_EQ(dispatchHalf->GetRefTypeInfo(ref, vtableHalf.Put()), S_OK);

  TYPEATTR* attr = nullptr;
  ASSERT_EQ(vtableHalf->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_ILumivox));
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
  EXPECT_EQ(attr->cFuncs, 44);
  EXPECT_EQ(attr->cVars, 0);
  EXPECT_EQ(attr->cbSizeVft, (7 + 44) * kLibPointer) << "IDispatch's seven slots, then ILumivox's";
  EXPECT_EQ(attr->cImplTypes, 1);
  vtableHalf->ReleaseTypeAttr(attr);
  ASSERT_EQ(dispatchHalf->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->cFuncs, 7 + 44) << "the dispatch half lists IDispatch's functions first";
  EXPECT_EQ(attr->cbSizeVft, 7 * kPointer);
  dispatchHalf->ReleaseTypeAttr(attr);

  // Both derive from stdole2's IDispatch.
  ASSERT_EQ(vtableHalf->GetRefTypeOfImplType(0, &ref), S_OK);
  ASSERT_EQ(vtableHalf->GetRefTypeInfo(ref, base.Put()), S_OK);
  ASSERT_EQ(base->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IDispatch));
  base->ReleaseTypeAttr(attr);
  EXPECT_EQ(Documentation(base.Get(), MEMBERID_NIL).name, "IDispatch");
}

TEST_F(TypeLibTest, FunctionsFollowTheTable) {
  ComPtr<ITypeInfo> dispatchHalf = Entry(0), vtableHalf;
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatchHalf->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
  ASSERT_EQ(dispatchHalf->GetRefTypeInfo(ref, vtableHalf.Put()), S_OK);

  for (UINT i = 0; i < kRows; ++i) {
    const Row& row = kTable[i];
    SCOPED_TRACE("function " + std::to_string(i + 1) + " " + row.name);
    FUNCDESC* fd = nullptr;
    ASSERT_EQ(vtableHalf->GetFuncDesc(i, &fd), S_OK);
    EXPECT_EQ(fd->memid, row.id);
    EXPECT_EQ(fd->invkind, InvokeKind(row.kind));
    EXPECT_EQ(fd->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(fd->callconv, CC_STDCALL);
    EXPECT_EQ(fd->wFuncFlags, 0) << "no function flags";
    EXPECT_EQ(fd->oVft, static_cast<SHORT>((7 + i) * kPointer)) << "slot of the C++ ILumivox";
    EXPECT_EQ(TypeText(vtableHalf.Get(), fd->elemdescFunc.tdesc), "HRESULT");
    EXPECT_EQ(fd->cParamsOpt, 0);
    if (row.kind == Method) {
      EXPECT_EQ(fd->cParams, 0);
    } else if (fd->cParams == 1) {
      const ELEMDESC& p = fd->lprgelemdescParam[0];
      const bool out = ReturnsValue(row.kind);
      EXPECT_EQ(TypeText(vtableHalf.Get(), p.tdesc), std::string(row.type) + (out ? "*" : ""));
      EXPECT_EQ(p.paramdesc.wParamFlags, out ? PARAMFLAG_FOUT | PARAMFLAG_FRETVAL : PARAMFLAG_FIN);
    } else {
      ADD_FAILURE() << fd->cParams << " parameters";
    }
    vtableHalf->ReleaseFuncDesc(fd);

    // Names and help strings are kept per dispatch identifier: a property's
    // get and put share them. The value of a put is unnamed.
    BSTR names[3] = {};
    UINT count = 0;
    EXPECT_EQ(vtableHalf->GetNames(row.id, names, 3, &count), S_OK);
    const TBstr owned[3] = {TBstr::Adopt(names[0]), TBstr::Adopt(names[1]), TBstr::Adopt(names[2])};
    EXPECT_EQ(Utf8(names[0]), row.name);
    if (ReturnsValue(row.kind)) {
      EXPECT_EQ(count, 2u);
      EXPECT_EQ(Utf8(count > 1 ? names[1] : nullptr), "Value");
    } else if (row.kind == Method || !HasGet(row.id)) {
      EXPECT_EQ(count, 1u) << "a method without result and the value of a put are unnamed";
    }
    const Doc doc = Documentation(vtableHalf.Get(), row.id);
    EXPECT_EQ(doc.help, row.help);
    EXPECT_EQ(doc.context, 0u);

    // The dispatch half: the same member after IDispatch's seven, the retval
    // parameter turned into the result.
    ASSERT_EQ(dispatchHalf->GetFuncDesc(7 + i, &fd), S_OK);
    EXPECT_EQ(fd->memid, row.id);
    EXPECT_EQ(fd->invkind, InvokeKind(row.kind));
    EXPECT_EQ(fd->funckind, FUNC_DISPATCH);
    EXPECT_EQ(fd->cParams, ReturnsValue(row.kind) || row.kind == Method ? 0 : 1);
    if (ReturnsValue(row.kind)) {
      EXPECT_EQ(TypeText(dispatchHalf.Get(), fd->elemdescFunc.tdesc), row.type);
    }
    dispatchHalf->ReleaseFuncDesc(fd);
  }
}

TEST_F(TypeLibTest, StdOleTypesAreTheColourAndFontOfOleAutomation) {
  ComPtr<ITypeInfo> dispatchHalf = Entry(0), vtableHalf, color, font;
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatchHalf->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
  ASSERT_EQ(dispatchHalf->GetRefTypeInfo(ref, vtableHalf.Put()), S_OK);
  FUNCDESC* fd = nullptr;
  ASSERT_EQ(vtableHalf->GetFuncDesc(0, &fd), S_OK);  // MsgColor get: OLE_COLOR*
  EXPECT_EQ(vtableHalf->GetRefTypeInfo(fd->lprgelemdescParam[0].tdesc.lptdesc->hreftype, color.Put()), S_OK);
  vtableHalf->ReleaseFuncDesc(fd);
  ASSERT_EQ(vtableHalf->GetFuncDesc(3, &fd), S_OK);  // MsgFont put: Font*
  EXPECT_EQ(vtableHalf->GetRefTypeInfo(fd->lprgelemdescParam[0].tdesc.lptdesc->hreftype, font.Put()), S_OK);
  vtableHalf->ReleaseFuncDesc(fd);
  ASSERT_TRUE(color.Get() && font.Get());

  TYPEATTR* attr = nullptr;
  ASSERT_EQ(color->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_ALIAS);
  EXPECT_EQ(attr->tdescAlias.vt, VT_UI4) << "OLE_COLOR is a 32-bit unsigned value";
  color->ReleaseTypeAttr(attr);
  ASSERT_EQ(font->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IFontDisp));
  font->ReleaseTypeAttr(attr);
}

TEST_F(TypeLibTest, EventInterfaceHasNoMembersOfItsOwn) {
  ComPtr<ITypeInfo> events = Entry(1);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(events->GetTypeAttr(&attr), S_OK);
  const WORD funcs = attr->cFuncs;
  EXPECT_EQ(attr->cVars, 0);
  EXPECT_EQ(attr->cImplTypes, 1);
  EXPECT_EQ(attr->cbSizeVft, 7 * kPointer);
  events->ReleaseTypeAttr(attr);
  // A dispinterface lists the functions of IDispatch it derives from; there
  // must be nothing else.
  const char* const inherited[] = {"QueryInterface", "AddRef", "Release", "GetTypeInfoCount",
                                   "GetTypeInfo", "GetIDsOfNames", "Invoke"};
  ASSERT_EQ(funcs, 7);
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* fd = nullptr;
    ASSERT_EQ(events->GetFuncDesc(i, &fd), S_OK);
    EXPECT_EQ(Documentation(events.Get(), fd->memid).name, inherited[i]);
    events->ReleaseFuncDesc(fd);
  }
}

TEST_F(TypeLibTest, ControlClassImplementsTheInterfaceAndTheEventSource) {
  ComPtr<ITypeInfo> coclass = Entry(2);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->cImplTypes, 2);
  EXPECT_EQ(attr->cFuncs, 0);
  EXPECT_EQ(attr->cVars, 0);
  coclass->ReleaseTypeAttr(attr);
  const struct {
    const char* name;
    int flags;
  } impl[] = {{"ILumivox", IMPLTYPEFLAG_FDEFAULT}, {"ILumivoxEvents", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    SCOPED_TRACE(std::string("implemented type ") + impl[i].name);
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &ref), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(ref, info.Put()), S_OK);
    EXPECT_EQ(Documentation(info.Get(), MEMBERID_NIL).name, impl[i].name);
    INT flags = -1;
    ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
    EXPECT_EQ(flags, impl[i].flags);
  }
}

TEST_F(TypeLibTest, EnumerationValues) {
  const struct {
    UINT index;
    std::vector<std::pair<const char*, LONG>> values;
  } enums[] = {
      {3, {{"cStereo", 0}, {"cLeft", 1}, {"cRight", 2}}},
      {4, {{"lBottom", 0}, {"lMiddle", 1}, {"lTop", 2}}},
      {5, {{"aRightToLeft", 0}, {"aLeftToRight", 1}, {"aStatic", 2}}},
      {6, {{"sNotReady", 0}, {"sPaused", 1}, {"sPlaying", 2}, {"sStopped", 3}}},
  };
  for (const auto& e : enums) {
    ComPtr<ITypeInfo> info = Entry(e.index);
    SCOPED_TRACE(Documentation(info.Get(), MEMBERID_NIL).name);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->cVars, static_cast<WORD>(e.values.size()));
    EXPECT_EQ(attr->cFuncs, 0);
    info->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < e.values.size(); ++i) {
      VARDESC* vd = nullptr;
      ASSERT_EQ(info->GetVarDesc(i, &vd), S_OK);
      const Doc doc = Documentation(info.Get(), vd->memid);
      EXPECT_EQ(doc.name, e.values[i].first);
      EXPECT_EQ(doc.help, "") << doc.name;
      EXPECT_EQ(vd->varkind, VAR_CONST) << doc.name;
      EXPECT_EQ(vd->wVarFlags, 0) << doc.name;
      EXPECT_EQ(vd->elemdescVar.tdesc.vt, VT_I4) << doc.name;
      EXPECT_EQ(V_VT(vd->lpvarValue), VT_I4) << doc.name;
      EXPECT_EQ(V_I4(vd->lpvarValue), e.values[i].second) << doc.name;
      info->ReleaseVarDesc(vd);
    }
  }
}

// The resource itself: the stored header, and the help strings as GBK bytes
// whatever code page the reader uses.
TEST_F(TypeLibTest, StoredHeaderAndCodePage936HelpStrings) {
  const std::string tlb = EmbeddedLibrary();
  ASSERT_GT(tlb.size(), 36u) << "resource TYPELIB 1";
  auto dword = [&](size_t offset) { return *reinterpret_cast<const DWORD*>(tlb.data() + offset); };
  EXPECT_EQ(tlb.substr(0, 4), "MSFT");
  EXPECT_EQ(dword(12), 0x409u) << "locale";
  EXPECT_EQ(dword(20) & 0xF, static_cast<DWORD>(kSyskind)) << "target system";
  EXPECT_EQ(dword(24), 1u) << "version 1.0";
  EXPECT_EQ(dword(28), static_cast<DWORD>(LIBFLAG_FCONTROL)) << "library flags";
  EXPECT_EQ(dword(32), 7u) << "type infos";
  for (const Row& row : kTable) {
    const std::wstring help = Utf8ToWide(row.help);
    char gbk[256] = {};
    const int n = WideCharToMultiByte(936, 0, help.c_str(), -1, gbk, sizeof gbk, nullptr, nullptr);
    ASSERT_GT(n, 1);
    EXPECT_TRUE(tlb.find(std::string(gbk, n - 1)) != std::string::npos)
        << row.name << ": " << row.help << " is not stored in code page 936";
  }
}

// The resource's bytes are the published ones (kPublishedSha256).
TEST_F(TypeLibTest, BytesAreThePublishedOnes) {
  EXPECT_EQ(Sha256(EmbeddedLibrary()), kPublishedSha256)
      << "the type library changed: if the interface changed on purpose, publish the new value";
}

#ifdef ORVEX_WRITTEN_TLB_PATH
// The 32-bit library as this 64-bit tree's writer writes it (the one the
// 32-bit tree embeds where 32-bit programs cannot run): the published bytes
// too, so the shipped file does not depend on the writer's bitness.
TEST(TypeLibWriter, OtherBitnessWritesThePublishedBytes) {
  const std::string written = ReadFileBytes(ORVEX_WRITTEN_TLB_PATH);
  ASSERT_FALSE(written.empty()) << ORVEX_WRITTEN_TLB_PATH;
  EXPECT_EQ(Sha256(written), kPublishedSha256);
}
#endif
