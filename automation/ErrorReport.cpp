#include "automation/ErrorReport.h"

#include <oleauto.h>

#include "win/ComSupport.h"
#include "win/TextConversion.h"
#include "control/OrvexTypeLib.h"

HRESULT ReportError(const GUID& iid, const std::string& ansiMessage) {
  ComPtr<ICreateErrorInfo> info;
  if (SUCCEEDED(CreateErrorInfo(info.Put()))) {
    info->SetGUID(iid);
    LPOLESTR progId = nullptr;
    if (SUCCEEDED(ProgIDFromCLSID(CLSID_Lumivox, &progId)) && progId) {
      info->SetSource(progId);
      CoTaskMemFree(progId);
    }
    std::wstring description = AnsiToWide(ansiMessage);
    info->SetDescription(description.data());
    if (const auto errorInfo = info.As<IErrorInfo>()) {
      SetErrorInfo(0, errorInfo.Get());
    }
  }
  return DISP_E_EXCEPTION;
}
