#include "automation/Registration.h"

#include <oleauto.h>

#include <cctype>
#include <cstdio>
#include <vector>

#include "win/ModuleInstance.h"
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

std::string FullModulePath() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(ModuleInstance(), path, MAX_PATH);
  return path;
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  char ansi[40] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof(ansi), nullptr, nullptr);
  return ansi;
}

// Writes a string value, creating the key; failures are not reported.
void WriteValue(const std::string& key, const char* name, const std::string& data) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(handle);
}

// What registration needs from the library built into the module.
struct TClassRecord {
  std::string clsidText;
  std::string description;
  GUID libid{};
  WORD major = 0;
  WORD minor = 0;
};

HRESULT ReadClassRecord(TClassRecord& record) {
  const std::wstring path = AnsiToWide(FullModulePath());
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> coclass;
  hr = library->GetTypeInfoOfGuid(CLSID_Lumivox, coclass.Put());
  if (FAILED(hr)) return hr;
  BSTR doc = nullptr;
  hr = coclass->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr);
  if (FAILED(hr)) return hr;
  record.description = BstrToAnsi(doc);
  SysFreeString(doc);
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

}  // namespace

std::string RegisteredModulePath() {
  const std::string path = FullModulePath();
  bool hasWhiteSpace = false;
  for (char c : path) hasWhiteSpace = hasWhiteSpace || std::isspace(static_cast<unsigned char>(c));
  if (!hasWhiteSpace) return path;
  char shortPath[MAX_PATH + 1] = {};
  GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

HRESULT RegisterLumivox() {
  TClassRecord record;
  HRESULT hr = ReadClassRecord(record);
  if (FAILED(hr)) return hr;
  const std::string module = RegisteredModulePath();
  const std::string classKey = "CLSID\\" + record.clsidText;
  char version[32];
  std::snprintf(version, sizeof(version), "%d.%d", record.major, record.minor);

  WriteValue(classKey, nullptr, record.description);
  WriteValue(classKey + "\\InprocServer32", nullptr, module);
  WriteValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
  WriteValue(kProgId, nullptr, record.description);
  WriteValue(std::string(kProgId) + "\\CLSID", nullptr, record.clsidText);
  WriteValue(classKey + "\\ProgID", nullptr, kProgId);
  WriteValue(classKey + "\\Version", nullptr, version);
  WriteValue(classKey + "\\Typelib", nullptr, GuidText(record.libid));

  std::wstring widePath = AnsiToWide(module);
  ComPtr<ITypeLib> library;
  hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, library.Put());
  if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), widePath.data(), nullptr);

  char number[32];
  std::snprintf(number, sizeof(number), "%d", static_cast<int>(kMiscStatus));
  WriteValue(classKey + "\\MiscStatus", nullptr, "0");
  WriteValue(classKey + "\\MiscStatus\\1", nullptr, number);
  WriteValue(classKey + "\\ToolboxBitmap32", nullptr,
             module + "," + std::to_string(kToolboxBitmapId));
  WriteValue(classKey + "\\Control", nullptr, "");
  WriteValue(classKey + "\\Verb", nullptr, "");
  for (const TVerb& verb : kVerbs) {
    char text[128];
    std::snprintf(text, sizeof(text), "%ls,%d,%d", verb.name, verb.menuFlags, verb.attributes);
    WriteValue(classKey + "\\Verb\\" + std::to_string(verb.number), nullptr, text);
  }
  if (FAILED(hr)) return hr;
  return RegisterLibraryFrom(module, FolderOf(module));
}

void UnregisterLumivox() {
  TClassRecord record;
  if (FAILED(ReadClassRecord(record))) return;
  RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + record.clsidText).c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + record.clsidText).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, kProgId);
}
