// The .xls reader over a compound file built here record by record, for the
// record kinds and splits that Calc's .xls files do not show: RK and MULRK
// numbers, LABEL, BOOLERR, formula results of every kind with the STRING
// record, and a shared string that changes to two-byte characters in a
// CONTINUE record.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "import/spreadsheet.h"
#include "import/workbook_files.h"

namespace kestra::import {
namespace {

using test::excel_tab;
using test::TempDir;
using test::write_file;

std::string u16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }
std::string f64(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  return u32(static_cast<std::uint32_t>(bits)) + u32(static_cast<std::uint32_t>(bits >> 32));
}
std::string record(std::uint16_t type, const std::string& data) {
  return u16(type) + u16(static_cast<std::uint16_t>(data.size())) + data;
}
std::string cell(std::uint16_t row, std::uint16_t column) {
  return u16(row) + u16(column) + u16(15);
}
std::string bof(std::uint16_t kind) {
  return record(0x0809, u16(0x0600) + u16(kind) + std::string(12, '\0'));
}
const std::string kEof = record(0x000A, "");

// A formula record whose stored value is `value`: 8 bytes, then flags and an
// empty parsed expression.
std::string formula(std::uint16_t row, std::uint16_t column, const std::string& value) {
  return record(0x0006, cell(row, column) + value + u16(0) + u32(0) + u16(0));
}
std::string special(std::uint8_t kind, std::uint8_t value) {
  return std::string{static_cast<char>(kind), 0, static_cast<char>(value), 0, 0, 0} + "\xFF\xFF";
}

// Globals (with the shared strings and one worksheet entry), then the worksheet.
std::string workbook_stream(const std::string& sheet_records) {
  const std::string sst =
      record(0x00FC, u32(2) + u32(2) + u16(1) + '\0' + "x" + u16(6) + '\0' + "12") +
      record(0x003C, std::string("\x01"
                                 "3\0"
                                 "4\0"
                                 ",\0"
                                 "5\0",
                                 9));
  const std::string name = std::string("\x05\x00", 2) + "Sheet";
  std::string globals = bof(0x0005) + sst;
  const std::size_t sheet_at = globals.size() + 4 + 6 + name.size() + kEof.size();
  globals += record(0x0085, u32(static_cast<std::uint32_t>(sheet_at)) + '\0' + '\0' + name) + kEof;
  std::string stream = globals + bof(0x0010) + sheet_records + kEof;
  stream.resize(4096, '\0');  // a stream of regular sectors, not the mini stream
  return stream;
}

// A compound file of 512-byte sectors: FAT, directory, then the stream.
std::string compound_file(const std::string& stream) {
  const std::uint32_t stream_sectors = static_cast<std::uint32_t>(stream.size() / 512);
  std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + u16(0x3E) +
                       u16(3) + u16(0xFFFE) + u16(9) + u16(6) + std::string(6, '\0') + u32(0) +
                       u32(1) + u32(1) + u32(0) + u32(4096) + u32(0xFFFFFFFE) + u32(0) +
                       u32(0xFFFFFFFE) + u32(0) + u32(0);
  while (header.size() < 512) header += u32(0xFFFFFFFF);
  std::string fat = u32(0xFFFFFFFD) + u32(0xFFFFFFFE);
  for (std::uint32_t i = 1; i < stream_sectors; ++i) fat += u32(2 + i);
  fat += u32(0xFFFFFFFE);
  fat.resize(512, '\xFF');
  const auto entry = [](const std::u16string& name, std::uint8_t type, std::uint32_t start,
                        std::uint32_t size) {
    std::string e;
    for (const char16_t c : name) e += u16(c);
    e.resize(64, '\0');
    e += u16(static_cast<std::uint16_t>(2 * name.size() + 2)) + static_cast<char>(type) + '\1';
    e += u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(type == 5 ? 1 : 0xFFFFFFFF);
    e.resize(0x74, '\0');
    return e + u32(start) + u32(size) + u32(0);
  };
  std::string directory = entry(u"Root Entry", 5, 0xFFFFFFFE, 0) +
                          entry(u"Workbook", 2, 2, static_cast<std::uint32_t>(stream.size()));
  directory.resize(512, '\0');
  return header + fat + directory + stream;
}

TEST(XlsWorkbook, ReadsEveryCellRecordKind) {
  const std::string cells =
      record(0x0203, cell(0, 0) + f64(1.5)) +           // NUMBER
      record(0x027E, cell(0, 1) + u32(7 << 2 | 2)) +    // RK integer
      record(0x027E, cell(0, 2) + u32(314 << 2 | 3)) +  // RK integer / 100
      record(0x00BD, u16(0) + u16(3) + u16(15) + u32(2 << 2 | 2) + u16(15) +
                         u32(std::bit_cast<std::uint64_t>(0.5) >> 32) + u16(4)) +  // MULRK D1:E1
      record(0x0204, cell(0, 5) + u16(3) + '\0' + "2,5") +                         // LABEL
      record(0x00FD, cell(1, 0) + u32(1)) +       // LABELSST "1234,5"
      record(0x0205, cell(1, 1) + '\1' + '\0') +  // BOOLERR true
      formula(1, 2, f64(9.25)) +                  // number result
      formula(1, 3, special(0, 0)) +
      record(0x0207, u16(4) + '\0' + "6,75") +  // text result
      formula(1, 4, special(1, 1)) +            // boolean result
      formula(1, 5, special(2, 7)) +            // error result
      record(0x0203, cell(2, 0) + f64(99));     // below the range
  TempDir folder;
  const std::string path = folder.file("built.xls");
  write_file(path, compound_file(workbook_stream(cells)));
  TAB_GR table{0, 0, nullptr};
  ASSERT_EQ(read_excel_range(path.c_str(), excel_tab(1, "A1:F2"), &table), KESTRA_OK);
  EXPECT_EQ(std::vector<double>(table.values, table.values + 12),
            (std::vector<double>{1.5, 7, 3.14, 2, 0.5, 2.5,       // "2,5" through the text path
                                 1234.5, 0, 9.25, 6.75, 0, 0}));  // TRUE and errors give 0
  FreeTabGr(&table);
  EXPECT_EQ(read_excel_range(path.c_str(), excel_tab(2, "A1:B2"), &table), KESTRA_WORKBOOK);
}

}  // namespace
}  // namespace kestra::import
