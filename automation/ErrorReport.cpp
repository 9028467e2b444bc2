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
    ComPtr<IErrorInfo> errorInfo;
    if (SUCCEEDED(info->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(errorInfo.Put())))) {
      SetErrorInfo(0, errorInfo.Get());
    }
  }
  return DISP_E_EXCEPTION;
}
