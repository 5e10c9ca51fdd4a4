// Reading a 1000 x 100 cell range (B2001:CW3000) from an .xlsx workbook of
// 5,000 rows x 120 columns written by libxlsxwriter: numbers, and every
// seventh cell a text with a decimal comma (a shared string). The workbook is
// left at $KESTRA_XLSX_BENCH_FILE (default /tmp/kestra-xlsx-bench.xlsx) so
// xlsx_bench.sh can time openpyxl on the same file.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "import/spreadsheet.h"

namespace {

constexpr int kRows = 5000;
constexpr int kColumns = 120;
constexpr char kRange[] = "B2001:CW3000";
constexpr int kRangeCells = 1000 * 100;

std::string bench_file() {
  const char* path = std::getenv("KESTRA_XLSX_BENCH_FILE");
  return path ? path : "/tmp/kestra-xlsx-bench.xlsx";
}

// Writes the workbook once; returns the value written at B2001.
double write_workbook(const std::string& path) {
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> cents(-100000, 100000);
  double first = 0;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int value = cents(random);
      if ((row * kColumns + column) % 7 == 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%d,%02d", value / 100, std::abs(value % 100));
        worksheet_write_string(sheet, row, column, text, nullptr);
      } else {
        worksheet_write_number(sheet, row, column, value / 100.0, nullptr);
      }
      if (row == 2000 && column == 1) first = value / 100.0;
    }
  }
  if (workbook_close(book) != LXW_NO_ERROR) std::abort();
  return first;
}

void BM_ReadExcelRange(benchmark::State& state) {
  const std::string path = bench_file();
  const double first = write_workbook(path);
  const EXCEL_TAB range{1, "B2001:CW3000"};
  double checked = 0;
  for (auto _ : state) {
    TAB_GR table{0, 0, nullptr};
    if (kestra::import::read_excel_range(path.c_str(), range, &table) != KESTRA_OK) {
      state.SkipWithError("the range could not be read");
      return;
    }
    benchmark::DoNotOptimize(table.values);
    checked = table.values[0];
    FreeTabGr(&table);
  }
  if (checked != first) state.SkipWithError("B2001 read a different value than written");
  state.SetItemsProcessed(state.iterations() * kRangeCells);
  state.SetLabel(kRange);
}
BENCHMARK(BM_ReadExcelRange)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
