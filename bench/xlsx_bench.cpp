// Reading a 1000 x 100 cell range from an .xlsx workbook of 5,000 rows x 120
// columns written by libxlsxwriter: numbers, and every seventh cell a text
// with a decimal comma (a shared string). Two ranges: A1:CV1000 at the top of
// the sheet, and B2001:CW3000 in its middle, where 2,000 rows above the range
// are inflated and scanned as well. The workbook is left at
// $KESTRA_XLSX_BENCH_FILE (default /tmp/kestra-xlsx-bench.xlsx) so
// xlsx_bench.sh can time openpyxl on the same file.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "import/spreadsheet.h"

namespace {

constexpr int kRows = 5000;
constexpr int kColumns = 120;
constexpr int kRangeCells = 1000 * 100;

std::string bench_file() {
  const char* path = std::getenv("KESTRA_XLSX_BENCH_FILE");
  return path ? path : "/tmp/kestra-xlsx-bench.xlsx";
}

// The workbook's value at a 0-based row and column, as written.
using Written = std::vector<double>;

// Writes the workbook; returns the values written.
Written write_workbook(const std::string& path) {
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> cents(-100000, 100000);
  Written written;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int value = cents(random);
      if ((row * kColumns + column) % 7 == 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", value / 100.0);
        *std::strchr(text, '.') = ',';
        worksheet_write_string(sheet, row, column, text, nullptr);
      } else {
        worksheet_write_number(sheet, row, column, value / 100.0, nullptr);
      }
      written.push_back(value / 100.0);
    }
  }
  if (workbook_close(book) != LXW_NO_ERROR) std::abort();
  return written;
}

const Written& workbook() {
  static const Written written = write_workbook(bench_file());
  return written;
}

// state.range(0): the range's first row (1-based); its first column is the
// same number, so A1:CV1000 and B2001:CW3000 need one argument each.
void BM_ReadExcelRange(benchmark::State& state) {
  const Written& written = workbook();
  const int first_row = static_cast<int>(state.range(0));
  const int first_column = first_row == 1 ? 1 : 2;
  EXCEL_TAB range{1, {}};
  char last[20];
  kestra::import::format_cell_address(first_column, first_row, range.cellRange);
  kestra::import::format_cell_address(first_column + 99, first_row + 999, last);
  std::strcat(std::strcat(range.cellRange, ":"), last);  // at most 13 characters
  const std::string path = bench_file();
  double sum = 0;
  for (auto _ : state) {
    TAB_GR table{0, 0, nullptr};
    if (kestra::import::read_excel_range(path.c_str(), range, &table) != KESTRA_OK) {
      state.SkipWithError("the range could not be read");
      return;
    }
    benchmark::DoNotOptimize(table.values);
    sum = table.values[0] + table.values[kRangeCells - 1];
    FreeTabGr(&table);
  }
  const auto at = [&](int row, int column) {
    return written[static_cast<std::size_t>(row - 1) * kColumns + (column - 1)];
  };
  if (sum != at(first_row, first_column) + at(first_row + 999, first_column + 99)) {
    state.SkipWithError("the corners read differ from what was written");
  }
  state.SetItemsProcessed(state.iterations() * kRangeCells);
  state.SetLabel(range.cellRange);
}
BENCHMARK(BM_ReadExcelRange)->Arg(1)->Arg(2001)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
