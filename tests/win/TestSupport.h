// Helpers shared by the Windows-side tests.
#pragma once
#include <windows.h>

#include <string>

// Runs the message loop until done() holds or the time is up; returns done().
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void PumpFor(DWORD milliseconds) {
  PumpUntil(milliseconds, [] { return false; });
}

// A window's rectangle on the screen.
inline RECT WindowBounds(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// The output windows of the control loaded in this process, found by class.
inline HWND Video() { return FindWindowA("TFormVideo", nullptr); }
inline HWND Strip() { return FindWindowA("TFormMessage", nullptr); }

// A window's rectangle in its parent's client coordinates.
inline RECT PlaceInParent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The build's Orvex.OCX (the test programs live two folders below it).
std::string BuildOcxPath();
// Runs a command line, waiting up to timeoutMs; the exit code, or -1 when it
// could not start or did not end in time.
int RunProgram(const std::string& commandLine, DWORD timeoutMs = 60000);
// regsvr32 /s on the file (with /u to unregister); true when it succeeded.
bool Regsvr32(const std::string& path, bool unregister = false);
// Has the build's Orvex.OCX registered before the program's first test, for
// programs that create the registered class or need its type library:
//   const bool registered = RegisterBuildOcxFirst();  // at namespace scope
bool RegisterBuildOcxFirst();

// A file next to the test program (fixtures are built there).
std::string TestDataPath(const char* name);
// A new empty folder under the system's temporary folder.
std::string MakeTempFolder(const char* name);
// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// A 24-bit bitmap file of the given size in four solid quadrants:
// red top-left, green top-right, blue bottom-left, yellow bottom-right.
std::string QuadrantBitmapFile(int width, int height);
// The same picture as a JPEG file image.
std::string QuadrantJpegFile(int width, int height);

// This test process's folder under /proc ("Z:\\proc\\<pid>"), found as the
// process of this program's name holding a file only it opened: Wine opens
// files in its server, so "/proc/self" there is the server.
std::string OwnProcFolder();
// The process's windows (top-level and message-only, counted from inside), and
// its open descriptors and resident memory read through /proc: Wine's own
// resource counts are stubs.
struct TProcessUsage {
  int windows, fds, rssKb;
};
TProcessUsage ProcessUsage(const std::string& proc);
