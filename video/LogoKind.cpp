#include "video/LogoKind.h"

#include <cstdint>
#include <string>

LogoKind LogoKindFromName(std::wstring_view fileName) {
  const std::size_t dot = fileName.find_last_of(L'.');
  const std::size_t slash = fileName.find_last_of(L"\\/");
  if (dot == fileName.npos || (slash != fileName.npos && slash > dot)) return LogoKind::Unknown;
  // Only ASCII letters can make a known extension; anything else spoils it.
  std::string ext;
  for (const wchar_t c : fileName.substr(dot + 1)) {
    const auto code = static_cast<uint32_t>(c);
    ext += code >= 'A' && code <= 'Z' ? char(code - 'A' + 'a') : code < 0x80 ? char(code) : '?';
  }
  if (ext == "bmp") return LogoKind::Bitmap;
  if (ext == "ico") return LogoKind::Icon;
  if (ext == "wmf") return LogoKind::Metafile;
  if (ext == "emf") return LogoKind::EnhancedMetafile;
  if (ext == "jpg" || ext == "jpeg") return LogoKind::Jpeg;
  return LogoKind::Unknown;
}
