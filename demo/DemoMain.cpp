// Orvex_Demo: a window on the operator's screen that hosts the registered
// Orvex.Lumivox control through COM, restores the control's saved state,
// shows the logo on the television, then plays a media file there while
// reporting the polled status on standard output.
//
//   Orvex_Demo.exe <media file> [logo file] [logo seconds]
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/OrvexTypeLib.h"
#include "demo/ControlHost.h"

namespace {

const char* const kStatusNames[] = {"not ready", "paused", "playing", "stopped"};
const RECT kControlBounds{344, 16, 344 + 49, 16 + 25};  // where the form keeps the control

// Runs the message loop until the deadline or until done() says so.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void Report(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

BSTR Bstr(const char* text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  return SysAllocString(wide.c_str());
}

HWND CreateMainWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"TFormDemo";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"Orvex \x6f14\x793a", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         40, 40, 640, 400, nullptr, nullptr, wc.hInstance, nullptr);
}

// The control's saved state, from the demo's resources, restored into it.
HRESULT LoadSavedState(IUnknown* control) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return E_FAIL;
  const DWORD size = SizeofResource(nullptr, found);
  const void* data = LockResource(LoadResource(nullptr, found));
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
  if (FAILED(hr)) return hr;
  stream->Write(data, size, nullptr);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ComPtr<IPersistStreamInit> persist;
  hr = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(persist.Put()));
  return SUCCEEDED(hr) ? persist->Load(stream.Get()) : hr;
}

// A message run at speed 990: transparent over the picture, or an opaque strip.
void ShowMessage(ILumivox* control, const wchar_t* text, bool transparent, TLocation location) {
  BSTR message = SysAllocString(text);
  control->put_Message(message);
  SysFreeString(message);
  control->put_MsgTransparent(transparent ? VARIANT_TRUE : VARIANT_FALSE);
  control->put_MsgColor(transparent ? 0x0000FFFF : 0x00FFFFFF);  // yellow; white on navy
  control->put_MsgBackgroundColor(0x00800000);
  control->put_MsgLocation(location);
  control->put_MsgSpeed(990);
  control->DisplayMessage();
}

int Play(ILumivox* control, const char* media, const char* logo, DWORD logoMs) {
  if (logo) {
    BSTR name = Bstr(logo);
    control->put_Logo(name);
    SysFreeString(name);
  }
  VARIANT_BOOL ok = 0;
  control->Initialize(&ok);
  if (!ok) {
    Report("Initialize: fewer than two monitors");
    return 1;
  }
  Report("logo shown");
  PumpUntil(logoMs, [] { return false; });
  BSTR file = Bstr(media);
  control->put_FileName(file);
  SysFreeString(file);
  control->Open(&ok);
  if (!ok) {
    Report("Open failed: no decoder for this file");
    return 1;
  }
  LONG length = 0, rate = 0;
  control->get_MediaLength(&length);
  control->get_MediaRate(&rate);
  std::printf("playing: length %ld, rate %ld\n", length, rate);
  Report("playing");
  ShowMessage(control, L"Orvex \x89c6\x9891\x70b9\x64ad \x6b22\x8fce\x5149\x4e34 Welcome", true, lBottom);
  Report("message scrolling");
  const DWORD messageStart = GetTickCount();
  bool opaqueShown = false;
  LONG lastPosition = -1;
  bool played = false;
  PumpUntil(120000, [&] {
    if (!opaqueShown && GetTickCount() - messageStart >= 2000) {
      ShowMessage(control, L"\x8282\x76ee\x9884\x544a Tonight 20:00", false, lTop);
      Report("opaque strip");
      opaqueShown = true;
    }
    TStatus status = sNotReady;
    LONG position = 0;
    control->get_MediaStatus(&status);
    control->get_MediaPosition(&position);
    played = played || status == sPlaying;
    if (position != lastPosition) {
      lastPosition = position;
      std::printf("status %s, position %ld\n", kStatusNames[status & 3], position);
    }
    // The driver may report position 0 once it stops at the end.
    return played && status == sStopped;
  });
  Report("finished");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: Orvex_Demo.exe <media file> [logo file] [logo seconds]\n");
    return 2;
  }
  const DWORD logoMs = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3]) * 1000) : 3000;
  OleInitialize(nullptr);
  int exitCode = 1;
  {
    HWND window = CreateMainWindow();
    CLSID clsid{};
    ComPtr<IUnknown> object;
    HRESULT hr = CLSIDFromProgID(L"Orvex.Lumivox", &clsid);
    if (SUCCEEDED(hr)) {
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(object.Put()));
    }
    if (FAILED(hr)) {
      std::fprintf(stderr, "Orvex.Lumivox is not registered (0x%08lX)\n", hr);
    } else {
      LoadSavedState(object.Get());
      TControlHost host;
      ComPtr<ILumivox> control;
      if (SUCCEEDED(host.Embed(object.Get(), window, kControlBounds, false)) &&
          SUCCEEDED(host.Query(IID_ILumivox, reinterpret_cast<void**>(control.Put())))) {
        exitCode = Play(control.Get(), argv[1], argc > 2 ? argv[2] : nullptr, logoMs);
        control->CloseControl();
      }
      control.Reset();
      host.Close();
    }
    DestroyWindow(window);
  }
  OleUninitialize();
  return exitCode;
}
