// Compound file reading: header, sector allocation table (FAT) found through
// the DIFAT, directory entries, and the mini stream for small streams. Every
// chain is followed with a step limit, so a cycle cannot loop forever.
#include "import/xls_compound_file.h"

#include <algorithm>

namespace kestra::import {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kDirectoryEntry = 128;
constexpr std::uint8_t kStreamEntry = 2;

class CompoundFile {
 public:
  explicit CompoundFile(const Bytes& file) : file_(file) {
    if (file.size() < 512) fail("compound file too short");
    const std::uint16_t shift = read_u16(file_, 0x1E);
    const std::uint16_t mini_shift = read_u16(file_, 0x20);
    if ((shift != 9 && shift != 12) || mini_shift != 6) fail("compound file header damaged");
    sector_size_ = std::size_t{1} << shift;
    if (file.size() < 2 * sector_size_) fail("compound file too short");  // header and one sector
    mini_cutoff_ = read_u32(file_, 0x38);
    read_fat();
    directory_ = read_chain(fat_, read_u32(file_, 0x30), SIZE_MAX);
    mini_fat_bytes_ = read_chain(fat_, read_u32(file_, 0x3C), SIZE_MAX);
  }

  Bytes stream(std::initializer_list<std::u16string_view> names) const {
    for (const std::u16string_view name : names) {
      if (const ByteSpan entry = stream_entry(name); !entry.empty()) return stream_bytes(entry);
    }
    fail("workbook stream missing");
  }

 private:
  // The directory entry of the named stream; empty when there is none.
  ByteSpan stream_entry(std::u16string_view name) const {
    for (std::size_t at = 0; at + kDirectoryEntry <= directory_.size(); at += kDirectoryEntry) {
      const ByteSpan entry(directory_.data() + at, kDirectoryEntry);
      if (entry[0x42] == kStreamEntry && entry_name(entry) == name) return entry;
    }
    return {};
  }

  Bytes stream_bytes(ByteSpan entry) const {
    const std::uint32_t start = read_u32(entry, 0x74);
    const std::size_t size = read_u32(entry, 0x78);  // the high half is unused below 4 GiB
    if (size < mini_cutoff_) return read_mini_stream(start, size);
    Bytes bytes = read_chain(fat_, start, size);
    if (bytes.size() < size) fail("compound stream truncated");
    return bytes;
  }

  static std::u16string entry_name(ByteSpan entry) {
    const std::size_t length = std::min<std::size_t>(read_u16(entry, 0x40), 64) / 2;
    std::u16string name;
    for (std::size_t i = 0; i + 1 < length; ++i) name.push_back(read_u16(entry, 2 * i));
    return name;
  }

  std::size_t sector_count() const { return file_.size() / sector_size_ - 1; }

  ByteSpan sector(std::uint32_t index) const {
    if (index >= sector_count()) fail("compound sector out of range");
    return {file_.data() + (std::size_t{index} + 1) * sector_size_, sector_size_};
  }

  // The FAT sectors are listed in the header and then in a chain of DIFAT sectors.
  void read_fat() {
    const std::uint32_t fat_sectors = read_u32(file_, 0x2C);
    if (fat_sectors > sector_count()) fail("compound FAT too large");
    std::vector<std::uint32_t> fat_list;
    for (std::size_t i = 0; i < kHeaderDifatEntries && fat_list.size() < fat_sectors; ++i) {
      fat_list.push_back(read_u32(file_, 0x4C + 4 * i));
    }
    std::uint32_t difat = read_u32(file_, 0x44);
    for (std::size_t steps = 0; fat_list.size() < fat_sectors; ++steps) {
      if (difat > kMaxRegularSector || steps > sector_count()) fail("compound DIFAT damaged");
      const ByteSpan s = sector(difat);
      const std::size_t per_sector = sector_size_ / 4 - 1;
      for (std::size_t i = 0; i < per_sector && fat_list.size() < fat_sectors; ++i) {
        fat_list.push_back(read_u32(s, 4 * i));
      }
      difat = read_u32(s, 4 * per_sector);
    }
    fat_.reserve(fat_list.size() * sector_size_ / 4);
    for (const std::uint32_t index : fat_list) {
      const ByteSpan s = sector(index);
      for (std::size_t i = 0; i < sector_size_; i += 4) fat_.push_back(read_u32(s, i));
    }
  }

  // Up to `limit` bytes along a chain of regular sectors.
  Bytes read_chain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                   std::size_t limit) const {
    Bytes bytes;
    for (std::uint32_t at = start; at != kEndOfChain && bytes.size() < limit;) {
      if (at >= table.size() || bytes.size() >= file_.size()) fail("compound chain damaged");
      const ByteSpan s = sector(at);
      bytes.insert(bytes.end(), s.begin(), s.end());
      at = table[at];
    }
    if (bytes.size() > limit) bytes.resize(limit);
    return bytes;
  }

  // Small streams live in 64-byte sectors of the root entry's stream.
  Bytes read_mini_stream(std::uint32_t start, std::size_t size) const {
    const ByteSpan root(directory_.data(), std::min(directory_.size(), kDirectoryEntry));
    if (root.size() < kDirectoryEntry) fail("compound directory empty");
    const Bytes container = read_chain(fat_, read_u32(root, 0x74), read_u32(root, 0x78));
    Bytes bytes;
    for (std::uint32_t at = start; bytes.size() < size;) {
      const std::size_t offset = std::size_t{at} * 64;
      if (at == kEndOfChain || 4 * std::size_t{at} + 4 > mini_fat_bytes_.size() ||
          offset + 64 > container.size() || bytes.size() > container.size()) {
        fail("compound mini stream damaged");
      }
      bytes.insert(bytes.end(), container.begin() + offset, container.begin() + offset + 64);
      at = read_u32(mini_fat_bytes_, 4 * std::size_t{at});
    }
    bytes.resize(size);
    return bytes;
  }

  const Bytes& file_;
  std::size_t sector_size_ = 512;
  std::uint32_t mini_cutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  Bytes directory_;
  Bytes mini_fat_bytes_;
};

}  // namespace

Bytes read_compound_stream(const Bytes& file,
                           std::initializer_list<std::u16string_view> names) {
  return CompoundFile(file).stream(names);
}

BiffRecord read_biff_record(ByteSpan stream, std::size_t offset) {
  if (offset + 4 > stream.size()) fail("workbook stream ends inside a record");
  const std::uint16_t length = read_u16(stream, offset + 2);
  if (offset + 4 + length > stream.size()) fail("workbook stream ends inside a record");
  return {read_u16(stream, offset), stream.subspan(offset + 4, length), offset + 4 + length};
}

}  // namespace kestra::import
