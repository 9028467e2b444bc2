// Writes the IDL of the automation interface for hosts that bind early, from
// the rows of control/LumivoxInterface.def (automation/InterfaceRows.h):
//
//   orvex_idl_gen <output.idl>
//
// A program for the build machine, not for Windows: the build converts its
// UTF-8 output to code page 936 (as the type library stores the help
// strings, and as MIDL reads a file in the system's code page) and compiles
// it with widl into the C and C++ header (cmake/idl.cmake). The library
// hosts load is the one embedded in Orvex.OCX; this file describes the same
// interface in the same order. Exits 0 on success, 1 with a message if the
// file cannot be written.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "automation/InterfaceRows.h"

namespace {

using namespace interface_rows;

std::string Attributes(const Named& type, const char* more) {
  std::string text = std::string("[uuid(") + type.guid + ")";
  if (more) text += std::string(", ") + more;
  return text + ", helpstring(\"" + type.help + "\")]";
}

std::string Versioned(const char* more) {
  std::string text = std::string("version(") + kVersion + ")";
  return more ? text + ", " + more : text;
}

void WriteEnumeration(std::ostream& out, const Enumeration& e) {
  out << "\ntypedef [uuid(" << e.guid << "), " << Versioned(nullptr) << "] enum " << e.name << " {";
  for (size_t i = 0; i < e.values.size(); ++i)
    out << (i ? ", " : " ") << e.values[i].name << " = " << e.values[i].value;
  out << " } " << e.name << ";\n";
}

void WriteFunction(std::ostream& out, const Function& f) {
  static const char* const kAttribute[] = {"propget, ", "propput, ", "propputref, ", "", ""};
  const std::string type = f.type;
  std::string parameter;
  switch (f.invoke) {
    case Invoke::GET:
    case Invoke::METHOD_RESULT: parameter = "[out, retval] " + type + " *Value"; break;
    case Invoke::PUT:
    case Invoke::PUTREF: parameter = "[in] " + type + " Value"; break;
    case Invoke::METHOD: break;
  }
  out << "    [" << kAttribute[static_cast<int>(f.invoke)] << "id(" << f.dispid << "), helpstring(\"" << f.help
      << "\")] HRESULT " << f.name << "(" << parameter << ");\n";
}

std::string Idl() {
  std::ostringstream out;
  out << "// Orvex.idl: the automation interface of Orvex.OCX, for hosts that bind\n"
         "// early. Made from the control's definition when it was built; stored in\n"
         "// code page 936. The type library that hosts load is the one embedded in\n"
         "// Orvex.OCX.\n"
         "\n"
         "import \"oaidl.idl\";\n"
         "import \"ocidl.idl\";\n";
  for (const Enumeration& e : kEnumerations) WriteEnumeration(out, e);

  char locale[16];
  std::snprintf(locale, sizeof locale, "lcid(0x%lX)", static_cast<unsigned long>(kLibrary.locale));
  const std::string library = Versioned(locale) + ", control";
  out << "\n" << Attributes(kLibrary, library.c_str()) << " library " << kLibrary.name << "\n{\n"
      << "  importlib(\"stdole2.tlb\");\n";

  const std::string dual = Versioned("dual, oleautomation");
  out << "\n  " << Attributes(kInterface, dual.c_str()) << " interface " << kInterface.name << " : IDispatch\n  {\n";
  for (const Function& f : kFunctions) WriteFunction(out, f);
  out << "  };\n";

  out << "\n  " << Attributes(kEvents, nullptr) << " dispinterface " << kEvents.name
      << " { properties: methods: };\n";

  const std::string control = Versioned("control");
  out << "\n  " << Attributes(kClass, control.c_str()) << " coclass " << kClass.name << "\n  {\n"
      << "    [default] interface " << kClass.interfaceName << ";\n"
      << "    [default, source] dispinterface " << kClass.eventsName << ";\n"
      << "  };\n"
      << "};\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvex_idl_gen <output.idl>\n");
    return 1;
  }
  std::ofstream file(argv[1], std::ios::binary);
  file << Idl();
  file.close();
  if (!file) {
    std::fprintf(stderr, "orvex_idl_gen: cannot write %s\n", argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
