#include "automation/ComponentStream.h"

#include <cstring>

namespace {

struct TNamedValue {
  const char* name;
  uint32_t value;
};

constexpr uint32_t kSystemColor = 0x80000000u;

const TNamedValue kColors[] = {
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},      {"clMedGray", 0xA4A0A0},
    {"clScrollBar", kSystemColor | 0},          {"clBackground", kSystemColor | 1},
    {"clActiveCaption", kSystemColor | 2},      {"clInactiveCaption", kSystemColor | 3},
    {"clMenu", kSystemColor | 4},               {"clWindow", kSystemColor | 5},
    {"clWindowFrame", kSystemColor | 6},        {"clMenuText", kSystemColor | 7},
    {"clWindowText", kSystemColor | 8},         {"clCaptionText", kSystemColor | 9},
    {"clActiveBorder", kSystemColor | 10},      {"clInactiveBorder", kSystemColor | 11},
    {"clAppWorkSpace", kSystemColor | 12},      {"clHighlight", kSystemColor | 13},
    {"clHighlightText", kSystemColor | 14},     {"clBtnFace", kSystemColor | 15},
    {"clBtnShadow", kSystemColor | 16},         {"clGrayText", kSystemColor | 17},
    {"clBtnText", kSystemColor | 18},           {"clInactiveCaptionText", kSystemColor | 19},
    {"clBtnHighlight", kSystemColor | 20},      {"cl3DDkShadow", kSystemColor | 21},
    {"cl3DLight", kSystemColor | 22},           {"clInfoText", kSystemColor | 23},
    {"clInfoBk", kSystemColor | 24},            {"clHotLight", kSystemColor | 26},
    {"clGradientActiveCaption", kSystemColor | 27},
    {"clGradientInactiveCaption", kSystemColor | 28},
    {"clMenuHighlight", kSystemColor | 29},     {"clMenuBar", kSystemColor | 30},
    {"clNone", 0x1FFFFFFF},                     {"clDefault", 0x20000000},
};

const TNamedValue kCharsets[] = {
    {"ANSI_CHARSET", 0},         {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},         {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},      {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},      {"TURKISH_CHARSET", 162},   {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},     {"BALTIC_CHARSET", 186},    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},       {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

template <std::size_t N>
std::optional<std::string> NameOf(const TNamedValue (&table)[N], uint32_t value) {
  for (const TNamedValue& entry : table) {
    if (entry.value == value) return std::string(entry.name);
  }
  return std::nullopt;
}

template <std::size_t N>
std::optional<uint32_t> ValueOf(const TNamedValue (&table)[N], const std::string& name) {
  for (const TNamedValue& entry : table) {
    if (name == entry.name) return entry.value;
  }
  return std::nullopt;
}

const char* const kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

}  // namespace

std::optional<std::string> ColorIdent(uint32_t color) { return NameOf(kColors, color); }
std::optional<uint32_t> ColorFromIdent(const std::string& name) { return ValueOf(kColors, name); }

std::optional<std::string> CharsetIdent(int32_t charset) {
  if (charset < 0 || charset > 255) return std::nullopt;
  return NameOf(kCharsets, static_cast<uint32_t>(charset));
}

std::optional<int32_t> CharsetFromIdent(const std::string& name) {
  const std::optional<uint32_t> value = ValueOf(kCharsets, name);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

// --- writing ---------------------------------------------------------------------

void TStreamWriter::Signature() {
  for (char c : {'T', 'P', 'F', '0'}) bytes_.push_back(static_cast<uint8_t>(c));
}

void TStreamWriter::ShortString(const std::string& text) {
  const std::size_t n = text.size() > 255 ? 255 : text.size();
  bytes_.push_back(static_cast<uint8_t>(n));
  bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

void TStreamWriter::Integer(int32_t value) {
  auto put = [this](const void* data, std::size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);  // little-endian hosts only
  };
  if (value >= -128 && value <= 127) {
    bytes_.push_back(vaInt8);
    const int8_t v = static_cast<int8_t>(value);
    put(&v, 1);
  } else if (value >= -32768 && value <= 32767) {
    bytes_.push_back(vaInt16);
    const int16_t v = static_cast<int16_t>(value);
    put(&v, 2);
  } else {
    bytes_.push_back(vaInt32);
    put(&value, 4);
  }
}

void TStreamWriter::String(const std::string& text) {
  bytes_.push_back(vaString);
  ShortString(text);
}

void TStreamWriter::Ident(const std::string& name) {
  bytes_.push_back(vaIdent);
  ShortString(name);
}

void TStreamWriter::Boolean(bool value) { bytes_.push_back(value ? vaTrue : vaFalse); }

void TStreamWriter::Set(const std::vector<std::string>& elements) {
  bytes_.push_back(vaSet);
  for (const std::string& element : elements) ShortString(element);
  bytes_.push_back(0);
}

// --- reading ---------------------------------------------------------------------

TStreamReader::TStreamReader(Source source, std::size_t chunk)
    : source_(std::move(source)), buffer_(chunk == 0 ? 1 : chunk) {}

void TStreamReader::Fill() {
  end_ = source_(buffer_.data(), buffer_.size());
  position_ = 0;
  if (end_ == 0 || end_ > buffer_.size()) {
    end_ = 0;
    throw EStreamError("Stream read error");
  }
}

uint8_t TStreamReader::Byte() {
  if (position_ == end_) Fill();
  return buffer_[position_++];
}

std::string TStreamReader::ShortString() {
  const uint8_t n = Byte();
  std::string text;
  text.reserve(n);
  for (uint8_t i = 0; i < n; ++i) text.push_back(static_cast<char>(Byte()));
  return text;
}

void TStreamReader::Signature() {
  char signature[4];
  for (char& c : signature) c = static_cast<char>(Byte());
  if (std::memcmp(signature, "TPF0", 4) != 0) throw EStreamError("Invalid stream format");
}

namespace {

// An unknown type byte leaves the value unread: it cannot be skipped.
class EUnknownValue : public std::exception {};

int32_t ReadLittleEndian(TStreamReader& reader, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{reader.Byte()} << (8 * i);
  if (bytes == 1) return static_cast<int8_t>(value);
  if (bytes == 2) return static_cast<int16_t>(value);
  return static_cast<int32_t>(value);
}

}  // namespace

TStreamValue ReadValue(TStreamReader& reader) {
  TStreamValue value{static_cast<TValueType>(reader.Byte())};
  switch (value.type) {
    case vaInt8: value.integer = ReadLittleEndian(reader, 1); break;
    case vaInt16: value.integer = ReadLittleEndian(reader, 2); break;
    case vaInt32: value.integer = ReadLittleEndian(reader, 4); break;
    case vaString:
    case vaIdent: value.text = reader.ShortString(); break;
    case vaFalse:
    case vaTrue: break;
    case vaSet:
      for (std::string element = reader.ShortString(); !element.empty();
           element = reader.ShortString()) {
        value.set.push_back(element);
      }
      break;
    default: throw EUnknownValue();
  }
  return value;
}

// --- the surface's records -----------------------------------------------------------

namespace {

void WriteColor(TStreamWriter& w, uint32_t color) {
  if (const auto name = ColorIdent(color)) w.Ident(*name);
  else w.Integer(static_cast<int32_t>(color));
}

std::vector<std::string> StyleSet(const TSurfaceRecord& s) {
  std::vector<std::string> set;
  const bool on[] = {s.font.bold, s.font.italic, s.font.underline, s.font.strikeout};
  for (int i = 0; i < 4; ++i) {
    if (on[i]) set.push_back(kStyleNames[i]);
  }
  return set;
}

bool IsInteger(const TStreamValue& v) {
  return v.type == vaInt8 || v.type == vaInt16 || v.type == vaInt32;
}

class EBadValue : public std::exception {};

int32_t AsInteger(const TStreamValue& v) {
  if (!IsInteger(v)) throw EBadValue();
  return v.integer;
}

uint32_t AsColor(const TStreamValue& v) {
  if (v.type == vaIdent) {
    if (const auto color = ColorFromIdent(v.text)) return *color;
    throw EBadValue();
  }
  return static_cast<uint32_t>(AsInteger(v));
}

uint8_t AsCharset(const TStreamValue& v) {
  if (v.type == vaIdent) {
    if (const auto charset = CharsetFromIdent(v.text)) return static_cast<uint8_t>(*charset);
    throw EBadValue();
  }
  const int32_t charset = AsInteger(v);
  if (charset < 0 || charset > 255) throw EBadValue();
  return static_cast<uint8_t>(charset);
}

std::string AsString(const TStreamValue& v) {
  if (v.type != vaString) throw EBadValue();
  return v.text;
}

bool AsBoolean(const TStreamValue& v) {
  if (v.type != vaFalse && v.type != vaTrue) throw EBadValue();
  return v.type == vaTrue;
}

void ApplyStyle(const TStreamValue& v, TSurfaceRecord& s) {
  if (v.type != vaSet) throw EBadValue();
  bool on[4] = {};
  for (const std::string& element : v.set) {
    bool known = false;
    for (int i = 0; i < 4; ++i) {
      if (element == kStyleNames[i]) on[i] = known = true;
    }
    if (!known) throw EBadValue();
  }
  s.font.bold = on[0];
  s.font.italic = on[1];
  s.font.underline = on[2];
  s.font.strikeout = on[3];
}

// Applies one record of a known property.
void ApplyProperty(const std::string& name, const TStreamValue& v, TSurfaceRecord& s) {
  if (name == "Left") s.left = AsInteger(v);
  else if (name == "Top") s.top = AsInteger(v);
  else if (name == "Width") s.width = AsInteger(v);
  else if (name == "Height") s.height = AsInteger(v);
  else if (name == "Caption") s.caption = AsString(v);
  else if (name == "Color") s.color = AsColor(v);
  else if (name == "Font.Charset") s.font.charset = AsCharset(v);
  else if (name == "Font.Color") s.font.color = AsColor(v);
  else if (name == "Font.Height") s.font.height = AsInteger(v);
  else if (name == "Font.Name") s.fontName = AsString(v);
  else if (name == "Font.Style") ApplyStyle(v, s);
  else if (name == "OldCreateOrder") s.oldCreateOrder = AsBoolean(v);
  else if (name == "PixelsPerInch") s.pixelsPerInch = AsInteger(v);
  else if (name == "TextHeight") s.textHeight = AsInteger(v);
}

bool IsSurfaceProperty(const std::string& name) {
  for (const char* known : {"Left", "Top", "Width", "Height", "Caption", "Color", "Font.Charset",
                            "Font.Color", "Font.Height", "Font.Name", "Font.Style",
                            "OldCreateOrder", "PixelsPerInch", "TextHeight"}) {
    if (name == known) return true;
  }
  return false;
}

std::string ReadingError(const TSurfaceRecord& s, const std::string& property,
                         const std::string& what) {
  return "Error reading " + s.name + "." + property + ": " + what;
}

}  // namespace

std::vector<uint8_t> SaveSurface(const TSurfaceRecord& s) {
  TStreamWriter w;
  w.Signature();
  w.ShortString("TLumivox");
  w.ShortString(s.name);
  w.Property("Left");
  w.Integer(s.left);
  w.Property("Top");
  w.Integer(s.top);
  w.Property("Width");
  w.Integer(s.width);
  w.Property("Height");
  w.Integer(s.height);
  if (!s.caption.empty()) {
    w.Property("Caption");
    w.String(s.caption);
  }
  w.Property("Color");
  WriteColor(w, s.color);
  w.Property("Font.Charset");
  if (const auto name = CharsetIdent(s.font.charset)) w.Ident(*name);
  else w.Integer(s.font.charset);
  w.Property("Font.Color");
  WriteColor(w, s.font.color);
  w.Property("Font.Height");
  w.Integer(s.font.height);
  if (!s.fontName.empty()) {
    w.Property("Font.Name");
    w.String(s.fontName);
  }
  w.Property("Font.Style");
  w.Set(StyleSet(s));
  w.Property("OldCreateOrder");
  w.Boolean(false);
  w.Property("PixelsPerInch");
  w.Integer(s.pixelsPerInch);
  w.Property("TextHeight");
  w.Integer(s.textHeight);
  w.Byte(0);  // end of properties
  w.Byte(0);  // end of children
  return w.Bytes();
}

void LoadSurface(TStreamReader& reader, TSurfaceRecord& s) {
  reader.Signature();
  reader.ShortString();  // the class name
  s.name = reader.ShortString();
  for (std::string property = reader.ShortString(); !property.empty();
       property = reader.ShortString()) {
    if (!IsSurfaceProperty(property)) {
      throw EStreamError(ReadingError(s, property, "Property " + property + " does not exist"));
    }
    try {
      ApplyProperty(property, ReadValue(reader), s);
    } catch (const EUnknownValue&) {
      throw EStreamError(ReadingError(s, property, "Invalid property value"));
    } catch (const EBadValue&) {
      throw EStreamError(ReadingError(s, property, "Invalid property value"));
    }
  }
  // The surface never has child components: anything but the end is foreign.
  if (reader.Byte() != 0) throw EStreamError("Invalid stream format");
}
