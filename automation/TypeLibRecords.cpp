#include "automation/TypeLibRecords.h"

#include <stdexcept>

namespace {

// The places in an MSFT file that lead to the records (little-endian).
constexpr size_t kVarFlags = 0x14;        // header: flags, 0x100 = a help DLL's name follows
constexpr size_t kTypeInfoCount = 0x20;   // header: number of type infos
constexpr size_t kHeaderSize = 0x54;      // then the type infos' offsets, then the segment directory
constexpr uint32_t kHelpDllFlag = 0x100;
constexpr size_t kTypeInfoSize = 0x64;    // one entry of the type info table (segment 0)
constexpr size_t kMembersOffset = 0x04;   // entry: file offset of its records
constexpr size_t kElementCount = 0x18;    // entry: low word functions, high word variables
constexpr size_t kRecordKind = 12;        // record: a variable's VARKIND
constexpr size_t kRecordSize = 14;        // record: the description size
constexpr size_t kRecordParams = 20;      // record: a function's parameter count
constexpr uint16_t kVarConst = 2;         // VAR_CONST: the record also holds a VARIANT

class Bytes {
 public:
  explicit Bytes(std::string& bytes) : bytes_(bytes) {}
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  uint16_t U16(size_t at) const {
    Need(at, 2);
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes_[at]) | static_cast<uint8_t>(bytes_[at + 1]) << 8);
  }
  void SetU16(size_t at, uint32_t value) {
    Need(at, 2);
    if (value > 0xFFFF) throw std::runtime_error("type library: a description size out of range");
    bytes_[at] = static_cast<char>(value & 0xFF);
    bytes_[at + 1] = static_cast<char>(value >> 8);
  }

 private:
  void Need(size_t at, size_t count) const {
    if (at > bytes_.size() || bytes_.size() - at < count)
      throw std::runtime_error("type library: a record lies past the end of the file");
  }
  std::string& bytes_;
};

// The records of one type info: its functions, then its variables, each
// starting with its own length; the block starts with their total length.
void SetRecordSizes(Bytes& file, size_t block, uint32_t functions, uint32_t variables,
                    const DescriptionSizes& writer, const DescriptionSizes& target) {
  const uint32_t total = file.U32(block);
  size_t record = block + 4;
  for (uint32_t i = 0; i < functions + variables; ++i) {
    uint32_t size = file.U16(record + kRecordSize);
    if (i < functions) {
      const uint32_t params = file.U16(record + kRecordParams);
      size = size - writer.funcdesc - params * writer.elemdesc + target.funcdesc + params * target.elemdesc;
    } else {
      const bool constant = file.U16(record + kRecordKind) == kVarConst;
      size = size - writer.vardesc + target.vardesc;
      if (constant) size = size - writer.variant + target.variant;
    }
    file.SetU16(record + kRecordSize, size);
    const uint32_t length = file.U16(record);
    if (length == 0) throw std::runtime_error("type library: an empty record");
    record += length;
  }
  if (record != block + 4 + total) throw std::runtime_error("type library: the records do not fill their block");
}

}  // namespace

void SetDescriptionSizes(std::string& library, const DescriptionSizes& writer, const DescriptionSizes& target) {
  Bytes file(library);
  if (library.compare(0, 4, "MSFT") != 0) throw std::runtime_error("type library: not an MSFT file");
  const uint32_t count = file.U32(kTypeInfoCount);
  const size_t directory = kHeaderSize + ((file.U32(kVarFlags) & kHelpDllFlag) ? 4 : 0) + 4 * size_t{count};
  const size_t table = file.U32(directory);  // segment 0: offset, length
  if (file.U32(directory + 4) < count * kTypeInfoSize) throw std::runtime_error("type library: a short type info table");
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = table + i * kTypeInfoSize;
    const uint32_t elements = file.U32(entry + kElementCount);
    if (elements == 0) continue;
    SetRecordSizes(file, file.U32(entry + kMembersOffset), elements & 0xFFFF, elements >> 16, writer, target);
  }
}
