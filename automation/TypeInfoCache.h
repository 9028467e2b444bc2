// Type information of the registered Orvex library, loaded on first use and
// kept until the module may unload.
#pragma once
#include <windows.h>
#include <oaidl.h>

// The interface half of the dual ILumivox, for IDispatch.
HRESULT LumivoxTypeInfo(ITypeInfo** info);
// The coclass Lumivox.
HRESULT LumivoxClassTypeInfo(ITypeInfo** info);
void ReleaseTypeInfoCache();
