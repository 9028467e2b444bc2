#include "TypeInfoCache.h"

#include "ComSupport.h"
#include "OrvexTypeLib.h"

namespace {
ITypeInfo* interfaceInfo = nullptr;
ITypeInfo* classInfo = nullptr;

// The library is registered for its own locale only; it is looked up under
// that locale whatever the caller's, so scripts under any locale can call.
HRESULT LoadOrvexLibrary(ComPtr<ITypeLib>& library) {
  return LoadRegTypeLib(LIBID_Orvex, kOrvexLibMajor, kOrvexLibMinor, kOrvexLibLcid,
                        library.Put());
}

HRESULT Load() {
  if (interfaceInfo && classInfo) return S_OK;
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
  interfaceInfo = vtable.Detach();
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

HRESULT LumivoxClassTypeInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  const HRESULT hr = Load();
  return FAILED(hr) ? hr : Hand(classInfo, info);
}

void ReleaseTypeInfoCache() {
  if (interfaceInfo) interfaceInfo->Release();
  if (classInfo) classInfo->Release();
  interfaceInfo = nullptr;
  classInfo = nullptr;
}
