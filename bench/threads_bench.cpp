// How the exports scale with threads: each thread draws its own pictures, so
// the rate on N threads over the rate on one shows what the threads share.
// CreateDiag: 640 x 400, 3 series over 12 categories, every decoration.
// CreateGraph: y=sin(x)*2 over -7..7 at a step of 0.001, 640 x 400.
// Compare items_per_second across threads:1, :2 and :8 of one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "kestra.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr int kSeries = 3;
constexpr int kCategories = 12;

struct Chart {
  Chart() {
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i * 37 % 23);
    for (int r = 0; r < kSeries; ++r) {
      std::snprintf(names[static_cast<std::size_t>(r)], sizeof names[0], "Series %d", r + 1);
      elements[static_cast<std::size_t>(r)] =
          ReturnGraphElem(RGB(60 * r, 200 - 50 * r, 90), r + 2, names[static_cast<std::size_t>(r)]);
    }
    for (int c = 0; c < kCategories; ++c) {
      char label[8];
      const int length = std::snprintf(label, sizeof label, "M%d", c + 1);
      labels.insert(labels.end(), label, label + length + 1);
    }
    disp = ReturnDiagDisp({0, 0, kWidth, kHeight}, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0),
                          6, RGB(0, 0, 0), 14, RGB(0, 0, 0), 10, const_cast<char*>("Month"),
                          const_cast<char*>("Value"), labels.data(),
                          static_cast<unsigned short>(labels.size()), kSeries, elements.data(), 1,
                          0x3FF);
    table = {kSeries, kCategories, values.data()};
  }
  std::vector<double> values = std::vector<double>(kSeries * kCategories);
  char names[kSeries][16];
  std::vector<GRAPH_ELEM> elements = std::vector<GRAPH_ELEM>(kSeries);
  std::vector<char> labels;
  DIAG_DISP disp;
  TAB_GR table;
};

const Chart& chart() {
  static const Chart built;
  return built;
}

OPTION_RECT plot_options() {
  OPTION_RECT options = ReturnOptionRect({0, 0, kWidth, kHeight}, RGB(255, 255, 255),
                                         RGB(200, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), -7, -3, 7, 3,
                                         -7, 7, RGB(0, 0, 0), 12, const_cast<char*>("x"),
                                         const_cast<char*>("y"), 0x7F);
  options.argStep = 0.001;
  return options;
}

template <class Draw>
void run(benchmark::State& state, Draw&& draw) {
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    if (draw(&bitmap) != KESTRA_OK || !DeleteObject(bitmap)) {
      state.SkipWithError("the export failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CreateDiag(benchmark::State& state) {
  const Chart& c = chart();
  run(state, [&](HBITMAP* bitmap) {
    return CreateDiag(c.table, c.disp, bitmap, 1, KESTRA_KIND_BARS);
  });
}

void BM_CreateGraph(benchmark::State& state) {
  const OPTION_RECT options = plot_options();
  run(state, [&](HBITMAP* bitmap) {
    return CreateGraph(const_cast<char*>("y=sin(x)*2"), options, bitmap, 1);
  });
}

void threads(benchmark::internal::Benchmark* bench) {
  bench->Threads(1)->Threads(2)->Threads(8)->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_CreateDiag)->Apply(threads);
BENCHMARK(BM_CreateGraph)->Apply(threads);

}  // namespace

int main(int argc, char** argv) {
  chart();  // built before the threads start
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
