// Type information of the registered Orvex library, loaded on first use and
// kept until the module may unload.
#pragma once
#include <windows.h>
#include <oaidl.h>

// The interface half of the dual ILumivox, for IDispatch.
HRESULT LumivoxTypeInfo(ITypeInfo** info);
// The same without a new reference: valid until ReleaseTypeInfoCache, which
// runs only when no object is alive. Null with the failure when it cannot load.
ITypeInfo* BorrowLumivoxTypeInfo(HRESULT* failure);
// The library's own entry for ILumivox (its dispatch half), for GetTypeInfo.
HRESULT LumivoxDispatchTypeInfo(ITypeInfo** info);
// A member's dispatch identifier by name, in any letter case, from a table
// built once from the type information; false when there is no such member.
bool LumivoxMemberId(const wchar_t* name, DISPID* id);
// The coclass Lumivox.
HRESULT LumivoxClassTypeInfo(ITypeInfo** info);
void ReleaseTypeInfoCache();
