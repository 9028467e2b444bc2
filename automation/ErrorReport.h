// Reports a failure to an automation caller: error information with the
// given interface identifier, the class's registered programmatic identifier
// as source and the message as description; the result is DISP_E_EXCEPTION.
#pragma once
#include <windows.h>

#include <exception>
#include <new>
#include <string>

HRESULT ReportError(const GUID& iid, const std::string& ansiMessage);

// Runs work, turning a failure it raises into reported error information.
template <typename Work>
HRESULT Guarded(const GUID& iid, Work&& work) {
  try {
    work();
    return S_OK;
  } catch (const std::bad_alloc&) {
    ReportError(iid, "Out of memory");
    return E_OUTOFMEMORY;
  } catch (const std::exception& failure) {
    return ReportError(iid, failure.what());
  } catch (...) {
    return ReportError(iid, "");
  }
}
