// The automation interface of control/LumivoxInterface.def as plain data: the
// library, its interface, event interface and class, the enumerations, and
// every function of ILumivox's table in order. Names, GUIDs, types and the
// version stay as the definition writes them; help strings are UTF-8.
//
// Portable (no Windows types), so that the two writers read the same rows:
// the type library writer (automation/TypeLibGen.cpp, a Windows program run
// under Wine) and the IDL writer (automation/IdlGen.cpp, run on the build
// machine).
#pragma once
#include <vector>

#include "win/ControlTypes.h"

namespace interface_rows {

// A library, interface or class: name, GUID (bare, the IDL form), help.
struct Named {
  const char* name;
  const char* guid;
  const char* help;
};

struct Library : Named {
  long locale;
};

// The control class: its default interface and its default source interface.
struct Class : Named {
  const char* interfaceName;
  const char* eventsName;
};

struct Enumerator {
  const char* name;
  long value;
};

struct Enumeration {
  const char* name;
  const char* guid;
  std::vector<Enumerator> values;
};

// How a function of the table is called (the IDL attribute and parameter).
enum class Invoke {
  GET,            // propget, [out, retval] Value
  PUT,            // propput, [in] Value
  PUTREF,         // propputref, [in] Value
  METHOD,         // a method without parameters
  METHOD_RESULT,  // a method returning its result through [out, retval] Value
};

struct Function {
  const char* name;
  long dispid;
  Invoke invoke;
  // The value's type as written: OLE_COLOR, IFontDisp*, BSTR, LONG,
  // VARIANT_BOOL or an enumeration's name; void for a METHOD.
  const char* type;
  const char* help;
};

#define ORVEX_ROWS_TEXT(x) ORVEX_ROWS_TEXT_(x)
#define ORVEX_ROWS_TEXT_(x) #x

#define ORVEX_LIBRARY(name, guid, locale, help) inline const Library kLibrary{{#name, #guid, help}, locale};
#define ORVEX_INTERFACE(name, guid, help) inline const Named kInterface{#name, #guid, help};
#define ORVEX_EVENTS(name, guid, help) inline const Named kEvents{#name, #guid, help};
#define ORVEX_CLASS(name, guid, help, interface, events) \
  inline const Class kClass{{#name, #guid, help}, #interface, #events};
#include "control/LumivoxInterface.def"

// The version of the library and of every type in it, "major.minor".
inline const char kVersion[] = ORVEX_ROWS_TEXT(ORVEX_VERSION);

#define ORVEX_ROWS_ENUMERATOR(name, value) {#name, value},
inline const Enumeration kEnumerations[] = {
#define ORVEX_ENUM(name, guid, enumerators) {#name, #guid, {enumerators(ORVEX_ROWS_ENUMERATOR)}},
#include "control/LumivoxInterface.def"
};
#undef ORVEX_ROWS_ENUMERATOR

inline const Function kFunctions[] = {
#define ORVEX_FUNCTION(name, dispid, invoke, type, help) {#name, dispid, Invoke::invoke, #type, help},
#include "control/LumivoxInterface.def"
};

#undef ORVEX_ROWS_TEXT
#undef ORVEX_ROWS_TEXT_

}  // namespace interface_rows
