// HTML table reading speed on a 50 MB table of the kind spreadsheet programs
// write, against only reading the file's bytes in the same block size, and
// against reading them and finding every '<'.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "import/html_table.h"
#include "kestra.h"

namespace {

constexpr std::size_t file_size = 50u << 20;

// Rows of eight numeric cells, indented, with attributes as LibreOffice Calc
// writes them or bare; one "/table" at the end.
std::string make_html(bool attributes) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> number(-99999, 99999);
  std::string html = "<!DOCTYPE html>\n<html><head><title>sales</title></head>\n<body>\n";
  html += "<table cellspacing=\"0\" border=\"0\">\n";
  while (html.size() < file_size) {
    html += "\t<tr>\n";
    for (int c = 0; c < 8; ++c) {
      const std::string value = std::to_string(number(random) / 100.0);
      html += attributes ? "\t\t<td align=\"right\" sdval=\"" + value + "\" sdnum=\"1033;\">"
                         : std::string("\t\t<td>");
      html += value + "</td>\n";
    }
    html += "\t</tr>\n";
  }
  html += "</table>\n</body>\n</html>\n";
  return html;
}

// The generated files, written once and removed at exit.
class HtmlFiles {
 public:
  HtmlFiles() {
    for (bool attributes : {false, true}) {
      const std::string name =
          attributes ? "kestra_html_bench_calc.html" : "kestra_html_bench.html";
      const std::string path = (std::filesystem::temp_directory_path() / name).string();
      const std::string html = make_html(attributes);
      std::FILE* file = std::fopen(path.c_str(), "wb");
      if (!file || std::fwrite(html.data(), 1, html.size(), file) != html.size()) std::abort();
      std::fclose(file);
      paths_[attributes] = path;
    }
  }
  ~HtmlFiles() {
    for (const std::string& path : paths_) std::filesystem::remove(path);
  }
  const std::string& path(bool attributes) const { return paths_[attributes]; }

 private:
  std::string paths_[2];
};

const std::string& html_file(bool attributes) {
  static const HtmlFiles files;
  return files.path(attributes);
}

// Argument 1: cells with attributes; 0: bare cells.
void BM_ReadHtmlTable(benchmark::State& state) {
  const std::string& path = html_file(state.range(0) != 0);
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  TAB_GR table{};
  for (auto _ : state) {
    if (kestra::import::ReadHtmlTable(path.c_str(), &table) != KESTRA_OK) std::abort();
    benchmark::DoNotOptimize(table.values);
    FreeTabGr(&table);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  // 999 items: "table", 38 rows of 1 + 8 x 3 + 1 items, then "tr" and 4 cells
  // of a 39th row: 308 cells in 39 rows.
  if (kestra::import::ReadHtmlTable(path.c_str(), &table) != KESTRA_OK || table.rows != 39 ||
      table.cols != 7) {
    state.SkipWithError("wrong table");
  }
  FreeTabGr(&table);
}
BENCHMARK(BM_ReadHtmlTable)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Baseline: the same file read in 64 KiB blocks without looking at the bytes.
void BM_ReadFileBlocks(benchmark::State& state) {
  const std::string& path = html_file(true);
  std::int64_t bytes = 0;
  static char block[64 * 1024];
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::setvbuf(file, nullptr, _IONBF, 0);
    while (const std::size_t n = std::fread(block, 1, sizeof block, file)) bytes += n;
    std::fclose(file);
    benchmark::DoNotOptimize(block);
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadFileBlocks)->Unit(benchmark::kMillisecond);

// The floor of a scan: the same blocks read, and every '<' found with memchr.
void BM_ReadFileFindTags(benchmark::State& state) {
  const std::string& path = html_file(state.range(0) != 0);
  std::int64_t bytes = 0;
  std::size_t tags = 0;
  static char block[64 * 1024];
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::setvbuf(file, nullptr, _IONBF, 0);
    while (const std::size_t n = std::fread(block, 1, sizeof block, file)) {
      for (const char* p = block; (p = static_cast<const char*>(
                                       std::memchr(p, '<', static_cast<std::size_t>(block + n - p))));
           ++p) {
        ++tags;
      }
      bytes += static_cast<std::int64_t>(n);
    }
    std::fclose(file);
  }
  benchmark::DoNotOptimize(tags);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadFileFindTags)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The export end to end on a small picture: the scan, the table and a
// diagram of its 39 series.
void BM_CreateDiagHTML(benchmark::State& state) {
  std::string path = html_file(state.range(0) != 0);
  std::vector<GRAPH_ELEM> series(39, ReturnGraphElem(RGB(0, 90, 200), 1, const_cast<char*>("S")));
  const DIAG_DISP disp = ReturnDiagDisp({0, 0, 64, 64}, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, 0, 39, series.data(), 0, 0);
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    if (CreateDiagHTML(path.data(), disp, &bitmap, 1, KESTRA_KIND_LINES) != KESTRA_OK ||
        !DeleteObject(bitmap)) {
      state.SkipWithError("CreateDiagHTML failed");
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_CreateDiagHTML)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
