#include "video/LogoKind.h"

#include <string>

LogoKind LogoKindFromName(std::string_view fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t slash = fileName.find_last_of("\\/");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) {
    return LogoKind::Unknown;
  }
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ext == "bmp") return LogoKind::Bitmap;
  if (ext == "ico") return LogoKind::Icon;
  if (ext == "wmf") return LogoKind::Metafile;
  if (ext == "emf") return LogoKind::EnhancedMetafile;
  if (ext == "jpg" || ext == "jpeg") return LogoKind::Jpeg;
  return LogoKind::Unknown;
}
