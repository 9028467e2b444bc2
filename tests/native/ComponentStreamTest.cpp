#include "automation/ComponentStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Fixture() {
  std::ifstream file(ORVEX_FIXTURES "/DemoForm.tpf0", std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

// A reader over bytes, handing them out in chunks of the given size.
struct TMemorySource {
  Bytes bytes;
  std::size_t at = 0;
  std::size_t operator()(uint8_t* buffer, std::size_t size) {
    const std::size_t n = std::min(size, bytes.size() - at);
    if (n) std::memcpy(buffer, bytes.data() + at, n);
    at += n;
    return n;
  }
};

TStreamReader ReaderOver(const Bytes& bytes, std::size_t chunk = 4096) {
  auto source = std::make_shared<TMemorySource>(TMemorySource{bytes});
  return TStreamReader([source](uint8_t* b, std::size_t n) { return (*source)(b, n); }, chunk);
}

std::string LoadError(const Bytes& bytes, TSurfaceRecord& surface) {
  TStreamReader reader = ReaderOver(bytes);
  try {
    LoadSurface(reader, surface);
  } catch (const EStreamError& e) {
    return e.what();
  }
  return "";
}

// A literal with its embedded zero bytes.
template <std::size_t N>
std::string S(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

Bytes Header() {
  TStreamWriter w;
  w.Signature();
  w.ShortString("TLumivox");
  w.ShortString("Lumivox");
  return w.Bytes();
}

Bytes WithRecord(const std::function<void(TStreamWriter&)>& record) {
  TStreamWriter w;
  record(w);
  Bytes bytes = Header();
  bytes.insert(bytes.end(), w.Bytes().begin(), w.Bytes().end());
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

}  // namespace

TEST(StreamValues, IntegersTakeTheSmallestKindAndReadBack) {
  const struct {
    int32_t value;
    uint8_t type;
  } cases[] = {{0, vaInt8},          {-128, vaInt8},       {127, vaInt8},
               {128, vaInt16},       {-129, vaInt16},      {32767, vaInt16},
               {-32768, vaInt16},    {32768, vaInt32},     {-32769, vaInt32},
               {INT32_MAX, vaInt32}, {INT32_MIN, vaInt32}, {344, vaInt16}};
  for (const auto& c : cases) {
    TStreamWriter w;
    w.Integer(c.value);
    EXPECT_EQ(w.Bytes()[0], c.type) << c.value;
    TStreamReader reader = ReaderOver(w.Bytes());
    const TStreamValue v = ReadValue(reader);
    EXPECT_EQ(v.integer, c.value);
  }
}

TEST(StreamValues, StringsIdentifiersBooleansAndSetsRoundTrip) {
  TStreamWriter w;
  w.String("Comic Sans MS");
  w.Ident("clRed");
  w.Boolean(false);
  w.Boolean(true);
  w.Set({"fsBold", "fsStrikeOut"});
  w.Set({});
  w.String(std::string(300, 'x'));
  TStreamReader r = ReaderOver(w.Bytes(), 3);
  EXPECT_EQ(ReadValue(r).text, "Comic Sans MS");
  const TStreamValue ident = ReadValue(r);
  EXPECT_EQ(ident.type, vaIdent);
  EXPECT_EQ(ident.text, "clRed");
  EXPECT_EQ(ReadValue(r).type, vaFalse);
  EXPECT_EQ(ReadValue(r).type, vaTrue);
  EXPECT_EQ(ReadValue(r).set, (std::vector<std::string>{"fsBold", "fsStrikeOut"}));
  EXPECT_TRUE(ReadValue(r).set.empty());
  EXPECT_EQ(ReadValue(r).text.size(), 255u) << "short strings keep at most 255 bytes";
}

TEST(StreamTables, EveryNameMapsBothWays) {
  int colours = 0;
  for (uint32_t v = 0; v <= 0xFFFFFF; v += 0x10101) {
    if (const auto name = ColorIdent(v)) EXPECT_EQ(ColorFromIdent(*name), v);
  }
  for (uint32_t v : {0x000000u, 0x000080u, 0xC0DCC0u, 0xF0CAA6u, 0xF0FBFFu, 0xA4A0A0u,
                     0x1FFFFFFFu, 0x20000000u}) {
    EXPECT_TRUE(ColorIdent(v)) << std::hex << v;
  }
  for (uint32_t i = 0; i <= 31; ++i) {
    const auto name = ColorIdent(0x80000000u | i);
    if (name) {
      ++colours;
      EXPECT_EQ(ColorFromIdent(*name), 0x80000000u | i);
    }
  }
  EXPECT_EQ(colours, 30) << "system colours 0..30 without 25";
  EXPECT_FALSE(ColorIdent(0x80000000u | 25));
  EXPECT_EQ(ColorIdent(0x8000000F), "clBtnFace");
  EXPECT_EQ(ColorIdent(0x0000FF), "clRed");
  EXPECT_FALSE(ColorIdent(0x00123456));
  EXPECT_FALSE(ColorFromIdent("clbtnface")) << "names are exact";

  int charsets = 0;
  for (int32_t c = 0; c <= 255; ++c) {
    if (const auto name = CharsetIdent(c)) {
      ++charsets;
      EXPECT_EQ(CharsetFromIdent(*name), c);
    }
  }
  EXPECT_EQ(charsets, 18);
  EXPECT_EQ(CharsetIdent(134), "GB2312_CHARSET");
  EXPECT_FALSE(CharsetIdent(163));
}

TEST(SurfaceStream, FreshControlSavesTheDesignValues) {
  TSurfaceRecord fresh;
  fresh.fontName = "\xcb\xce\xcc\xe5";  // 宋体 in code page 936
  fresh.textHeight = 13;
  const Bytes saved = SaveSurface(fresh);
  const std::string expected =
      S("TPF0\x08TLumivox\x07Lumivox") + S("\x04Left\x02\x00") + S("\x03Top\x02\x00") +
      S("\x05Width\x02\x7b") + S("\x06Height\x02\x48") + S("\x07" "Caption\x06\x07Lumivox") +
      S("\x05" "Color\x07\x09" "clBtnFace") + S("\x0c" "Font.Charset\x07\x0eGB2312_CHARSET") +
      S("\x0a" "Font.Color\x07\x05" "clRed") + S("\x0b" "Font.Height\x02\xf3") +
      S("\x09" "Font.Name\x06\x04\xcb\xce\xcc\xe5") + S("\x0a" "Font.Style\x0b\x00") +
      S("\x0eOldCreateOrder\x08") + S("\x0dPixelsPerInch\x02\x60") +
      S("\x0aTextHeight\x02\x0d") + S("\x00\x00");
  EXPECT_EQ(std::string(saved.begin(), saved.end()), expected);
}

TEST(SurfaceStream, ColoursAndCharsetsWithoutNamesAreIntegers) {
  TSurfaceRecord s;
  s.color = 0x00123456;
  s.font.charset = 163;
  s.font.color = 0x80000008;
  const Bytes saved = SaveSurface(s);
  const std::string text(saved.begin(), saved.end());
  EXPECT_NE(text.find(std::string("\x05" "Color\x04\x56\x34\x12\x00", 11)), std::string::npos);
  EXPECT_NE(text.find(std::string("\x0c" "Font.Charset\x03\xa3\x00", 16)), std::string::npos);
  EXPECT_NE(text.find("Font.Color\x07\x0c" "clWindowText"), std::string::npos);
  EXPECT_EQ(text.find("Font.Name"), std::string::npos) << "an empty name is left out";

  TSurfaceRecord back;
  TStreamReader reader = ReaderOver(saved);
  LoadSurface(reader, back);
  EXPECT_EQ(back.color, 0x00123456u);
  EXPECT_EQ(back.font.charset, 163);
  EXPECT_EQ(back.font.color, 0x80000008u);
}

TEST(SurfaceStream, DemoFixtureLoadsAndSavesBackByteForByte) {
  const Bytes fixture = Fixture();
  ASSERT_EQ(fixture.size(), 240u);
  TSurfaceRecord s;
  TStreamReader reader = ReaderOver(fixture, 7);
  LoadSurface(reader, s);
  EXPECT_EQ(s.color, 0x000000FFu);
  EXPECT_EQ(s.fontName, "Comic Sans MS");
  EXPECT_EQ(s.font.height, -37);
  EXPECT_EQ(s.font.charset, 0);
  EXPECT_TRUE(s.font.bold);
  EXPECT_FALSE(s.font.italic);
  EXPECT_EQ(s.left, 344);
  EXPECT_EQ(s.textHeight, 51);
  EXPECT_EQ(SaveSurface(s), fixture);
}

TEST(SurfaceStream, ReadingStopsRightAfterTheControlsData) {
  Bytes bytes = Fixture();
  const std::size_t trailing = 1000;
  bytes.insert(bytes.end(), trailing, 0xAB);
  for (std::size_t chunk : {1u, 16u, 4096u}) {
    auto source = std::make_shared<TMemorySource>(TMemorySource{bytes});
    TStreamReader reader([source](uint8_t* b, std::size_t n) { return (*source)(b, n); }, chunk);
    TSurfaceRecord s;
    LoadSurface(reader, s);
    EXPECT_EQ(source->at - reader.Unused(), 240u) << chunk;
  }
}

TEST(SurfaceStreamErrors, MessagesNameTheSurfaceAndTheProperty) {
  TSurfaceRecord s;
  Bytes bad = Fixture();
  bad[3] = '1';
  EXPECT_EQ(LoadError(bad, s), "Invalid stream format");

  s = TSurfaceRecord{};
  const Bytes unknown = WithRecord([](TStreamWriter& w) {
    w.Property("Color");
    w.Ident("clBlue");
    w.Property("MsgSpeed");
    w.Integer(5);
  });
  EXPECT_EQ(LoadError(unknown, s),
            "Error reading Lumivox.MsgSpeed: Property MsgSpeed does not exist");
  EXPECT_EQ(s.color, 0xFF0000u) << "what came before stays applied";

  const std::pair<const char*, std::function<void(TStreamWriter&)>> wrongKinds[] = {
      {"Color", [](TStreamWriter& w) { w.String("clRed"); }},
      {"Color", [](TStreamWriter& w) { w.Ident("clTomato"); }},
      {"Font.Charset", [](TStreamWriter& w) { w.Ident("clRed"); }},
      {"Font.Charset", [](TStreamWriter& w) { w.Integer(300); }},
      {"Font.Style", [](TStreamWriter& w) { w.Set({"fsBold", "fsBlink"}); }},
      {"Font.Name", [](TStreamWriter& w) { w.Ident("Arial"); }},
      {"Left", [](TStreamWriter& w) { w.Boolean(true); }},
      {"OldCreateOrder", [](TStreamWriter& w) { w.Integer(0); }},
      {"Top", [](TStreamWriter& w) { w.Byte(5); }},  // an unknown value type
  };
  for (const auto& [property, value] : wrongKinds) {
    const Bytes bytes = WithRecord([&](TStreamWriter& w) {
      w.Property(property);
      value(w);
    });
    s = TSurfaceRecord{};
    EXPECT_EQ(LoadError(bytes, s),
              std::string("Error reading Lumivox.") + property + ": Invalid property value");
  }
}

TEST(SurfaceStreamErrors, EveryTruncationIsAReadError) {
  const Bytes fixture = Fixture();
  for (std::size_t n = 0; n < fixture.size(); ++n) {
    TSurfaceRecord s;
    const std::string error = LoadError(Bytes(fixture.begin(), fixture.begin() + n), s);
    EXPECT_TRUE(error == "Stream read error" || (n >= 4 && error.empty() == false)) << n;
    if (n < 4) EXPECT_EQ(error, "Stream read error");
  }
  // A set that never ends runs into the end of the data.
  Bytes endless = Header();
  for (uint8_t b : std::initializer_list<uint8_t>{10, 'F', 'o', 'n', 't', '.', 'S', 't', 'y', 'l', 'e', vaSet, 6, 'f', 's',
                    'B', 'o', 'l', 'd'}) {
    endless.push_back(b);
  }
  TSurfaceRecord s;
  EXPECT_EQ(LoadError(endless, s), "Stream read error");
}

TEST(SurfaceStreamErrors, EmptyRecordsAndChildComponents) {
  TSurfaceRecord s;
  s.color = 7;
  Bytes minimal = WithRecord([](TStreamWriter&) {});
  minimal[9 + 4 + 1] = 'X';  // another object name: "Xumivox"
  EXPECT_EQ(LoadError(minimal, s), "");
  EXPECT_EQ(s.name, "Xumivox");
  EXPECT_EQ(s.color, 7u) << "nothing else changes";

  Bytes child = Header();
  child.push_back(0);  // end of properties
  for (uint8_t b : std::initializer_list<uint8_t>{6, 'T', 'T', 'i', 'm', 'e', 'r', 0, 0, 0}) child.push_back(b);
  EXPECT_EQ(LoadError(child, s), "Invalid stream format");
}
