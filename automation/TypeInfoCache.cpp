#include "automation/TypeInfoCache.h"

#include <cwctype>
#include <map>
#include <string>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

namespace {
struct TTypeInfoCache {
  ComPtr<ITypeInfo> interfaceInfo;
  ComPtr<ITypeInfo> dispatchInfo;
  ComPtr<ITypeInfo> classInfo;
  std::map<std::wstring, DISPID> memberIds;
};
// Never destroyed: at process exit the library the references came from may
// be gone. ReleaseTypeInfoCache empties it when the module may unload.
TTypeInfoCache& cache = *new TTypeInfoCache;

std::wstring Folded(const wchar_t* name) {
  std::wstring folded(name ? name : L"");
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(c));
  return folded;
}

// Names of the interface's own members and of IDispatch's, by identifier.
void BuildMemberIds(ITypeInfo* info) {
  cache.memberIds.clear();
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    TBstr name;
    if (SUCCEEDED(info->GetDocumentation(func->memid, name.Put(), nullptr, nullptr, nullptr))) {
      cache.memberIds[Folded(name.Get())] = func->memid;
    }
    info->ReleaseFuncDesc(func);
  }
  info->ReleaseTypeAttr(attr);
}

// The library is registered for its own locale only; it is looked up under
// that locale whatever the caller's, so scripts under any locale can call.
HRESULT LoadOrvexLibrary(ComPtr<ITypeLib>& library) {
  return LoadRegTypeLib(LIBID_Orvex, kOrvexLibMajor, kOrvexLibMinor, kOrvexLibLcid,
                        library.Put());
}

HRESULT Load() {
  if (cache.interfaceInfo && cache.dispatchInfo && cache.classInfo) return S_OK;
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadOrvexLibrary(library);
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> dual;
  hr = library->GetTypeInfoOfGuid(IID_ILumivox, dual.Put());
  if (FAILED(hr)) return hr;
  // A dual interface's library entry is its dispatch half; Invoke needs the
  // vtable half, which it names as implemented type -1.
  ComPtr<ITypeInfo> vtable = dual;
  HREFTYPE ref = 0;
  if (SUCCEEDED(dual->GetRefTypeOfImplType(-1, &ref))) dual->GetRefTypeInfo(ref, vtable.Put());
  ComPtr<ITypeInfo> coclass;
  hr = library->GetTypeInfoOfGuid(CLSID_Lumivox, coclass.Put());
  if (FAILED(hr)) return hr;
  BuildMemberIds(vtable.Get());
  cache.interfaceInfo = std::move(vtable);
  cache.dispatchInfo = std::move(dual);
  cache.classInfo = std::move(coclass);
  return S_OK;
}

HRESULT Hand(const ComPtr<ITypeInfo>& cached, ITypeInfo** info) {
  *info = ComPtr<ITypeInfo>(cached).Detach();
  return S_OK;
}
}  // namespace

HRESULT LumivoxTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(cache.interfaceInfo, info);
}

ITypeInfo* BorrowLumivoxTypeInfo(HRESULT* failure) {
  *failure = Load();
  return FAILED(*failure) ? nullptr : cache.interfaceInfo.Get();
}

HRESULT LumivoxDispatchTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(cache.dispatchInfo, info);
}

bool LumivoxMemberId(const wchar_t* name, DISPID* id) {
  if (FAILED(Load())) return false;
  const auto it = cache.memberIds.find(Folded(name));
  if (it == cache.memberIds.end()) return false;
  *id = it->second;
  return true;
}

HRESULT LumivoxClassTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(cache.classInfo, info);
}

void ReleaseTypeInfoCache() {
  cache.interfaceInfo.Reset();
  cache.dispatchInfo.Reset();
  cache.classInfo.Reset();
  cache.memberIds.clear();
}
