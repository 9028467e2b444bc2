// A minimal in-place container for one ActiveX control: it creates the
// control (by class or programmatic identifier, or takes an object made
// elsewhere), starts it fresh, hands it a client site and activates it in
// place on a host window at a given rectangle. Closing, or destroying the
// host, closes the control and releases every reference on both sides.
#pragma once
#include <windows.h>
#include <ole2.h>

#include "win/ComSupport.h"

class TControlSite;

class TControlHost {
 public:
  TControlHost();
  ~TControlHost();
  TControlHost(const TControlHost&) = delete;
  TControlHost& operator=(const TControlHost&) = delete;

  // Creates an in-process control and embeds it (see Embed).
  HRESULT Create(REFCLSID clsid, HWND host, const RECT& bounds, bool initNew = true);
  HRESULT Create(const wchar_t* progId, HWND host, const RECT& bounds, bool initNew = true);
  // Embeds an existing control: client site (before or after loading, as its
  // status bits ask), IPersistStreamInit::InitNew when initNew, then in-place
  // activation at bounds (client coordinates of host). On failure nothing
  // stays embedded.
  HRESULT Embed(IUnknown* control, HWND host, const RECT& bounds, bool initNew = true);
  // Deactivates and closes the control without saving, takes the client site
  // back and releases the control. Safe to call when nothing is embedded.
  void Close();

  // The embedded control's IUnknown (not add-ref'd), or null.
  IUnknown* Control() const { return control_.Get(); }
  // Asks the embedded control for the interface T (E_UNEXPECTED when none
  // is embedded).
  template <typename T>
  HRESULT Query(ComPtr<T>* object) const {
    if (control_) return control_.As(object);
    object->Reset();
    return E_UNEXPECTED;
  }
  // The control's window while it is active in place, else null.
  HWND ControlWindow() const;
  // Moves the control within the host window.
  HRESULT Move(const RECT& bounds);

  // The site the control sees (not add-ref'd) and what it has been told.
  IOleClientSite* Site() const;
  bool InPlaceActive() const;
  const RECT& Bounds() const;

 private:
  TControlSite* site_;  // one reference, held for the host's life
  ComPtr<IUnknown> control_;
  ComPtr<IOleObject> oleObject_;
};
