// The .xls reader over a compound file built here record by record, for the
// record kinds and splits that Calc's .xls files do not show: RK and MULRK
// numbers, LABEL, BOOLERR, formula results of every kind with the STRING
// record, and a shared string that changes to two-byte characters in a
// CONTINUE record; Excel 5.0/95 workbooks with byte strings in several code
// pages, and damaged ones.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "import/spreadsheet.h"
#include "import/workbook_backend.h"
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
std::string cell(std::uint16_t row, std::uint16_t column, std::uint16_t xf = 15) {
  return u16(row) + u16(column) + u16(xf);
}
std::string bof(std::uint16_t kind) {
  return record(0x0809, u16(0x0600) + u16(kind) + std::string(12, '\0'));
}
std::string bof5(std::uint16_t kind, std::uint16_t version = 0x0500) {
  return record(0x0809, u16(version) + u16(kind) + std::string(4, '\0'));
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

// The globals substream (its BOF and records, a worksheet entry whose name
// field is `sheet_name`), then the worksheet substream.
std::string one_sheet_stream(const std::string& globals_head, const std::string& sheet_name,
                             const std::string& sheet_bof, const std::string& sheet_records) {
  std::string globals = globals_head;
  const std::size_t sheet_at = globals.size() + 4 + 6 + sheet_name.size() + kEof.size();
  globals +=
      record(0x0085, u32(static_cast<std::uint32_t>(sheet_at)) + '\0' + '\0' + sheet_name) + kEof;
  std::string stream = globals + sheet_bof + sheet_records + kEof;
  stream.resize(4096, '\0');  // a stream of regular sectors, not the mini stream
  return stream;
}

// BIFF8 globals with the shared strings.
std::string workbook_stream(const std::string& sheet_records) {
  const std::string sst =
      record(0x00FC, u32(2) + u32(2) + u16(1) + '\0' + "x" + u16(6) + '\0' + "12") +
      record(0x003C, std::string("\x01"
                                 "3\0"
                                 "4\0"
                                 ",\0"
                                 "5\0",
                                 9));
  return one_sheet_stream(bof(0x0005) + sst, std::string("\x05\x00", 2) + "Sheet", bof(0x0010),
                          sheet_records);
}

// BIFF5: the sheet's name is a byte string.
std::string biff5_stream(const std::string& globals_records, const std::string& sheet_records) {
  return one_sheet_stream(bof5(0x0005) + globals_records, "\x05Sheet", bof5(0x0010), sheet_records);
}

// A compound file of 512-byte sectors: FAT, directory, then the stream.
std::string compound_file(const std::string& stream, const std::u16string& name = u"Workbook") {
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
                          entry(name, 2, 2, static_cast<std::uint32_t>(stream.size()));
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

// The cells of A1:C1 of the first worksheet of a BIFF5 file as the backend
// hands them over, or the message it refuses the file with.
struct Biff5Read {
  std::vector<Cell> cells;
  std::string refusal;
};

Biff5Read read_biff5_file(const std::string& file) {
  TempDir folder;
  const std::string path = folder.file("old.xls");
  write_file(path, file);
  Biff5Read read;
  try {
    const std::unique_ptr<Workbook> book = open_xls_workbook(path.c_str());
    const std::unique_ptr<Worksheet> sheet = book->worksheet(1, CellRange{1, 1, 3, 1});
    for (int column = 1; column <= 3; ++column) {
      read.cells.push_back(sheet->read_cell_at(column, 1));
    }
  } catch (const AutomationError& error) {
    read.refusal = error.what();
  }
  return read;
}

Biff5Read read_biff5(const std::string& stream, const std::u16string& name = u"Book") {
  return read_biff5_file(compound_file(stream, name));
}

std::string byte_string16(const std::string& bytes) {
  return u16(static_cast<std::uint16_t>(bytes.size())) + bytes;
}

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// Each text as a LABEL, an RSTRING with one formatting run and a formula's
// STRING result, in the code page a CODEPAGE record names (none: Windows-1252).
TEST(XlsWorkbook, ReadsExcel95TextsInTheirCodePage) {
  const struct {
    int line;
    int code_page;  // 0: no CODEPAGE record
    std::string bytes;
    std::string expected;
    std::string on_windows = expected;  // MultiByteToWideChar's stand-ins for undefined bytes
  } cases[] = {
      {__LINE__, 0, "caf\xE9", "caf\xC3\xA9"},
      {__LINE__, 1252, "\x80 5", "\xE2\x82\xAC 5"},
      {__LINE__, 1251, "\xCF\xF0\xE8\xE2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2"},
      {__LINE__, 1250, "\xB9\xE6", "\xC4\x85\xC4\x87"},
      {__LINE__, 0x8000, "\x8E", "\xC3\xA9"},  // Mac Roman
      {__LINE__, 0x8001, "\xE9", "\xC3\xA9"},  // BIFF's own number for Windows-1252
      {__LINE__, 932, "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},  // Shift-JIS
      // A byte the code page leaves undefined, a lead byte with no trail byte.
      {__LINE__, 1252, "a\x81z", "a\xEF\xBF\xBDz", "a\xC2\x81z"},
      {__LINE__, 932, "a\x93", "a\xEF\xBF\xBD", "a\xE3\x83\xBB"},
      {__LINE__, 367, "\xE9", "\xEF\xBF\xBD", "i"},  // US-ASCII
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string code_page =
        c.code_page ? record(0x0042, u16(static_cast<std::uint16_t>(c.code_page))) : "";
    const std::string cells = record(0x0204, cell(0, 0) + byte_string16(c.bytes)) +
                              record(0x00D6, cell(0, 1) + byte_string16(c.bytes) + '\1' + u16(0)) +
                              formula(0, 2, special(0, 0)) + record(0x0207, byte_string16(c.bytes));
    const Biff5Read read = read_biff5(biff5_stream(code_page, cells));
    ASSERT_EQ(read.refusal, "");
    for (const Cell& text : read.cells) {
      EXPECT_EQ(text.kind, Cell::Kind::text);
      EXPECT_EQ(text.text, kWindows ? c.on_windows : c.expected);
    }
  }
}

// Numbers as in BIFF8; a FORMAT record's code is a byte string, and a date
// of the 1904 system is an OLE date.
TEST(XlsWorkbook, ReadsExcel95NumbersAndDates) {
  const std::string globals = record(0x0022, u16(1)) +                        // DATEMODE 1904
                              record(0x041E, u16(164) + "\x0Ayyyy-mm-dd") +  // FORMAT
                              record(0x00E0, u16(0) + u16(0)) + record(0x00E0, u16(0) + u16(164));
  const std::string cells = record(0x0203, cell(0, 0, 1) + f64(0)) +    // 1904-01-01
                            record(0x027E, cell(0, 1, 0) + u32(7 << 2 | 2)) +
                            formula(0, 2, f64(2.5));
  const Biff5Read read = read_biff5(biff5_stream(globals, cells), u"Workbook");
  ASSERT_EQ(read.refusal, "");
  EXPECT_EQ(read.cells[0].date, DateKind::date);
  EXPECT_EQ(read.cells[0].number, 1462);
  EXPECT_EQ(read.cells[1].number, 7);
  EXPECT_EQ(read.cells[1].date, DateKind::none);
  EXPECT_EQ(read.cells[2].number, 2.5);
}

TEST(XlsWorkbook, RefusesDamagedExcel95Workbooks) {
  const std::string label_cell = record(0x0204, cell(0, 0) + byte_string16("x"));
  const struct {
    int line;
    std::string stream;
    std::string refusal;
  } cases[] = {
      {__LINE__, biff5_stream("", record(0x0204, cell(0, 0) + u16(10) + "abc")),
       "text runs past the end of its record"},
      {__LINE__, biff5_stream("", record(0x0204, cell(0, 0) + "\x01")), "cell record too short"},
      {__LINE__, biff5_stream("", formula(0, 0, special(0, 0)) + record(0x0207, u16(5) + "ab")),
       "text runs past the end of its record"},
      {__LINE__, biff5_stream(record(0x041E, u16(164) + "\x0Ayy"), label_cell),
       "text runs past the end of its record"},
      {__LINE__, biff5_stream(record(0x041E, "\x01"), label_cell), "cell record too short"},
      {__LINE__, biff5_stream(record(0x0042, u16(999)), label_cell),
       "the workbook's code page is not one this reader converts"},
      {__LINE__, biff5_stream(record(0x0042, "\x01"), label_cell), "cell record too short"},
      {__LINE__, biff5_stream(record(0x002F, u16(0) + u16(0) + u16(0)), label_cell),
       "workbook is encrypted (saved with a password)"},
      // A record whose length runs past the stream.
      {__LINE__, biff5_stream("", label_cell + u16(0x0203) + u16(0xFFFF)),
       "workbook stream ends inside a record"},
      {__LINE__, kEof + std::string(4096 - kEof.size(), '\0'),
       "not an Excel 97-2003 or 5.0/95 workbook: its stream starts with no BOF record"},
      {__LINE__, one_sheet_stream(bof5(0x0005, 0x0400), "\x01S", bof5(0x0010), label_cell),
       "not an Excel 97-2003 or 5.0/95 workbook: its BOF record names another version"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(read_biff5(c.stream).refusal, c.refusal);
  }
  // A compound file with neither a "Workbook" nor a "Book" stream; one whose
  // "Workbook" entry claims more bytes than its sectors hold.
  EXPECT_EQ(read_biff5(biff5_stream("", label_cell), u"Other").refusal, "workbook stream missing");
  std::string file = compound_file(biff5_stream("", label_cell), u"Workbook");
  file.replace(1024 + 128 + 0x78, 4, u32(8192));  // the second directory entry's size
  EXPECT_EQ(read_biff5_file(file).refusal, "compound stream truncated");
}

}  // namespace
}  // namespace kestra::import
