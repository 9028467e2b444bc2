// A connection point kept inside its container object: its reference count is
// the container's, so it lives exactly as long as the container is held.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>

#include "win/ComSupport.h"

class TConnectionPoint final : public IConnectionPoint {
 public:
  TConnectionPoint(IConnectionPointContainer* container, const IID& iid)
      : container_(container), iid_(iid) {}
  TConnectionPoint(const TConnectionPoint&) = delete;
  TConnectionPoint& operator=(const TConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  const IID& Iid() const { return iid_; }

 private:
  IConnectionPointContainer* container_;
  IID iid_;
  std::map<DWORD, ComPtr<IUnknown>> sinks_;
  DWORD nextCookie_ = 1;
};

// A snapshot enumerator over connections or connection points.
HRESULT CreateConnectionEnumerator(const std::map<DWORD, ComPtr<IUnknown>>& sinks,
                                   IEnumConnections** result);
HRESULT CreateConnectionPointEnumerator(IConnectionPoint* const* points, ULONG count,
                                        IEnumConnectionPoints** result);
