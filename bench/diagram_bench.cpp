// CreateDiag speed: a 1920 x 1080 grouped-bar diagram of 8 series over 50
// categories with every text, against a bare canvas of the same size; the
// same diagram as the bytes of an SVG, a PDF and a smooth PNG file; and,
// for python/bench/diagram_bench.py, the chart of its values read back.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "kestra.h"
#include "kestra_vector.h"

namespace {

constexpr int kSeries = 8;
constexpr int kCategories = 50;

// Uniform values from 0 to 100 from a fixed seed.
std::vector<double> random_values() {
  std::vector<double> values(kSeries * kCategories);
  std::mt19937 random(42);
  std::uniform_real_distribution<double> value(0.0, 100.0);
  for (double& v : values) v = value(random);
  return values;
}

// A spread of values from 0 to 100 that the Python benchmark's
// chart_values(seed) computes to the same doubles.
std::vector<double> python_values(int seed) {
  std::vector<double> values(kSeries * kCategories);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<double>((seed + static_cast<int>(i)) * 7919 % 10007) / 100.07;
  }
  return values;
}

// The chart's inputs.
struct Chart {
  explicit Chart(std::vector<double> cells = random_values()) : values(std::move(cells)) {
    for (int r = 0; r < kSeries; ++r) {
      char name[16];
      std::snprintf(name, sizeof name, "Series %d", r + 1);
      const COLORREF color = RGB(40 + 25 * r, 200 - 20 * r, 60 + 15 * r);
      elements[static_cast<std::size_t>(r)] =
          ReturnGraphElem(color, r % 7 + 1, name);
    }
    for (int c = 0; c < kCategories; ++c) {
      char label[16];
      const int length = std::snprintf(label, sizeof label, "C%d", c + 1);
      labels.insert(labels.end(), label, label + length + 1);  // with its terminator
    }
    disp = ReturnDiagDisp({0, 0, 1920, 1080}, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), 10,
                          RGB(0, 0, 0), 14, RGB(0, 0, 0), 9, const_cast<char*>("Category"),
                          const_cast<char*>("Value"), labels.data(),
                          static_cast<unsigned short>(labels.size()), kSeries, elements.data(), 1,
                          0x3FF);
    table = {kSeries, kCategories, values.data()};
  }
  std::vector<double> values;
  std::vector<GRAPH_ELEM> elements = std::vector<GRAPH_ELEM>(kSeries);
  std::vector<char> labels;
  DIAG_DISP disp;
  TAB_GR table;
};

void run(benchmark::State& state, const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind) {
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    const int status = CreateDiag(table, disp, &bitmap, 1, kind);
    benchmark::DoNotOptimize(bitmap);
    if (status != KESTRA_OK || !DeleteObject(bitmap)) {
      state.SkipWithError("CreateDiag failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GroupedBars1920x1080(benchmark::State& state) {
  const Chart chart;
  run(state, chart.table, chart.disp, KESTRA_KIND_BARS);
  // Real work was done: count the pixels that are not background.
  HBITMAP bitmap = nullptr;
  if (CreateDiag(chart.table, chart.disp, &bitmap, 1, KESTRA_KIND_BARS) != KESTRA_OK) return;
  BITMAPINFO info{};
  info.bmiHeader = {40, 1920, 1080, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(1920 * 1080);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, 1080, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(bitmap);
  std::size_t painted = 0;
  for (std::uint32_t p : pixels) painted += (p & 0xFFFFFF) != 0xFFFFFF;
  if (painted == 0) state.SkipWithError("nothing was drawn");
  state.counters["painted_pixels"] = static_cast<double>(painted);
}
BENCHMARK(BM_GroupedBars1920x1080)->Unit(benchmark::kMillisecond);

// The floor: a new black 1920 x 1080 picture with nothing drawn on it.
void BM_BareCanvas1920x1080(benchmark::State& state) {
  Chart chart;
  chart.disp = ReturnDiagDisp({0, 0, 1920, 1080}, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr,
                              nullptr, 0, 0, nullptr, 0, 0);
  run(state, chart.table, chart.disp, 0);
}
BENCHMARK(BM_BareCanvas1920x1080)->Unit(benchmark::kMillisecond);

// The same picture as a file's bytes in a vector front-end format.
void run_vector(benchmark::State& state, kestra::PictureFormat format) {
  const Chart chart;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const kestra::PictureBytes picture =
        kestra::draw_diagram(chart.table, chart.disp, KESTRA_KIND_BARS, {format, 1.0, true});
    if (picture.status != KESTRA_OK || picture.bytes.empty()) {
      state.SkipWithError("draw_diagram failed");
      return;
    }
    bytes = picture.bytes.size();
    benchmark::DoNotOptimize(picture.bytes.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_GroupedBars1920x1080Svg(benchmark::State& state) {
  run_vector(state, kestra::PictureFormat::svg);
}
BENCHMARK(BM_GroupedBars1920x1080Svg)->Unit(benchmark::kMillisecond);

void BM_GroupedBars1920x1080Pdf(benchmark::State& state) {
  run_vector(state, kestra::PictureFormat::pdf);
}
BENCHMARK(BM_GroupedBars1920x1080Pdf)->Unit(benchmark::kMillisecond);

void BM_GroupedBars1920x1080SmoothPng(benchmark::State& state) {
  run_vector(state, kestra::PictureFormat::png);
}
BENCHMARK(BM_GroupedBars1920x1080SmoothPng)->Unit(benchmark::kMillisecond);

constexpr std::size_t kRowBytes = 1920 * 3;  // a multiple of 4: no padding

// As a host reads the picture: GetDIBits as 24-bit top-down rows (blue,
// green, red) into a new buffer; null when a call fails.
std::unique_ptr<std::uint8_t[]> draw_and_read(const Chart& chart) {
  HBITMAP bitmap = nullptr;
  if (CreateDiag(chart.table, chart.disp, &bitmap, 1, KESTRA_KIND_BARS) != KESTRA_OK) return {};
  auto pixels = std::make_unique_for_overwrite<std::uint8_t[]>(kRowBytes * 1080);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1920, -1080, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, 0, 1080, pixels.get(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(bitmap);
  if (lines != 1080) return {};
  return pixels;
}

// The Python benchmark's chart drawn and read back, on one thread and on
// two (compare items_per_second).
void BM_ReadBackBars1920x1080(benchmark::State& state) {
  const Chart chart(python_values(42));
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
  for (std::size_t i = 0; pixels && i < kRowBytes * 1080; ++i) byte_sum += pixels[i];
  state.counters["byte_sum"] =
      benchmark::Counter(static_cast<double>(byte_sum), benchmark::Counter::kAvgThreads);
}
BENCHMARK(BM_ReadBackBars1920x1080)
    ->Unit(benchmark::kMillisecond)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
