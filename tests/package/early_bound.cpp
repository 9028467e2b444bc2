// An early-bound C++ client of the registered control, compiled against the
// release package's include folder only: it creates the class through its
// identifier and calls members through the function table of ILumivox.
//   early_bound.exe <media file>
// Prints one line per check ("ok ..." or "FAIL ...") and exits 0 when every
// check passed.
#include <initguid.h>

#include "Orvex.h"

#include <cstdio>
#include <cwchar>

namespace {

int failures = 0;

void Check(bool passed, const char* what) {
  std::printf("%s %s\n", passed ? "ok" : "FAIL", what);
  if (!passed) ++failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: early_bound <media file>\n");
    return 2;
  }
  CoInitialize(nullptr);
  ILumivox* lumivox = nullptr;
  HRESULT hr =
      CoCreateInstance(CLSID_Lumivox, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&lumivox));
  Check(hr == S_OK && lumivox, "CoCreateInstance(CLSID_Lumivox, IID_ILumivox)");
  if (!lumivox) return 1;

  BSTR name = SysAllocString(argv[1]);
  BSTR back = nullptr;
  Check(lumivox->put_FileName(name) == S_OK, "put_FileName");
  Check(lumivox->get_FileName(&back) == S_OK && back && std::wcscmp(back, name) == 0,
        "get_FileName gives the name back");
  SysFreeString(back);
  SysFreeString(name);

  TStatus status = sPlaying;
  Check(lumivox->get_MediaStatus(&status) == S_OK && status == sNotReady,
        "get_MediaStatus is sNotReady before Open");

  LONG speed = 0;
  Check(lumivox->put_MsgSpeed(70) == S_OK && lumivox->get_MsgSpeed(&speed) == S_OK && speed == 70,
        "put_MsgSpeed(70), get_MsgSpeed");
  Check(lumivox->put_MsgSpeed(5000) == S_OK && lumivox->get_MsgSpeed(&speed) == S_OK && speed == 999,
        "put_MsgSpeed(5000) is clamped to 999");

  Check(lumivox->Release() == 0, "Release frees the object");
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
