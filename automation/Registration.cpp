#include "automation/Registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <cctype>
#include <cstdio>
#include <vector>

#include "win/RegistryKey.h"
#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

namespace {

const char kProgId[] = "Orvex.Lumivox";
constexpr int kToolboxBitmapId = 100;
constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                              OLEMISC_SETCLIENTSITEFIRST;

struct TVerb {
  const wchar_t* name;
  int number;
  int menuFlags;
  int attributes;
};
const TVerb kVerbs[] = {{L"Properties", 0, 0, OLEVERBATTRIB_ONCONTAINERMENU}};

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

// The module's full file name, or its short form when it holds white space.
std::string RegisteredModulePath(HMODULE module) {
  const std::string path = ModulePath(module);
  bool hasWhiteSpace = false;
  for (char c : path) hasWhiteSpace = hasWhiteSpace || std::isspace(static_cast<unsigned char>(c));
  if (!hasWhiteSpace) return path;
  char shortPath[MAX_PATH + 1] = {};
  GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return WideToAnsi(text);
}

// What registration needs from the library built into the module.
struct TClassRecord {
  std::string clsidText;
  std::string description;
  GUID libid{};
  WORD major = 0;
  WORD minor = 0;
};

HRESULT ReadClassRecord(HMODULE module, TClassRecord& record) {
  const std::wstring path = AnsiToWide(ModulePath(module));
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> coclass;
  hr = library->GetTypeInfoOfGuid(CLSID_Lumivox, coclass.Put());
  if (FAILED(hr)) return hr;
  TBstr doc;
  hr = coclass->GetDocumentation(MEMBERID_NIL, nullptr, doc.Put(), nullptr, nullptr);
  if (FAILED(hr)) return hr;
  record.description = BstrToAnsi(doc.Get());
  TLIBATTR* attr = nullptr;
  hr = library->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  record.libid = attr->guid;
  record.major = attr->wMajorVerNum;
  record.minor = attr->wMinorVerNum;
  library->ReleaseTLibAttr(attr);
  record.clsidText = GuidText(CLSID_Lumivox);
  return S_OK;
}

HRESULT RegisterLibraryFrom(const std::string& path, const std::wstring& helpDir) {
  std::wstring widePath = AnsiToWide(path);
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(hr)) {
    const std::size_t dot = widePath.find_last_of(L'.');
    const std::size_t slash = widePath.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) {
      widePath = widePath.substr(0, dot) + L".tlb";
      hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, library.Put());
    }
    if (FAILED(hr)) return hr;
  }
  std::wstring help = helpDir;
  return RegisterTypeLib(library.Get(), widePath.data(), help.empty() ? nullptr : help.data());
}

std::wstring FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return AnsiToWide(slash == std::string::npos ? std::string() : path.substr(0, slash));
}

// One string value; a null name is the key's default value.
struct TEntry {
  std::string key;
  const char* name;
  std::string data;
};

// The class, its server and its programmatic identifier: written before the
// type library is registered.
std::vector<TEntry> ClassEntries(const TClassRecord& record, const std::string& module) {
  const std::string classKey = "CLSID\\" + record.clsidText;
  char version[32];
  std::snprintf(version, sizeof(version), "%d.%d", record.major, record.minor);
  return {{classKey, nullptr, record.description},
          {classKey + "\\InprocServer32", nullptr, module},
          {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
          {kProgId, nullptr, record.description},
          {std::string(kProgId) + "\\CLSID", nullptr, record.clsidText},
          {classKey + "\\ProgID", nullptr, kProgId},
          {classKey + "\\Version", nullptr, version},
          {classKey + "\\Typelib", nullptr, GuidText(record.libid)}};
}

// What hosts read of a control: status bits, toolbox picture, verbs.
std::vector<TEntry> ControlEntries(const TClassRecord& record, const std::string& module) {
  const std::string classKey = "CLSID\\" + record.clsidText;
  std::vector<TEntry> entries{
      {classKey + "\\MiscStatus", nullptr, "0"},
      {classKey + "\\MiscStatus\\1", nullptr, std::to_string(static_cast<int>(kMiscStatus))},
      {classKey + "\\ToolboxBitmap32", nullptr, module + "," + std::to_string(kToolboxBitmapId)},
      {classKey + "\\Control", nullptr, ""},
      {classKey + "\\Verb", nullptr, ""}};
  for (const TVerb& verb : kVerbs) {
    char text[128];
    std::snprintf(text, sizeof(text), "%ls,%d,%d", verb.name, verb.menuFlags, verb.attributes);
    entries.push_back({classKey + "\\Verb\\" + std::to_string(verb.number), nullptr, text});
  }
  return entries;
}

// Writes the entries in order; false at the first that fails.
bool WriteEntries(const std::vector<TEntry>& entries, const TRegistryWriter& write) {
  for (const TEntry& entry : entries) {
    if (write(entry.key, entry.name, entry.data) != ERROR_SUCCESS) return false;
  }
  return true;
}

void RemoveClassEntries(const TClassRecord& record) {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + record.clsidText).c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + record.clsidText).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, kProgId);
}

}  // namespace

LONG WriteClassesRootValue(const std::string& key, const char* name, const std::string& data) {
  TRegistryKey handle;
  const LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, handle.Put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return RegSetValueExA(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1));
}

HRESULT RegisterLumivox(HMODULE module, const TRegistryWriter& write) {
  TClassRecord record;
  HRESULT hr = ReadClassRecord(module, record);
  if (FAILED(hr)) return hr;
  const std::string path = RegisteredModulePath(module);
  // A class that is only half there would look registered to a host and then
  // fail to load: a failed write leaves none of it.
  const auto writeFailed = [&] {
    RemoveClassEntries(record);
    return SELFREG_E_CLASS;
  };
  if (!WriteEntries(ClassEntries(record, path), write)) return writeFailed();
  std::wstring widePath = AnsiToWide(path);
  ComPtr<ITypeLib> library;
  hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, library.Put());
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), widePath.data(), nullptr);
  if (!WriteEntries(ControlEntries(record, path), write)) return writeFailed();
  if (FAILED(hr)) return hr;
  return RegisterLibraryFrom(path, FolderOf(path));
}

void UnregisterLumivox(HMODULE module) {
  TClassRecord record;
  if (SUCCEEDED(ReadClassRecord(module, record))) RemoveClassEntries(record);
}
