#include "automation/TypeInfoCache.h"

#include <cwctype>
#include <map>
#include <string>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

namespace {
ITypeInfo* interfaceInfo = nullptr;
ITypeInfo* dispatchInfo = nullptr;
ITypeInfo* classInfo = nullptr;
std::map<std::wstring, DISPID> memberIds;

std::wstring Folded(const wchar_t* name) {
  std::wstring folded(name ? name : L"");
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(c));
  return folded;
}

// Names of the interface's own members and of IDispatch's, by identifier.
void BuildMemberIds(ITypeInfo* info) {
  memberIds.clear();
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    TBstr name;
    if (SUCCEEDED(info->GetDocumentation(func->memid, name.Put(), nullptr, nullptr, nullptr))) {
      memberIds[Folded(name.Get())] = func->memid;
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
  if (interfaceInfo && dispatchInfo && classInfo) return S_OK;
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
  ReleaseTypeInfoCache();
  BuildMemberIds(vtable.Get());
  interfaceInfo = vtable.Detach();
  dispatchInfo = dual.Detach();
  classInfo = coclass.Detach();
  return S_OK;
}

HRESULT Hand(ITypeInfo* cached, ITypeInfo** info) {
  *info = cached;
  cached->AddRef();
  return S_OK;
}
}  // namespace

HRESULT LumivoxTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(interfaceInfo, info);
}

ITypeInfo* BorrowLumivoxTypeInfo(HRESULT* failure) {
  *failure = Load();
  return FAILED(*failure) ? nullptr : interfaceInfo;
}

HRESULT LumivoxDispatchTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(dispatchInfo, info);
}

bool LumivoxMemberId(const wchar_t* name, DISPID* id) {
  if (FAILED(Load())) return false;
  const auto it = memberIds.find(Folded(name));
  if (it == memberIds.end()) return false;
  *id = it->second;
  return true;
}

HRESULT LumivoxClassTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(classInfo, info);
}

void ReleaseTypeInfoCache() {
  for (ITypeInfo** info : {&interfaceInfo, &dispatchInfo, &classInfo}) {
    if (*info) (*info)->Release();
    *info = nullptr;
  }
  memberIds.clear();
}
