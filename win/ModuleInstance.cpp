#include "win/ModuleInstance.h"

#include <string>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ModuleInstance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

namespace {
std::vector<std::string>& RegisteredClasses() {
  static std::vector<std::string> names;
  return names;
}
}  // namespace

void EnsureWindowClass(const char* name, WNDPROC proc, HBRUSH background, UINT style) {
  WNDCLASSA wc{};
  if (GetClassInfoA(ModuleInstance(), name, &wc)) return;
  wc = WNDCLASSA{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (RegisterClassA(&wc)) RegisteredClasses().push_back(name);
}

void UnregisterWindowClasses() {
  for (const std::string& name : RegisteredClasses()) UnregisterClassA(name.c_str(), ModuleInstance());
  RegisteredClasses().clear();
}
