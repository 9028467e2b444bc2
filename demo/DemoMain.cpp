// Orvex_Demo: shows the logo on the television, then plays a media file in the
// television window while reporting the polled status on standard output.
//
//   Orvex_Demo.exe <media file> [logo file] [logo seconds]
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "control/LumivoxImpl.h"

namespace {

const char* const kStatusNames[] = {"not ready", "paused", "playing", "stopped"};

// Runs the message loop until the deadline or until done() says so.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

void Report(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: Orvex_Demo.exe <media file> [logo file] [logo seconds]\n");
    return 2;
  }
  const DWORD logoMs = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3]) * 1000) : 3000;
  OleInitialize(nullptr);
  int exitCode = 0;
  {
    TLumivox control;
    if (argc > 2) control.SetLogo(argv[2]);
    if (!control.Initialize()) {
      Report("Initialize: fewer than two monitors");
      exitCode = 1;
    } else {
      Report("logo shown");
      PumpUntil(logoMs, [] { return false; });
      control.SetFileName(argv[1]);
      if (!control.Open()) {
        Report("Open failed: no decoder for this file");
        exitCode = 1;
      } else {
        std::printf("playing: length %d, rate %d\n", control.MediaLength(), control.MediaRate());
        Report("playing");
        int32_t lastPosition = -1;
        bool played = false;
        PumpUntil(120000, [&] {
          played = played || control.MediaStatus() == sPlaying;
          if (control.MediaPosition() != lastPosition) {
            lastPosition = control.MediaPosition();
            std::printf("status %s, position %d\n", kStatusNames[control.MediaStatus() & 3],
                        lastPosition);
          }
          // The driver may report position 0 once it stops at the end.
          return played && control.MediaStatus() == sStopped;
        });
        Report("finished");
      }
    }
    control.CloseControl();
  }
  OleUninitialize();
  return exitCode;
}
