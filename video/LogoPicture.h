// The logo picture of the video window: one of the six kinds chosen by file
// extension, drawn stretched to any rectangle.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "win/ComSupport.h"

class TLogoPicture {
 public:
  TLogoPicture() = default;
  TLogoPicture(const TLogoPicture&) = delete;
  TLogoPicture& operator=(const TLogoPicture&) = delete;

  // Loads the named file by the kind its extension names. On any failure
  // (missing or unreadable file, unknown extension, content not of that kind,
  // damaged picture) returns false and keeps the previous picture.
  bool LoadFromFile(const std::wstring& fileName);
  void Clear();
  bool Empty() const { return !picture_; }
  // Draws the whole picture stretched over the rectangle, aspect ratio not kept.
  void StretchDraw(HDC dc, const RECT& area) const;

 private:
  ComPtr<IPicture> picture_;
};
