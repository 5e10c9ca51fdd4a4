// Reading 1000 x 100 cell ranges from an .xlsx workbook of two 5,000 x 120
// worksheets written by libxlsxwriter: "Numbers" holds numbers only; in
// "Strings" every seventh cell is a text with a decimal comma (a shared
// string). Two ranges each: A1:CV1000 at the top, and B2001:CW3000 in the
// middle, below 2,000 rows that are inflated and scanned as well.
//
// Beside each read runs its floor: zlib inflating the worksheet part up to the
// range's last row while counting its cells, plus, for "Strings", the shared
// strings part up to the last string the range uses. The workbook is left at
// $KESTRA_XLSX_BENCH_FILE (default /tmp/kestra-xlsx-bench.xlsx) so
// xlsx_bench.sh can time other readers on the same file.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>
#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/spreadsheet.h"

namespace {

constexpr int kRows = 5000;
constexpr int kColumns = 120;
constexpr int kRangeRows = 1000;
constexpr int kRangeColumns = 100;

std::string bench_file() {
  const char* path = std::getenv("KESTRA_XLSX_BENCH_FILE");
  return path ? path : "/tmp/kestra-xlsx-bench.xlsx";
}

// What a worksheet holds, row by row (0-based), and for "Strings" the shared
// string index of each text cell (-1 for numbers).
struct Sheet {
  std::vector<double> values;
  std::vector<int> string_index;
};

struct Workbook {
  Sheet numbers;
  Sheet strings;
};

Workbook write_workbook(const std::string& path) {
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* numbers = workbook_add_worksheet(book, "Numbers");
  lxw_worksheet* strings = workbook_add_worksheet(book, "Strings");
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> cents(-100000, 100000);
  std::unordered_map<std::string, int> shared;  // libxlsxwriter numbers them as first written
  Workbook written;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const double value = cents(random) / 100.0;
      worksheet_write_number(numbers, row, column, value, nullptr);
      written.numbers.values.push_back(value);
      written.numbers.string_index.push_back(-1);
      int index = -1;
      if ((row * kColumns + column) % 7 == 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", value);
        *std::strchr(text, '.') = ',';
        worksheet_write_string(strings, row, column, text, nullptr);
        index = shared.emplace(text, static_cast<int>(shared.size())).first->second;
      } else {
        worksheet_write_number(strings, row, column, value, nullptr);
      }
      written.strings.values.push_back(value);
      written.strings.string_index.push_back(index);
    }
  }
  if (workbook_close(book) != LXW_NO_ERROR) std::abort();
  return written;
}

const Workbook& workbook() {
  static const Workbook written = write_workbook(bench_file());
  return written;
}

// state.range(0): the sheet (1 Numbers, 2 Strings); state.range(1): the
// range's first row (1-based). Its first column is A for row 1, else B.
struct Case {
  int sheet;
  int first_row;
  int first_column;
  int last_row;
  EXCEL_TAB range;

  explicit Case(const benchmark::State& state)
      : sheet(static_cast<int>(state.range(0))),
        first_row(static_cast<int>(state.range(1))),
        first_column(first_row == 1 ? 1 : 2),
        last_row(first_row + kRangeRows - 1),
        range{sheet, {}} {
    workbook();  // the file exists before any case opens it
    char last[20];
    kestra::import::format_cell_address(first_column, first_row, range.cellRange);
    kestra::import::format_cell_address(first_column + kRangeColumns - 1, last_row, last);
    std::strcat(std::strcat(range.cellRange, ":"), last);  // at most 13 characters
  }
  const Sheet& written() const { return sheet == 1 ? workbook().numbers : workbook().strings; }
  // The value written at a 1-based row and column.
  double at(int row, int column) const {
    return written().values[static_cast<std::size_t>(row - 1) * kColumns + (column - 1)];
  }
  void label(benchmark::State& state) const {
    state.SetItemsProcessed(state.iterations() * kRangeRows * kRangeColumns);
    state.SetLabel(std::string(sheet == 1 ? "Numbers!" : "Strings!") + range.cellRange);
  }
};

void BM_ReadExcelRange(benchmark::State& state) {
  const Case c(state);
  const std::string path = bench_file();
  double corners = 0;
  for (auto _ : state) {
    TAB_GR table{0, 0, nullptr};
    if (kestra::import::read_excel_range(path.c_str(), c.range, &table) != KESTRA_OK) {
      state.SkipWithError("the range could not be read");
      return;
    }
    benchmark::DoNotOptimize(table.values);
    corners = table.values[0] + table.values[kRangeRows * kRangeColumns - 1];
    FreeTabGr(&table);
  }
  const int last_column = c.first_column + kRangeColumns - 1;
  if (corners != c.at(c.first_row, c.first_column) + c.at(c.last_row, last_column)) {
    state.SkipWithError("the corners read differ from what was written");
  }
  c.label(state);
}

// The whole export on a small picture with nothing drawn: the read, the
// table's checks and release, and the picture's creation. (Unlike a host's
// call below, no series is described, so none is drawn.)
void BM_CreateDiagXLS(benchmark::State& state) {
  const Case c(state);
  std::string path = bench_file();
  const DIAG_DISP disp = ReturnDiagDisp({0, 0, 64, 48}, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, 0, 0, nullptr, 0, 0);
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    if (CreateDiagXLS(path.data(), c.range, disp, &bitmap, 1, 0) != KESTRA_OK ||
        !DeleteObject(bitmap)) {
      state.SkipWithError("CreateDiagXLS failed");
      return;
    }
  }
  c.label(state);
}

// As a host calls it: every row of the range becomes a series of lines drawn
// into a 64 x 64 picture with option word 0.
void BM_CreateDiagXLSDrawn(benchmark::State& state) {
  const Case c(state);
  std::string path = bench_file();
  std::vector<GRAPH_ELEM> series(kRangeRows);
  for (int r = 0; r < kRangeRows; ++r) {
    series[static_cast<std::size_t>(r)] =
        ReturnGraphElem(RGB(r % 256, 80, 160), 1, const_cast<char*>("S"));
  }
  const DIAG_DISP disp = ReturnDiagDisp({0, 0, 64, 64}, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, 0, kRangeRows, series.data(), 0, 0);
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    if (CreateDiagXLS(path.data(), c.range, disp, &bitmap, 1, KESTRA_KIND_LINES) != KESTRA_OK ||
        !DeleteObject(bitmap)) {
      state.SkipWithError("CreateDiagXLS failed");
      return;
    }
  }
  c.label(state);
}

// The deflated bytes of a package entry.
std::string compressed_entry(const std::string& path, const char* name) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
  zip_stat_t stat;
  if (!zip || zip_stat(zip, name, 0, &stat) != 0 || stat.comp_method != ZIP_CM_DEFLATE) {
    std::abort();
  }
  std::string bytes(stat.comp_size, '\0');
  zip_file_t* file = zip_fopen(zip, name, ZIP_FL_COMPRESSED);
  if (!file || zip_fread(file, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size())) {
    std::abort();
  }
  zip_fclose(file);
  zip_close(zip);
  return bytes;
}

// Inflates `deflated` in 64 KiB pieces, counting `mark` in the output, until
// `end` has been seen (an empty `end`: until `count` marks were seen).
// Returns the marks counted. A mark split between pieces may go uncounted.
std::size_t inflate_until(const std::string& deflated, std::string_view mark,
                          std::string_view end, std::size_t count) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) std::abort();
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflated.data()));
  stream.avail_in = static_cast<uInt>(deflated.size());
  static char out[1 << 16];
  std::size_t seen = 0;
  for (bool done = false; !done;) {
    stream.next_out = reinterpret_cast<Bytef*>(out);
    stream.avail_out = sizeof out;
    const int status = inflate(&stream, Z_NO_FLUSH);
    const std::string_view piece(out, sizeof out - stream.avail_out);
    for (const char* p = piece.data();
         (p = static_cast<const char*>(memmem(p, piece.end() - p, mark.data(), mark.size())));
         ++p) {
      ++seen;
    }
    done = status != Z_OK || (end.empty() ? seen >= count : piece.find(end) != piece.npos);
  }
  inflateEnd(&stream);
  return seen;
}

void BM_Floor(benchmark::State& state) {
  const Case c(state);
  const std::string path = bench_file();
  const std::string sheet_part = "xl/worksheets/sheet" + std::to_string(c.sheet) + ".xml";
  const std::string sheet = compressed_entry(path, sheet_part.c_str());
  const std::string past_range = "<row r=\"" + std::to_string(c.last_row + 1) + "\"";
  int last_string = -1;
  for (int row = c.first_row; row <= c.last_row; ++row) {
    for (int column = c.first_column; column < c.first_column + kRangeColumns; ++column) {
      last_string = std::max(
          last_string,
          c.written().string_index[static_cast<std::size_t>(row - 1) * kColumns + column - 1]);
    }
  }
  const std::string strings =
      last_string >= 0 ? compressed_entry(path, "xl/sharedStrings.xml") : std::string();
  std::size_t cells = 0;
  for (auto _ : state) {
    cells = inflate_until(sheet, "<c ", past_range, 0);
    if (last_string >= 0) {
      inflate_until(strings, "<si>", {}, static_cast<std::size_t>(last_string) + 1);
    }
  }
  if (cells < static_cast<std::size_t>(c.last_row) * kColumns * 9 / 10) {
    state.SkipWithError("too few cells found");
  }
  c.label(state);
}

void ranges(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"sheet", "row"});
  for (int sheet : {1, 2}) {
    for (int first_row : {1, 2001}) bench->Args({sheet, first_row});
  }
  bench->Unit(benchmark::kMillisecond)->MinTime(1.0);
}
BENCHMARK(BM_Floor)->Apply(ranges);
BENCHMARK(BM_ReadExcelRange)->Apply(ranges);
BENCHMARK(BM_CreateDiagXLS)->Apply(ranges);
BENCHMARK(BM_CreateDiagXLSDrawn)
    ->ArgNames({"sheet", "row"})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
