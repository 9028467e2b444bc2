// Orvex_Demo: one window that hosts the registered Orvex.Lumivox control and
// exercises every member of its interface.
//
//   Orvex_Demo.exe [/tour <screenshot folder>] [media file...]
//
// Media files named on the command line start in the playlist. With /tour
// the program runs its unattended tour (see DemoTour.h) and then ends.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"
#include "demo/DemoForm.h"
#include "demo/DemoTour.h"

namespace {

// The control's saved state, kept with the form in the program's resources.
HRESULT LoadSavedState(IUnknown* control) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return E_FAIL;
  const DWORD size = SizeofResource(nullptr, found);
  const void* data = LockResource(LoadResource(nullptr, found));
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) return hr;
  hr = stream->Write(data, size, nullptr);
  if (FAILED(hr)) return hr;
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<IPersistStreamInit> persist;
  hr = QueryAs(control, &persist);
  return SUCCEEDED(hr) ? persist->Load(stream.Get()) : hr;
}

// Orvex1: created in-process from the registered class, with its saved state.
HRESULT CreateOrvex1(ComPtr<IUnknown>& control) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Orvex.Lumivox", &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(control.Put()));
  if (SUCCEEDED(hr)) hr = LoadSavedState(control.Get());
  return hr;
}

void ReportCreationFailure(HRESULT hr) {
  wchar_t text[256];
  wsprintfW(text, L"无法创建 Orvex.Lumivox 控件（错误 0x%08lX），请先用 regsvr32 注册 Orvex.OCX。", hr);
  MessageBoxW(nullptr, text, TForm1::kTitle, MB_OK | MB_ICONERROR);
}

// Runs until the form's window is gone.
void RunMessageLoop(HWND form) {
  MSG msg;
  while (IsWindow(form) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(form, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring tourFolder;
  std::vector<std::wstring> files;
  for (int i = 1; i < argc; ++i) {
    if (lstrcmpiW(argv[i], L"/tour") == 0 && i + 1 < argc) {
      tourFolder = argv[++i];
    } else {
      files.emplace_back(argv[i]);
    }
  }
  LocalFree(argv);

  OleInitialize(nullptr);
  int exitCode = 1;
  {
    ComPtr<IUnknown> control;
    HRESULT hr = CreateOrvex1(control);
    TForm1 form;
    if (SUCCEEDED(hr)) hr = form.Create(control.Get());
    control.Reset();
    if (FAILED(hr)) {
      ReportCreationFailure(hr);
    } else {
      for (const std::wstring& file : files) form.AddToPlaylist(file);
      TDemoTour tour(form, tourFolder);
      if (!tourFolder.empty()) tour.Start();
      RunMessageLoop(form.Handle());
      exitCode = 0;
    }
  }
  OleUninitialize();
  return exitCode;
}
