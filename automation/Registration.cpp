#include "automation/Registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "win/RegistryKey.h"
#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

namespace {

const wchar_t kProgId[] = L"Orvex.Lumivox";
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

// The module's file name in wide text, so that a folder whose name the
// ANSI code page cannot write registers all the same.
std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The characters the C library counts as white space in the "C" locale.
bool IsWhiteSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// The module's full file name, or its short form when it holds white space.
std::wstring RegisteredModulePath(HMODULE module) {
  const std::wstring path = ModulePath(module);
  bool hasWhiteSpace = false;
  for (wchar_t c : path) hasWhiteSpace = hasWhiteSpace || IsWhiteSpace(c);
  if (!hasWhiteSpace) return path;
  wchar_t shortPath[MAX_PATH + 1] = {};
  GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// What registration needs from the library built into the module.
struct TClassRecord {
  std::wstring clsidText;
  std::wstring description;
  GUID libid{};
  WORD major = 0;
  WORD minor = 0;
};

HRESULT ReadClassRecord(HMODULE module, TClassRecord& record) {
  const std::wstring path = ModulePath(module);
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> coclass;
  hr = library->GetTypeInfoOfGuid(CLSID_Lumivox, coclass.Put());
  if (FAILED(hr)) return hr;
  TBstr doc;
  hr = coclass->GetDocumentation(MEMBERID_NIL, nullptr, doc.Put(), nullptr, nullptr);
  if (FAILED(hr)) return hr;
  record.description = BstrText(doc.Get());
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

HRESULT RegisterLibraryFrom(const std::wstring& path, const std::wstring& helpDir) {
  std::wstring libraryPath = path;
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(hr)) {
    const std::size_t dot = libraryPath.find_last_of(L'.');
    const std::size_t slash = libraryPath.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) {
      libraryPath = libraryPath.substr(0, dot) + L".tlb";
      hr = LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, library.Put());
    }
    if (FAILED(hr)) return hr;
  }
  std::wstring help = helpDir;
  return RegisterTypeLib(library.Get(), libraryPath.data(), help.empty() ? nullptr : help.data());
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// One string value; a null name is the key's default value.
struct TEntry {
  std::wstring key;
  const wchar_t* name;
  std::wstring data;
};

// The class, its server and its programmatic identifier: written before the
// type library is registered.
std::vector<TEntry> ClassEntries(const TClassRecord& record, const std::wstring& module) {
  const std::wstring classKey = L"CLSID\\" + record.clsidText;
  const std::wstring version = std::to_wstring(record.major) + L"." + std::to_wstring(record.minor);
  return {{classKey, nullptr, record.description},
          {classKey + L"\\InprocServer32", nullptr, module},
          {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
          {kProgId, nullptr, record.description},
          {std::wstring(kProgId) + L"\\CLSID", nullptr, record.clsidText},
          {classKey + L"\\ProgID", nullptr, kProgId},
          {classKey + L"\\Version", nullptr, version},
          {classKey + L"\\Typelib", nullptr, GuidText(record.libid)}};
}

// What hosts read of a control: status bits, toolbox picture, verbs.
std::vector<TEntry> ControlEntries(const TClassRecord& record, const std::wstring& module) {
  const std::wstring classKey = L"CLSID\\" + record.clsidText;
  std::vector<TEntry> entries{
      {classKey + L"\\MiscStatus", nullptr, L"0"},
      {classKey + L"\\MiscStatus\\1", nullptr, std::to_wstring(static_cast<int>(kMiscStatus))},
      {classKey + L"\\ToolboxBitmap32", nullptr,
       module + L"," + std::to_wstring(kToolboxBitmapId)},
      {classKey + L"\\Control", nullptr, L""},
      {classKey + L"\\Verb", nullptr, L""}};
  for (const TVerb& verb : kVerbs) {
    entries.push_back({classKey + L"\\Verb\\" + std::to_wstring(verb.number), nullptr,
                       std::wstring(verb.name) + L"," + std::to_wstring(verb.menuFlags) + L"," +
                           std::to_wstring(verb.attributes)});
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
  const std::wstring classKey = L"CLSID\\" + record.clsidText;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, classKey.c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
}

}  // namespace

LONG WriteClassesRootValue(const std::wstring& key, const wchar_t* name,
                           const std::wstring& data) {
  TRegistryKey handle;
  const LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, handle.Put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return RegSetValueExW(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

HRESULT RegisterLumivox(HMODULE module, const TRegistryWriter& write) {
  TClassRecord record;
  HRESULT hr = ReadClassRecord(module, record);
  if (FAILED(hr)) return hr;
  const std::wstring path = RegisteredModulePath(module);
  // A class that is only half there would look registered to a host and then
  // fail to load: a failed write leaves none of it.
  const auto writeFailed = [&] {
    RemoveClassEntries(record);
    return SELFREG_E_CLASS;
  };
  if (!WriteEntries(ClassEntries(record, path), write)) return writeFailed();
  std::wstring libraryPath = path;  // RegisterTypeLib takes a writable string
  ComPtr<ITypeLib> library;
  hr = LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, library.Put());
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), libraryPath.data(), nullptr);
  if (!WriteEntries(ControlEntries(record, path), write)) return writeFailed();
  if (FAILED(hr)) return hr;
  return RegisterLibraryFrom(path, FolderOf(path));
}

void UnregisterLumivox(HMODULE module) {
  TClassRecord record;
  if (SUCCEEDED(ReadClassRecord(module, record))) RemoveClassEntries(record);
}
