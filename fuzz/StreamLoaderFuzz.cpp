// libFuzzer target for the component-stream loader: any input either loads or
// fails with a stream error, never reads past its bytes, and whatever loads
// saves and loads again to the same record.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "automation/ComponentStream.h"

namespace {

struct TSource {
  const uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::size_t operator()(uint8_t* buffer, std::size_t n) {
    const std::size_t take = n < size - at ? n : size - at;
    if (take) std::memcpy(buffer, data + at, take);
    at += take;
    return take;
  }
};

bool Load(const uint8_t* data, std::size_t size, std::size_t chunk, TSurfaceRecord& record) {
  TSource source{data, size};
  TStreamReader reader([&source](uint8_t* b, std::size_t n) { return source(b, n); }, chunk);
  try {
    LoadSurface(reader, record);
  } catch (const EStreamError&) {
    return false;
  }
  if (reader.Unused() > source.at) std::abort();  // more unused than was read
  return true;
}

bool Same(const TSurfaceRecord& a, const TSurfaceRecord& b) {
  return a.name == b.name && a.left == b.left && a.top == b.top && a.width == b.width &&
         a.height == b.height && a.caption == b.caption && a.color == b.color &&
         a.font == b.font && a.fontName == b.fontName && a.pixelsPerInch == b.pixelsPerInch && a.textHeight == b.textHeight;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the reader's chunk size, so refills land anywhere.
  const std::size_t chunk = 1 + data[0] % 64;
  TSurfaceRecord record;
  if (!Load(data + 1, size - 1, chunk, record)) return 0;
  const std::vector<uint8_t> saved = SaveSurface(record);
  // Empty texts are not saved, so a fresh surface keeps its own for them.
  TSurfaceRecord expected = record;
  const TSurfaceRecord fresh;
  if (expected.caption.empty()) expected.caption = fresh.caption;
  if (expected.fontName.empty()) expected.fontName = fresh.fontName;
  TSurfaceRecord again;
  if (!Load(saved.data(), saved.size(), 4096, again) || !Same(expected, again)) std::abort();
  return 0;
}
