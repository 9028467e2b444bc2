// The picture kind of a logo file, chosen by its extension.
#pragma once
#include <string_view>

enum class LogoKind { Unknown, Bitmap, Icon, Metafile, EnhancedMetafile, Jpeg };

// "bmp", "ico", "wmf", "emf", "jpg", "jpeg" in any letter case; anything else
// (no extension, a trailing dot, another extension) is Unknown.
LogoKind LogoKindFromName(std::wstring_view fileName);
