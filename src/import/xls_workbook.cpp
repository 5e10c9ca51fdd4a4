// An .xls workbook, BIFF8 (Excel 97-2003) or BIFF5 (Excel 5.0/95): the
// globals substream lists the sheets with the stream offsets of their
// substreams and holds the shared string table; a worksheet substream holds
// one record per cell (or per run of RK numbers). Shared strings are decoded
// only for the indices the wanted cells use. BIFF5 has no shared strings:
// its texts are byte strings in the code page of the CODEPAGE record, kept in
// LABEL (or RSTRING) records; its numbers, formulas and the first fields of
// BOUNDSHEET and XF records are laid out as in BIFF8.
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>

#include "import/code_page_text.h"
#include "import/number_formats.h"
#include "import/xls_compound_file.h"

namespace kestra::import {
namespace {

enum : std::uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kDateMode = 0x0022,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kXf = 0x00E0,
  kFormat = 0x041E,
  kMulRk = 0x00BD,
  kRString = 0x00D6,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kRk = 0x027E,
  kBof = 0x0809,
};
constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBiff5 = 0x0500;
constexpr std::uint8_t kWorksheetType = 0;

// A record and its CONTINUE records read as one sequence of bytes; a text
// that crosses into a CONTINUE record starts there with a new flags byte.
class ContinuedRecord {
 public:
  ContinuedRecord(ByteSpan stream, const BiffRecord& first) {
    segments_.push_back(first.data);
    for (std::size_t next = first.next; next + 4 <= stream.size();) {
      const BiffRecord more = read_biff_record(stream, next);
      if (more.type != kContinue) break;
      segments_.push_back(more.data);
      next = more.next;
    }
  }

  std::uint8_t byte() {
    next_segment_if_done();
    return segments_[segment_][at_++];
  }
  std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
  std::uint32_t u32() { return u16() | std::uint32_t{u16()} << 16; }
  void skip(std::uint64_t count) {
    while (count > 0) {
      next_segment_if_done();
      const std::size_t step = std::min<std::uint64_t>(count, segments_[segment_].size() - at_);
      at_ += step;
      count -= step;
    }
  }

  // A Unicode string body: `count` characters, one or two bytes each as the
  // flags say; kept as UTF-8 up to the stored limit.
  std::string characters(std::size_t count, bool wide, bool keep) {
    std::string text;
    while (count > 0) {
      if (at_ == segments_[segment_].size()) {
        next_segment_if_done();
        wide = byte() & 1;
      }
      const std::uint16_t c = wide ? u16() : byte();
      if (keep && text.size() < kMaxStoredText) append_utf8(text, c);
      --count;
    }
    return text;
  }

  // XLUnicodeRichExtendedString (shared string items, STRING records).
  std::string rich_string(bool keep) {
    const std::uint16_t count = u16();
    const std::uint8_t flags = byte();
    const std::uint16_t runs = flags & 0x08 ? u16() : 0;
    const std::uint32_t extension = flags & 0x04 ? u32() : 0;
    std::string text = characters(count, flags & 0x01, keep);
    skip(std::uint64_t{runs} * 4 + extension);
    return text;
  }

 private:
  void next_segment_if_done() {
    while (at_ == segments_[segment_].size()) {
      if (segment_ + 1 == segments_.size()) fail("record ends early");
      ++segment_;
      at_ = 0;
    }
  }
  static void append_utf8(std::string& out, std::uint16_t c) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | c >> 12));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }

  std::vector<ByteSpan> segments_;
  std::size_t segment_ = 0;
  std::size_t at_ = 0;
};

// An RK number: a 30-bit integer or the high 30 bits of a double, maybe / 100.
double rk_number(std::uint32_t rk) {
  double value = 0;
  if (rk & 0x02) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    value = std::bit_cast<double>(std::uint64_t{rk & 0xFFFFFFFCu} << 32);
  }
  return rk & 0x01 ? value / 100 : value;
}

double read_double(ByteSpan data, std::size_t offset) {
  const std::uint64_t high = read_u32(data, offset + 4);
  return std::bit_cast<double>(high << 32 | read_u32(data, offset));
}

void require_size(ByteSpan data, std::size_t size) {
  if (data.size() < size) fail("cell record too short");
}

// A text cut as BIFF8 texts are stored: whole characters up to the first
// that starts at or after kMaxStoredText bytes.
std::string stored_text(std::string text) {
  std::size_t end = kMaxStoredText;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  if (end < text.size()) text.resize(end);
  return text;
}

// A BIFF5 byte string at `at` of a record: its length in one or two bytes,
// then that many bytes in the workbook's code page, all inside the record.
// Twice kMaxStoredText bytes hold more characters than are kept.
std::string byte_string(ByteSpan data, std::size_t at, std::size_t length_size,
                        CodePageText& code_page) {
  require_size(data, at + length_size);
  const std::size_t length = length_size == 1 ? data[at] : read_u16(data, at);
  const std::size_t start = at + length_size;
  if (data.size() - start < length) fail("text runs past the end of its record");
  const std::size_t converted = std::min(length, 2 * kMaxStoredText);
  return stored_text(
      code_page.utf8({reinterpret_cast<const char*>(data.data()) + start, converted}));
}

struct SharedCell {
  int row;
  int column;
  std::uint32_t index;
};

// Reads one worksheet substream into a cell store.
class SheetReader {
 public:
  // `byte_strings` is the code page of a BIFF5 workbook's texts; null for BIFF8.
  SheetReader(ByteSpan stream, CellStore& store, const CellFormats& formats,
              CodePageText* byte_strings)
      : stream_(stream), store_(store), formats_(formats), byte_strings_(byte_strings) {}

  void read(std::size_t offset) {
    BiffRecord record = read_biff_record(stream_, offset);
    if (record.type != kBof) fail("worksheet substream missing");
    for (;;) {
      record = read_biff_record(stream_, record.next);
      if (record.type == kEof || !read_cell(record)) return;
    }
  }

  std::vector<SharedCell> shared_cells;

 private:
  // False once a cell lies below the wanted range.
  bool read_cell(const BiffRecord& record) {
    const ByteSpan d = record.data;
    switch (record.type) {
      case kNumber:
        require_size(d, 14);
        return put(d, number_cell(d, read_double(d, 6)));
      case kRk:
        require_size(d, 10);
        return put(d, number_cell(d, rk_number(read_u32(d, 6))));
      case kLabelSst:
        require_size(d, 10);
        if (!below_range(d)) shared_cells.push_back({row(d), column(d), read_u32(d, 6)});
        return !below_range(d);
      case kLabel:
      case kRString:  // the text first, then its formatting runs
        return put(d, label_text(record));
      case kBoolErr:
        require_size(d, 8);
        return put(d, bool_or_error(d[6], d[7]));
      case kFormula:
        require_size(d, 20);
        return put(d, formula_result(record));
      case kMulRk:
        return read_rk_run(d);
      default:
        return true;
    }
  }

  // A cell record's format is its XF index, after row and column.
  Cell number_cell(ByteSpan d, double value) const {
    return formats_.number_cell(value, read_u16(d, 4));
  }

  static int row(ByteSpan d) { return read_u16(d, 0) + 1; }
  static int column(ByteSpan d) { return read_u16(d, 2) + 1; }
  bool below_range(ByteSpan d) const { return row(d) > store_.wanted().last_row; }

  bool put(ByteSpan d, Cell cell) {
    if (below_range(d)) return false;
    store_.put(row(d), column(d), std::move(cell));
    return true;
  }

  bool read_rk_run(ByteSpan d) {
    if (d.size() < 6 || (d.size() - 6) % 6 != 0) fail("MULRK record damaged");
    if (below_range(d)) return false;
    const std::size_t count = (d.size() - 6) / 6;
    for (std::size_t i = 0; i < count; ++i) {
      const double value = rk_number(read_u32(d, 4 + 6 * i + 2));
      store_.put(row(d), column(d) + static_cast<int>(i),
                 formats_.number_cell(value, read_u16(d, 4 + 6 * i)));
    }
    return true;
  }

  Cell label_text(const BiffRecord& record) {
    if (byte_strings_) return Cell::of_text(byte_string(record.data, 6, 2, *byte_strings_));
    require_size(record.data, 9);
    ContinuedRecord r(stream_, record);
    r.skip(6);
    const std::uint16_t count = r.u16();
    const bool wide = r.byte() & 1;
    return Cell::of_text(r.characters(count, wide, true));
  }

  static Cell bool_or_error(std::uint8_t value, std::uint8_t is_error) {
    if (is_error) return {};  // an error value converts to 0 either way
    return Cell::of_text(value ? "TRUE" : "FALSE");
  }

  // The result the workbook stored with the formula; a text result follows
  // in a STRING record.
  Cell formula_result(const BiffRecord& record) {
    const ByteSpan d = record.data;
    if (read_u16(d, 12) != 0xFFFF) return number_cell(d, read_double(d, 6));
    switch (d[6]) {
      case 0:
        return string_result(record.next);
      case 1:
        return bool_or_error(d[8], 0);
      default:
        return {};  // an error or an empty text
    }
  }

  Cell string_result(std::size_t offset) {
    for (;;) {  // shared and array formula records may come first
      const BiffRecord next = read_biff_record(stream_, offset);
      if (next.type == kString && byte_strings_) {
        return Cell::of_text(byte_string(next.data, 0, 2, *byte_strings_));
      }
      if (next.type == kString) {
        ContinuedRecord r(stream_, next);
        const std::uint16_t count = r.u16();
        const bool wide = r.byte() & 1;
        return Cell::of_text(r.characters(count, wide, true));
      }
      if (next.type != 0x04BC && next.type != 0x0221) return {};  // SHRFMLA, ARRAY
      offset = next.next;
    }
  }

  ByteSpan stream_;
  CellStore& store_;
  const CellFormats& formats_;
  CodePageText* byte_strings_;
};

// What the globals substream tells: worksheet offsets, the string table and
// the cell formats; for BIFF5, the code page of its texts.
struct Globals {
  std::vector<std::uint32_t> worksheet_offsets;
  std::size_t sst_offset = 0;  // 0: none
  CellFormats formats;
  std::optional<CodePageText> byte_strings;

  // The code page of BIFF5 texts; null for BIFF8.
  CodePageText* code_page() { return byte_strings ? &*byte_strings : nullptr; }
};

// FORMAT records map format numbers to codes; XF records, in order, name a
// format number each. Formats without a FORMAT record are built in.
class FormatTable {
 public:
  void add_format(ByteSpan stream, const BiffRecord& record, CodePageText* byte_strings) {
    if (byte_strings) {
      require_size(record.data, 2);
      const std::string code = byte_string(record.data, 2, 1, *byte_strings);
      codes_[read_u16(record.data, 0)] = code_date_kind(code);
      return;
    }
    require_size(record.data, 5);
    ContinuedRecord r(stream, record);
    const std::uint16_t id = r.u16();
    const std::uint16_t count = r.u16();
    const bool wide = r.byte() & 1;
    codes_[id] = code_date_kind(r.characters(count, wide, true));
  }
  void add_xf(const BiffRecord& record, CellFormats& formats) const {
    require_size(record.data, 4);
    const std::uint16_t id = read_u16(record.data, 2);
    const auto found = codes_.find(id);
    formats.by_index.push_back(found != codes_.end() ? found->second : builtin_date_kind(id));
  }

 private:
  std::unordered_map<std::uint16_t, DateKind> codes_;
};

// The Windows code page a CODEPAGE record names: BIFF's own numbers for Mac
// Roman, Windows Latin 1 and ASCII, else the Windows number itself.
int windows_code_page(std::uint16_t biff_code_page) {
  switch (biff_code_page) {
    case 0x8000: return 10000;
    case 0x8001: return 1252;
    case 367: return 20127;
    default: return biff_code_page;
  }
}

// The BOF record's version: BIFF8, or BIFF5 with Windows-1252 texts until a
// CODEPAGE record says otherwise.
Globals globals_of_version(const BiffRecord& bof) {
  if (bof.type != kBof || bof.data.size() < 2) {
    fail("not an Excel 97-2003 or 5.0/95 workbook: its stream starts with no BOF record");
  }
  Globals globals;
  const std::uint16_t version = read_u16(bof.data, 0);
  if (version == kBiff5) {
    globals.byte_strings.emplace(1252);
  } else if (version != kBiff8) {
    fail("not an Excel 97-2003 or 5.0/95 workbook: its BOF record names another version");
  }
  return globals;
}

Globals read_globals(ByteSpan stream) {
  BiffRecord record = read_biff_record(stream, 0);
  Globals globals = globals_of_version(record);
  CodePageText* const byte_strings = globals.code_page();
  FormatTable formats;
  for (;;) {
    const std::size_t offset = record.next;
    record = read_biff_record(stream, offset);
    switch (record.type) {
      case kEof:
        return globals;
      case kDateMode:
        require_size(record.data, 2);
        globals.formats.date1904 = read_u16(record.data, 0) == 1;
        break;
      case kCodePage:
        require_size(record.data, 2);
        if (byte_strings) *byte_strings = CodePageText(windows_code_page(read_u16(record.data, 0)));
        break;
      case kFormat:
        formats.add_format(stream, record, byte_strings);
        break;
      case kXf:
        formats.add_xf(record, globals.formats);
        break;
      case kFilePass:
        fail("workbook is encrypted (saved with a password)");
      case kSst:
        globals.sst_offset = offset;
        break;
      case kBoundSheet:
        require_size(record.data, 6);
        if (record.data[5] == kWorksheetType) {
          globals.worksheet_offsets.push_back(read_u32(record.data, 0));
        }
        break;
      default:
        break;
    }
  }
}

void resolve_shared_strings(ByteSpan stream, std::size_t sst_offset,
                            const std::vector<SharedCell>& cells, CellStore& store) {
  if (cells.empty() || sst_offset == 0) return;
  std::unordered_map<std::uint32_t, std::string> texts;
  std::uint32_t last = 0;
  for (const SharedCell& cell : cells) {
    texts.emplace(cell.index, std::string());
    last = std::max(last, cell.index);
  }
  const BiffRecord sst = read_biff_record(stream, sst_offset);
  ContinuedRecord r(stream, sst);
  r.skip(4);
  const std::uint32_t unique = r.u32();
  for (std::uint32_t i = 0; i < unique && i <= last; ++i) {
    const auto found = texts.find(i);
    std::string text = r.rich_string(found != texts.end());
    if (found != texts.end()) found->second = std::move(text);
  }
  for (const SharedCell& cell : cells)
    store.put(cell.row, cell.column, Cell::of_text(texts[cell.index]));
}

Bytes read_file(const char* path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
  if (!file) fail("workbook cannot be opened");
  Bytes bytes;
  std::uint8_t buffer[1 << 16];
  while (const std::size_t size = std::fread(buffer, 1, sizeof buffer, file.get())) {
    if (bytes.size() + size > kMaxWorksheetBytes) fail("workbook too large");
    bytes.insert(bytes.end(), buffer, buffer + size);
  }
  if (std::ferror(file.get())) fail("workbook cannot be read");
  return bytes;
}

// The "Workbook" stream of BIFF8; Excel 5.0/95 files name theirs "Book".
Bytes workbook_stream(const Bytes& file) {
  return read_compound_stream(file, {u"Workbook", u"Book"});
}

class XlsWorkbook final : public Workbook {
 public:
  explicit XlsWorkbook(const char* path)
      : stream_(workbook_stream(read_file(path))), globals_(read_globals(stream_)) {}

  std::unique_ptr<Worksheet> worksheet(int index, const CellRange& wanted) override {
    if (index < 1 || static_cast<std::size_t>(index) > globals_.worksheet_offsets.size()) {
      fail("no worksheet at this index");
    }
    auto store = std::make_unique<CellStore>(wanted);
    SheetReader sheet(stream_, *store, globals_.formats, globals_.code_page());
    sheet.read(globals_.worksheet_offsets[static_cast<std::size_t>(index) - 1]);
    resolve_shared_strings(stream_, globals_.sst_offset, sheet.shared_cells, *store);
    return store;
  }
  void close() override {}

 private:
  Bytes stream_;
  Globals globals_;
};

}  // namespace

std::unique_ptr<Workbook> open_xls_workbook(const char* path) {
  return std::make_unique<XlsWorkbook>(path);
}

}  // namespace kestra::import
