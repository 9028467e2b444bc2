#include "video/JpegDecode.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace {

// Pictures above this many pixels are refused rather than allocated.
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

struct TJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

HBITMAP CreateTopDownDib(uint32_t width, uint32_t height, uint8_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<uint8_t*>(pixels);
  return bitmap;
}

// Everything that must survive a longjmp lives in this state, which the
// caller of the frame holding setjmp owns, so no C++ destructor is skipped.
struct TDecodeState {
  jpeg_decompress_struct info;
  TJpegError error;
  TGdiObject<HBITMAP> bitmap;
};

bool Decode(TDecodeState& s, const uint8_t* data, std::size_t size) {
  if (setjmp(s.error.jump)) return false;
  jpeg_create_decompress(&s.info);
  jpeg_mem_src(&s.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&s.info, TRUE);
  s.info.out_color_space = JCS_EXT_BGR;  // DIB byte order
  jpeg_start_decompress(&s.info);
  const uint32_t width = s.info.output_width;
  const uint32_t height = s.info.output_height;
  if (width == 0 || height == 0 || uint64_t{width} * height > kMaxPixels) return false;
  uint8_t* bits = nullptr;
  s.bitmap.Reset(CreateTopDownDib(width, height, &bits));
  if (!s.bitmap) return false;
  const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
  while (s.info.output_scanline < height) {
    JSAMPROW row = bits + stride * s.info.output_scanline;
    jpeg_read_scanlines(&s.info, &row, 1);
  }
  jpeg_finish_decompress(&s.info);
  return true;
}

}  // namespace

TGdiObject<HBITMAP> DecodeJpeg(const uint8_t* data, std::size_t size) {
  if (!data || size == 0) return {};
  TDecodeState state{};
  state.info.err = jpeg_std_error(&state.error.manager);
  state.error.manager.error_exit = JumpOnError;
  state.error.manager.output_message = IgnoreMessage;
  const bool ok = Decode(state, data, size);
  jpeg_destroy_decompress(&state.info);
  if (!ok) state.bitmap.Reset();
  return std::move(state.bitmap);
}
