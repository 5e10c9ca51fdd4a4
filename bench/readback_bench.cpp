// The C side of python/bench/diagram_bench.py: the same 1920 x 1080 chart
// (8 series over 50 categories, every decoration, the values of its
// chart_values(42)), drawn by CreateDiag into a new bitmap and read back as
// a host reads it: GetDIBits as 24-bit top-down rows (blue, green, red) into
// a new buffer per call, on one thread and on two (compare items_per_second).
// DrawOnly leaves the read-back out.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "kestra.h"

namespace {

constexpr int kSeries = 8;
constexpr int kCategories = 50;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Chart {
  explicit Chart(int seed) {
    // A spread of values from 0 to 100 that Python computes to the same doubles.
    for (std::size_t i = 0; i < values.size(); ++i) {
      values[i] = static_cast<double>((seed + static_cast<int>(i)) * 7919 % 10007) / 100.07;
    }
    for (int r = 0; r < kSeries; ++r) {
      char name[16];
      std::snprintf(name, sizeof name, "Series %d", r + 1);
      const COLORREF color = RGB(40 + 25 * r, 200 - 20 * r, 60 + 15 * r);
      elements[static_cast<std::size_t>(r)] = ReturnGraphElem(color, r % 7 + 1, name);
    }
    for (int c = 0; c < kCategories; ++c) {
      char label[16];
      const int length = std::snprintf(label, sizeof label, "C%d", c + 1);
      labels.insert(labels.end(), label, label + length + 1);  // with its terminator
    }
    disp = ReturnDiagDisp({0, 0, kWidth, kHeight}, RGB(255, 255, 255), RGB(0, 0, 0),
                          RGB(0, 0, 0), 10, RGB(0, 0, 0), 14, RGB(0, 0, 0), 9,
                          const_cast<char*>("Category"), const_cast<char*>("Value"),
                          labels.data(), static_cast<unsigned short>(labels.size()), kSeries,
                          elements.data(), 1, 0x3FF);
    table = {kSeries, kCategories, values.data()};
  }
  std::vector<double> values = std::vector<double>(kSeries * kCategories);
  std::vector<GRAPH_ELEM> elements = std::vector<GRAPH_ELEM>(kSeries);
  std::vector<char> labels;
  DIAG_DISP disp;
  TAB_GR table;
};

constexpr std::size_t kRowBytes = std::size_t{kWidth} * 3;  // a multiple of 4: no padding

// The picture's rows, or null when a call fails.
std::unique_ptr<std::uint8_t[]> draw_and_read(const Chart& chart) {
  HBITMAP bitmap = nullptr;
  if (CreateDiag(chart.table, chart.disp, &bitmap, 1, KESTRA_KIND_BARS) != KESTRA_OK) return {};
  auto pixels = std::make_unique_for_overwrite<std::uint8_t[]>(kRowBytes * kHeight);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, 0, kHeight, pixels.get(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(bitmap);
  if (lines != kHeight) return {};
  return pixels;
}

void BM_ChartReadBack(benchmark::State& state) {
  const Chart chart(42);
  for (auto _ : state) {
    auto pixels = draw_and_read(chart);
    if (!pixels) {
      state.SkipWithError("CreateDiag or GetDIBits failed");
      return;
    }
    benchmark::DoNotOptimize(pixels.get());
  }
  state.SetItemsProcessed(state.iterations());
  // The sum of every byte, outside the timing: the Python benchmark checks
  // that it drew the same picture.
  const auto pixels = draw_and_read(chart);
  std::uint64_t byte_sum = 0;
  for (std::size_t i = 0; pixels && i < kRowBytes * kHeight; ++i) byte_sum += pixels[i];
  state.counters["byte_sum"] =
      benchmark::Counter(static_cast<double>(byte_sum), benchmark::Counter::kAvgThreads);
}
BENCHMARK(BM_ChartReadBack)->Unit(benchmark::kMillisecond)->Threads(1)->Threads(2)->UseRealTime();

void BM_ChartDrawOnly(benchmark::State& state) {
  const Chart chart(42);
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    const int status = CreateDiag(chart.table, chart.disp, &bitmap, 1, KESTRA_KIND_BARS);
    benchmark::DoNotOptimize(bitmap);
    if (status != KESTRA_OK || !DeleteObject(bitmap)) {
      state.SkipWithError("CreateDiag failed");
      return;
    }
  }
}
BENCHMARK(BM_ChartDrawOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
