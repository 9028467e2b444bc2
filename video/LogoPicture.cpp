#include "video/LogoPicture.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "win/DiskFile.h"
#include "video/JpegDecode.h"
#include "video/LogoKind.h"

namespace {

// Logo files above this size are refused rather than read into memory.
constexpr DWORD kMaxLogoBytes = 64 * 1024 * 1024;

bool ReadWholeFile(const std::wstring& fileName, std::vector<uint8_t>& bytes) {
  const TKernelHandle file = OpenDiskFile(fileName, GENERIC_READ);
  if (!file) return false;
  DWORD high = 0;
  const DWORD size = GetFileSize(file.Get(), &high);
  if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > kMaxLogoBytes) return false;
  bytes.resize(size);
  DWORD read = 0;
  return ReadFile(file.Get(), bytes.data(), size, &read, nullptr) && read == size;
}

uint32_t ReadU32(const std::vector<uint8_t>& b, std::size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, b.data() + at, sizeof(v));
  return v;
}

// The file must really hold the kind its extension names.
bool ContentMatches(LogoKind kind, const std::vector<uint8_t>& b) {
  switch (kind) {
    case LogoKind::Bitmap: return b.size() > 2 && b[0] == 'B' && b[1] == 'M';
    case LogoKind::Icon: return b.size() > 6 && ReadU32(b, 0) == 0x00010000;
    case LogoKind::Metafile: return b.size() > 22 && ReadU32(b, 0) == 0x9AC6CDD7;
    case LogoKind::EnhancedMetafile:
      return b.size() > 88 && ReadU32(b, 0) == 1 && ReadU32(b, 40) == 0x464D4520;
    default: return false;
  }
}

// The system's own picture support for bitmaps, icons and metafiles.
ComPtr<IPicture> LoadSystemPicture(const std::vector<uint8_t>& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return {};
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
    GlobalFree(memory);
    return {};
  }
  ComPtr<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_PPV_ARGS(picture.Put())))) {
    return {};
  }
  return picture;
}

// The picture object owns the bitmap once it is made (and deletes it with
// itself); until then the holder does.
ComPtr<IPicture> PictureFromBitmap(TGdiObject<HBITMAP> bitmap) {
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap.Get();
  ComPtr<IPicture> picture;
  if (FAILED(OleCreatePictureIndirect(&desc, picture.Iid(), TRUE, picture.PutVoid()))) {
    return {};
  }
  bitmap.Detach();
  return picture;
}

}  // namespace

bool TLogoPicture::LoadFromFile(const std::wstring& fileName) {
  const LogoKind kind = LogoKindFromName(fileName);
  std::vector<uint8_t> bytes;
  if (kind == LogoKind::Unknown || !ReadWholeFile(fileName, bytes)) return false;
  ComPtr<IPicture> picture;
  if (kind == LogoKind::Jpeg) {
    if (TGdiObject<HBITMAP> bitmap = DecodeJpeg(bytes.data(), bytes.size())) {
      picture = PictureFromBitmap(std::move(bitmap));
    }
  } else if (ContentMatches(kind, bytes)) {
    picture = LoadSystemPicture(bytes);
  }
  if (!picture) return false;
  picture_ = std::move(picture);
  return true;
}

void TLogoPicture::Clear() { picture_.Reset(); }

void TLogoPicture::StretchDraw(HDC dc, const RECT& area) const {
  if (!picture_) return;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  SetStretchBltMode(dc, COLORONCOLOR);
  // Source rectangles are in HIMETRIC, whose y axis points up.
  picture_->Render(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0,
                   height, width, -height, nullptr);
}
