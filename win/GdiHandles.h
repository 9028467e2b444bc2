// Owners for what GDI hands out: objects (fonts, brushes, bitmaps, regions,
// pens), device contexts, and an object's place in a device context, so that
// every path gives back what it took.
#pragma once
#include <windows.h>

#include <utility>

#include "win/OwnedHandle.h"

struct TGdiObjectTraits {
  static bool Valid(HGDIOBJ object) { return object != nullptr; }
  static void Close(HGDIOBJ object) { DeleteObject(object); }
};
// A font, brush, bitmap, region or pen, deleted when done. An object must not
// be deleted while it is selected into a device context: declare its
// TGdiSelection after it, so that the selection ends first.
template <typename Handle>
using TGdiObject = TOwnedHandle<Handle, TGdiObjectTraits>;

struct TMemoryDCTraits {
  static bool Valid(HDC dc) { return dc != nullptr; }
  static void Close(HDC dc) { DeleteDC(dc); }
};
// A memory device context (CreateCompatibleDC), deleted when done.
using TMemoryDC = TOwnedHandle<HDC, TMemoryDCTraits>;

// A window's device context, or the screen's for no window, released when done.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the object it replaced goes back
// in when the selection ends. Selects nothing when the device context or the
// object is null.
class TGdiSelection {
 public:
  TGdiSelection() = default;
  TGdiSelection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  TGdiSelection(TGdiSelection&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  TGdiSelection& operator=(TGdiSelection&& other) noexcept {
    if (this != &other) {
      End();
      dc_ = other.dc_;
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  TGdiSelection(const TGdiSelection&) = delete;
  TGdiSelection& operator=(const TGdiSelection&) = delete;
  ~TGdiSelection() { End(); }

  // Puts the replaced object back now.
  void End() {
    if (previous_) SelectObject(dc_, std::exchange(previous_, nullptr));
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};
