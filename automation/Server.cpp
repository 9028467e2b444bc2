// The in-process server: module load and unload, the class factory and the
// four exports.
#include <windows.h>
#include <ole2.h>

#include "control/AwakeRequest.h"
#include "control/LumivoxImpl.h"
#include "control/OutputWindows.h"
#include "win/ModuleInstance.h"
#include "win/WinTimer.h"
#include "win/ComSupport.h"
#include "automation/Registration.h"
#include "automation/TypeInfoCache.h"

namespace {

class TClassFactory final : public TSingleInterface<IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    return CreateLumivox(outer, riid, object);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) ModuleLock();
    else ModuleUnlock();
    return S_OK;
  }
};

CRITICAL_SECTION factoryGuard;
TClassFactory* volatile factory = nullptr;
bool comInitialized = false;

IClassFactory* SharedFactory() {
  if (!factory) {
    EnterCriticalSection(&factoryGuard);
    if (!factory) factory = new (std::nothrow) TClassFactory();
    LeaveCriticalSection(&factoryGuard);
  }
  return factory;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    InitializeCriticalSection(&factoryGuard);
    comInitialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  } else if (reason == DLL_PROCESS_DETACH && !reserved) {
    // Only on FreeLibrary: at process exit other DLLs may already be gone.
    // Objects still playing here are never released: their request goes now.
    WithdrawAwakeRequest();
    if (factory) factory->Release();
    factory = nullptr;
    ReleaseTypeInfoCache();
    // Windows whose code is about to go: destroyed before their classes.
    OutputWindows().Destroy();
    TWinTimer::ReleaseTimerWindow();
    UnregisterWindowClasses();
    DeleteCriticalSection(&factoryGuard);
    if (comInitialized) CoUninitialize();
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() {
  // The output windows outlive the objects until some object's CloseControl:
  // unloading under them would leave windows whose code is gone.
  // Module-wide resources are kept for the module's life and go only here,
  // when the library may be unloaded next.
  if (ModuleLockCount() != 0 || OutputWindows().Exist()) return S_FALSE;
  if (!TWinTimer::ReleaseTimerWindow()) return S_FALSE;
  ReleaseTypeInfoCache();
  return S_OK;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_Lumivox) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* shared = SharedFactory();
  if (!shared) return E_OUTOFMEMORY;
  return shared->QueryInterface(riid, object);
}

STDAPI DllRegisterServer() { return RegisterLumivox(ModuleInstance()); }

STDAPI DllUnregisterServer() {
  UnregisterLumivox(ModuleInstance());
  return S_OK;
}
