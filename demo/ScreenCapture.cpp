#include "demo/ScreenCapture.h"

#include <algorithm>

#include "win/GdiHandles.h"

namespace {

BOOL CALLBACK KeepSecondMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  if (!(info.dwFlags & MONITORINFOF_PRIMARY)) *reinterpret_cast<RECT*>(data) = info.rcMonitor;
  return TRUE;
}

}  // namespace

std::vector<uint32_t> CaptureScreen(const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h);
  const TWindowDC screen;
  const TMemoryDC memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  const TGdiObject<HBITMAP> bitmap(
      CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return pixels;
  const TGdiSelection selected(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  std::transform(source, source + pixels.size(), pixels.begin(),
                 [](uint32_t p) { return p & 0xFFFFFF; });
  return pixels;
}

RECT TelevisionMonitor() {
  RECT tv{};
  EnumDisplayMonitors(nullptr, nullptr, KeepSecondMonitor, reinterpret_cast<LPARAM>(&tv));
  return tv;
}
