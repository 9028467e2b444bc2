// The component-stream format ("TPF0") the control's surface is saved in:
// short strings, typed values, the colour and character-set name tables, and
// the surface's own records. Pure data in and out; text is ANSI bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/FontState.h"
#include "control/SurfaceDefaults.h"

// A failure reading or writing a stream; the text is the message a host sees.
class EStreamError : public std::runtime_error {
 public:
  explicit EStreamError(const std::string& message) : std::runtime_error(message) {}
};

enum TValueType : uint8_t {
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaSet = 11,
};

std::optional<std::string> ColorIdent(uint32_t color);
std::optional<uint32_t> ColorFromIdent(const std::string& name);
std::optional<std::string> CharsetIdent(int32_t charset);
std::optional<int32_t> CharsetFromIdent(const std::string& name);

// Appends values in the stream's encoding.
class TStreamWriter {
 public:
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  void Signature();
  void ShortString(const std::string& text);  // at most 255 bytes are kept
  void Byte(uint8_t value) { bytes_.push_back(value); }
  // An integer in the smallest kind that holds it.
  void Integer(int32_t value);
  void String(const std::string& text);
  void Ident(const std::string& name);
  void Boolean(bool value);
  void Set(const std::vector<std::string>& elements);
  void Property(const std::string& name) { ShortString(name); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads values from a source that hands over bytes in chunks; running out of
// bytes before the data ends is "Stream read error".
class TStreamReader {
 public:
  // Fills the buffer with up to size bytes; returns how many (0 at the end).
  using Source = std::function<std::size_t(uint8_t* buffer, std::size_t size)>;
  explicit TStreamReader(Source source, std::size_t chunk = 4096);

  uint8_t Byte();
  std::string ShortString();
  void Signature();
  // Bytes taken from the source but not used: a host stream seeks back by these.
  std::size_t Unused() const { return end_ - position_; }

 private:
  void Fill();
  Source source_;
  std::vector<uint8_t> buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
};

// A value as read, before a property decides whether it takes it.
struct TStreamValue {
  TValueType type;
  int32_t integer = 0;
  std::string text;                // string or identifier
  std::vector<std::string> set;    // set elements
};
TStreamValue ReadValue(TStreamReader& reader);

// The surface's saved state.
struct TSurfaceRecord {
  std::string name = kSurfaceName;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = kSurfaceWidth;
  int32_t height = kSurfaceHeight;
  std::string caption = kSurfaceCaption;
  uint32_t color = kSurfaceColor;
  TFontStyle font;
  std::string fontName;  // ANSI
  bool oldCreateOrder = false;
  int32_t pixelsPerInch = 96;
  int32_t textHeight = 0;
};

// The whole stream for the surface: signature, names, the records, two ends.
std::vector<uint8_t> SaveSurface(const TSurfaceRecord& surface);
// Reads a stream into the surface record, applying each property as it is
// read; on a failure the properties before it stay applied.
void LoadSurface(TStreamReader& reader, TSurfaceRecord& surface);
