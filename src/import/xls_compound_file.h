// The compound file container of an .xls workbook and the BIFF records of its
// "Workbook" stream.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "import/workbook_backend.h"

namespace kestra::import {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

inline std::uint16_t read_u16(ByteSpan at, std::size_t offset) {
  return static_cast<std::uint16_t>(at[offset] | at[offset + 1] << 8);
}
inline std::uint32_t read_u32(ByteSpan at, std::size_t offset) {
  return read_u16(at, offset) | std::uint32_t{read_u16(at, offset + 2)} << 16;
}

// The bytes of the first of the named streams that the root storage of a
// compound file holds; throws AutomationError when the container is damaged
// or holds none of them.
Bytes read_compound_stream(const Bytes& file,
                           std::initializer_list<std::u16string_view> names);

// One BIFF record: its type and data, and where the next one starts.
struct BiffRecord {
  std::uint16_t type = 0;
  ByteSpan data;
  std::size_t next = 0;
};

// The record at `offset` of a BIFF stream; throws AutomationError when it
// runs past the stream's end.
BiffRecord read_biff_record(ByteSpan stream, std::size_t offset);

}  // namespace kestra::import
