// The identifiers of the Orvex type library and the dual interface ILumivox as
// C++ sees it, all made from control/LumivoxInterface.def. The function table
// order is part of the contract with hosts.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/ControlTypes.h"

// A GUID from its text form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", at
// compile time: a malformed one does not compile.
constexpr unsigned OrvexHexDigit(char c) {
  return c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
         : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
         : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                                : throw "not a hexadecimal digit";
}
constexpr unsigned long OrvexHex(const char* text, int digits) {
  unsigned long value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + OrvexHexDigit(text[i]);
  return value;
}
constexpr GUID OrvexGuid(const char (&t)[37]) {
  if (t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-') throw "not a GUID";
  auto byte = [&t](int at) { return static_cast<unsigned char>(OrvexHex(t + at, 2)); };
  return GUID{OrvexHex(t, 8),
              static_cast<unsigned short>(OrvexHex(t + 9, 4)),
              static_cast<unsigned short>(OrvexHex(t + 14, 4)),
              {byte(19), byte(21), byte(24), byte(26), byte(28), byte(30), byte(32), byte(34)}};
}
// The major or minor number of a version written "major.minor".
constexpr WORD OrvexVersionPart(const char* text, bool minor) {
  while (minor && *text != '.') ++text;
  if (minor) ++text;
  WORD value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = static_cast<WORD>(value * 10 + (*text - '0'));
  return value;
}

#define ORVEX_TEXT(x) ORVEX_TEXT_(x)
#define ORVEX_TEXT_(x) #x
#define ORVEX_LIBRARY(name, guid, locale, help)                      \
  inline constexpr GUID LIBID_##name = OrvexGuid(#guid);             \
  inline constexpr LCID kOrvexLibLcid = locale;                      \
  inline constexpr char kOrvexLibHelp[] = help;
#define ORVEX_INTERFACE(name, guid, help) inline constexpr GUID IID_##name = OrvexGuid(#guid);
#define ORVEX_EVENTS(name, guid, help) inline constexpr GUID DIID_##name = OrvexGuid(#guid);
#define ORVEX_CLASS(name, guid, help, interface, events) inline constexpr GUID CLSID_##name = OrvexGuid(#guid);
#define ORVEX_ENUM(name, guid, enumerators) inline constexpr GUID GUID_##name = OrvexGuid(#guid);
#include "control/LumivoxInterface.def"

inline constexpr WORD kOrvexLibMajor = OrvexVersionPart(ORVEX_TEXT(ORVEX_VERSION), false);
inline constexpr WORD kOrvexLibMinor = OrvexVersionPart(ORVEX_TEXT(ORVEX_VERSION), true);

// Dispatch identifiers of ILumivox, by member name.
namespace LumivoxDispid {
enum : DISPID {
#define ORVEX_MEMBER(name, dispid, kind, type, help) name = dispid,
#include "control/LumivoxInterface.def"
};
}  // namespace LumivoxDispid

// One C++ declaration per function of the table, between a prefix and a
// suffix: ORVEX_LUMIVOX_DECLARE_##invoke(name, type, prefix, suffix).
#define ORVEX_LUMIVOX_DECLARE_GET(name, type, prefix, suffix) prefix get_##name(type* Value) suffix;
#define ORVEX_LUMIVOX_DECLARE_PUT(name, type, prefix, suffix) prefix put_##name(type Value) suffix;
#define ORVEX_LUMIVOX_DECLARE_PUTREF(name, type, prefix, suffix) prefix putref_##name(type Value) suffix;
#define ORVEX_LUMIVOX_DECLARE_METHOD(name, type, prefix, suffix) prefix name() suffix;
#define ORVEX_LUMIVOX_DECLARE_METHOD_RESULT(name, type, prefix, suffix) prefix name(type* Value) suffix;

// The dual interface, in function-table order after IDispatch's seven.
struct ILumivox : public IDispatch {
#define ORVEX_FUNCTION(name, dispid, invoke, type, help) \
  ORVEX_LUMIVOX_DECLARE_##invoke(name, type, virtual HRESULT STDMETHODCALLTYPE, = 0)
#include "control/LumivoxInterface.def"
};

// __uuidof(ILumivox) is IID_ILumivox, so that typed queries and creation calls
// (ComPtr::As, IID_PPV_ARGS) take the identifier from the pointer's type.
#ifdef _MSC_VER
#define ORVEX_INTERFACE(name, guid, help) struct __declspec(uuid(#guid)) name;
#else
#define ORVEX_INTERFACE(name, guid, help)                                                  \
  __CRT_UUID_DECL(name, IID_##name.Data1, IID_##name.Data2, IID_##name.Data3,              \
                  IID_##name.Data4[0], IID_##name.Data4[1], IID_##name.Data4[2],           \
                  IID_##name.Data4[3], IID_##name.Data4[4], IID_##name.Data4[5],           \
                  IID_##name.Data4[6], IID_##name.Data4[7])
#endif
#include "control/LumivoxInterface.def"
