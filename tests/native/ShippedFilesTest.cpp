// The 32-bit files that ship, read as files: their PE headers, exports,
// imports and version resource. A small PE reader, enough for these checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct PeImage {
  std::vector<uint8_t> bytes;
  uint32_t pe = 0;  // offset of "PE\0\0"

  uint32_t U32(uint32_t at) const {
    if (at + 4 > bytes.size()) throw std::out_of_range("read past the file");
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
  }
  uint16_t U16(uint32_t at) const { return static_cast<uint16_t>(U32(at) & 0xFFFF); }
  uint16_t Machine() const { return U16(pe + 4); }
  uint16_t Characteristics() const { return U16(pe + 22); }
  uint32_t Optional() const { return pe + 24; }
  uint16_t Magic() const { return U16(Optional()); }
  uint16_t Subsystem() const { return U16(Optional() + 68); }
  // Data directory N of a PE32 optional header: its RVA (0 when absent).
  uint32_t Directory(int n) const { return U32(Optional() + 96 + 8 * n); }

  // File offset of a relative virtual address, through the section table.
  uint32_t Offset(uint32_t rva) const {
    const uint32_t sections = Optional() + U16(pe + 20);
    for (uint32_t i = 0; i < U16(pe + 6); ++i) {
      const uint32_t s = sections + 40 * i;
      const uint32_t va = U32(s + 12), size = std::max(U32(s + 8), U32(s + 16));
      if (rva >= va && rva < va + size) return rva - va + U32(s + 20);
    }
    throw std::out_of_range("RVA outside every section");
  }
  std::string Text(uint32_t rva) const {
    const char* p = reinterpret_cast<const char*>(bytes.data()) + Offset(rva);
    return std::string(p, strnlen(p, bytes.size() - Offset(rva)));
  }

  std::set<std::string> Exports() const {
    std::set<std::string> names;
    if (!Directory(0)) return names;
    const uint32_t dir = Offset(Directory(0));
    for (uint32_t i = 0; i < U32(dir + 24); ++i) names.insert(Text(U32(Offset(U32(dir + 32)) + 4 * i)));
    return names;
  }
  std::set<std::string> ImportedDlls() const {
    std::set<std::string> names;
    for (uint32_t d = Offset(Directory(1)); U32(d + 12); d += 20) {
      std::string name = Text(U32(d + 12));
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      names.insert(name);
    }
    return names;
  }
  // The fixed file information of the version resource, found by its signature.
  std::string FileVersion() const {
    const uint8_t sig[] = {0xBD, 0x04, 0xEF, 0xFE};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(sig), std::end(sig));
    if (at == bytes.end()) return "";
    const uint32_t o = static_cast<uint32_t>(at - bytes.begin());
    const uint32_t ms = U32(o + 8), ls = U32(o + 12);
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
           std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
  }
  bool HasUtf16(const std::string& ascii) const {
    std::vector<uint8_t> wide;
    for (char c : ascii) wide.insert(wide.end(), {static_cast<uint8_t>(c), 0});
    return std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
  }
};

PeImage Load(const std::string& name) {
  PeImage image;
  std::ifstream in(std::string(ORVEX_WIN32_TREE) + "/" + name, std::ios::binary);
  image.bytes.assign(std::istreambuf_iterator<char>(in), {});
  if (image.bytes.size() < 0x40 || image.bytes[0] != 'M' || image.bytes[1] != 'Z') return PeImage{};
  image.pe = image.U32(0x3C);
  if (image.U32(image.pe) != 0x4550) return PeImage{};
  return image;
}

// The only libraries a file that ships may import: Windows' own.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",  "advapi32.dll", "ole32.dll",  "oleaut32.dll",
    "winmm.dll",    "msvcrt.dll",  "shell32.dll", "comctl32.dll", "comdlg32.dll", "shlwapi.dll",
    "version.dll",  "uuid.dll"};

struct Shipped {
  const char* file;
  bool dll;
  uint16_t subsystem;  // 2: GUI
};

TEST(ShippedFilesTest, Are32BitWindowsImagesImportingOnlySystemLibraries) {
  for (const Shipped& s : {Shipped{"Orvex.OCX", true, 2}, Shipped{"Orvex_Demo.exe", false, 2}}) {
    SCOPED_TRACE(s.file);
    const PeImage image = Load(s.file);
    ASSERT_NE(image.pe, 0u) << "not a PE file, or missing from " << ORVEX_WIN32_TREE;
    EXPECT_EQ(image.Machine(), 0x14C) << "i386";
    EXPECT_EQ(image.Magic(), 0x10B) << "PE32";
    EXPECT_EQ((image.Characteristics() & 0x2000) != 0, s.dll) << "DLL flag";
    EXPECT_EQ(image.Subsystem(), s.subsystem);
    for (const std::string& dll : image.ImportedDlls()) EXPECT_TRUE(kSystemDlls.count(dll)) << dll;
    EXPECT_FALSE(image.ImportedDlls().empty());
  }
}

TEST(ShippedFilesTest, ControlExportsTheFourServerEntriesAndItsVersion) {
  const PeImage image = Load("Orvex.OCX");
  ASSERT_NE(image.pe, 0u);
  EXPECT_EQ(image.Exports(), (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                                    "DllRegisterServer", "DllUnregisterServer"}));
  EXPECT_EQ(image.FileVersion(), "1.2.0.4");
  EXPECT_TRUE(image.HasUtf16("OleSelfRegister"));
  EXPECT_TRUE(image.HasUtf16("TYPELIB")) << "the type library resource's type name";
}

}  // namespace
