#include "bench/SoakCycles.h"

#include <mmsystem.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "bench/BenchClock.h"
#include "control/MciCommands.h"

namespace {
std::string Mci(const std::string& command) {
  char reply[mci::kReplySize + 1] = {};
  mciSendStringA(command.c_str(), reply, mci::kReplySize, nullptr);
  return reply;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

void Fail(const char* what, HRESULT hr) {
  std::printf("soak: %s failed: 0x%08lX\n", what, static_cast<unsigned long>(hr));
  std::exit(1);
}

}  // namespace

double Now() { return WallMs() / 1000.0; }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool PumpUntil(const std::function<bool()>& done, double seconds) {
  const double end = Now() + seconds;
  while (!done()) {
    if (Now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  return true;
}

long WindowCount() {
  long count = 0;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
    CountWindow(w, reinterpret_cast<LPARAM>(&count));
  return count;
}

ComPtr<ILumivox> NewLumivox(const CLSID& clsid) {
  ComPtr<ILumivox> control;
  const HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(control.Put()));
  if (FAILED(hr)) Fail("CoCreateInstance", hr);
  return control;
}

void ControlCycle(const CLSID& clsid, BSTR clip, Timings& t) {
  const double start = Now();
  ComPtr<ILumivox> control = NewLumivox(clsid);
  VARIANT_BOOL ok = VARIANT_FALSE;
  double windows = Now();
  control->Initialize(&ok);
  windows = Now() - windows;
  control->put_FileName(clip);
  const double opening = Now();
  control->Open(&ok);
  TStatus status = sNotReady;
  const bool playing = PumpUntil([&] { return control->get_MediaStatus(&status), status == sPlaying; }, 30);
  t.starting += Now() - opening;
  if (!ok || !playing) ++t.failures;
  control->DisplayMessage();
  control->Close();
  double closing = Now();
  control->CloseControl();
  windows += Now() - closing;
  control.Reset();
  Pump();
  t.total += Now() - start;
  t.windows += windows;
  ++t.cycles;
}

void FloorCycle(const std::string& shortPath, Timings& t) {
  const double start = Now();
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 1024, 0, 800, 600,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const int32_t parent = static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
  const double opening = Now();
  Mci(mci::kClose);
  if (mciSendStringA(mci::OpenCommand(shortPath, mci::kDigitalVideo, parent).c_str(), nullptr, 0, nullptr))
    mciSendStringA(mci::OpenCommand(shortPath, mci::kMpegVideo, parent).c_str(), nullptr, 0, nullptr);
  Mci(mci::PutWindowCommand(798, 598));
  Mci(mci::kStatusLength);
  Mci(mci::kStatusRate);
  Mci(mci::AudioSwitchCommand(false));
  Mci(mci::ChannelCommand(0));
  Mci(mci::kPlay);
  const bool playing = PumpUntil([] {
    const TStatus mode = mci::ReadMode(Mci(mci::kStatusMode));
    Mci(mci::kStatusPosition);
    if (mode != sPlaying) Sleep(50);
    return mode == sPlaying;
  }, 30);
  t.starting += Now() - opening;
  if (!playing) ++t.failures;
  Mci(mci::kClose);
  Mci(mci::kClose);
  DestroyWindow(window);
  Pump();
  t.total += Now() - start;
  ++t.cycles;
}
