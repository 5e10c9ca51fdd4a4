// The browser build's diagram call, natively: the same C++ code (web/src)
// with the chart of web_diagram_bench.mjs, from the command line's options to
// the RGBA picture copied into a new buffer the caller owns, as kestra.mjs
// hands it out. What is left out is only JavaScript's part: turning the
// options object into strings and the values into a Float64Array.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "call.h"

namespace {

constexpr int kSeries = 8;
constexpr int kCategories = 50;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The JavaScript chart's values: its generator computed in doubles as
// JavaScript computes it, so both sides draw the same bars.
std::vector<double> chart_values() {
  std::vector<double> values;
  double state = 42;
  for (int i = 0; i < kSeries * kCategories; ++i) {
    state = std::fmod(state * 1103515245.0 + 12345.0, 2147483648.0);
    values.push_back(state / 2147483648.0 * 100.0);
  }
  return values;
}

std::string numbered(std::string prefix, int number) { return prefix += std::to_string(number); }

std::string hex_color(int r, int g, int b) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
  return text;
}

// The options kestra.mjs makes of the chart's options object, in its order.
std::vector<std::string> chart_arguments() {
  std::string colors;
  std::string styles;
  for (int r = 0; r < kSeries; ++r) {
    if (r > 0) {
      colors += ',';
      styles += ',';
    }
    colors += hex_color(40 + 25 * r, 200 - 20 * r, 60 + 15 * r);
    styles += std::to_string(r % 7 + 1);
  }
  const std::string size = std::to_string(kWidth) + 'x' + std::to_string(kHeight);
  return {"--colors", colors, "--styles", styles, "--caption-x", "Category", "--caption-y",
          "Value", "--divisions", "10", "--caption-font", "14", "--value-font", "9",
          "--value-color", "black", "--size", size};
}

// FNV-1a over the RGBA bytes; web_diagram_bench.mjs computes the same of
// its picture to show that both sides drew the same.
std::uint32_t picture_hash(const std::vector<std::uint8_t>& rgba) {
  std::uint32_t hash = 2166136261u;
  for (std::uint8_t byte : rgba) hash = (hash ^ byte) * 16777619u;
  return hash;
}

struct Chart {
  std::vector<double> values = chart_values();
  std::vector<std::string> args = chart_arguments();
  std::vector<std::string> names;
  std::vector<std::string> labels;
  Chart() {
    for (int r = 0; r < kSeries; ++r) names.push_back(numbered("Series ", r + 1));
    for (int c = 0; c < kCategories; ++c) labels.push_back(numbered("C", c + 1));
  }
};

// One call as kestra.mjs makes it; the picture is empty when it fails.
std::vector<std::uint8_t> diagram_call(const Chart& chart) {
  using kestra::web::call_input;
  using kestra::web::call_result;
  kestra::web::begin_call();
  call_input().args = chart.args;
  kestra::web::set_values(kSeries, kCategories, chart.values.data());
  call_input().names = chart.names;
  call_input().labels = chart.labels;
  if (kestra::web::run_command(kestra::web::draw_diagram) != KESTRA_OK) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(call_result().rgba.get());
  return {bytes, bytes + std::size_t{4} * call_result().width * call_result().height};
}

void BM_WebDiagramCall1920x1080(benchmark::State& state) {
  const Chart chart;
  for (auto _ : state) {
    const std::vector<std::uint8_t> picture = diagram_call(chart);
    benchmark::DoNotOptimize(picture.data());
    if (picture.empty()) {
      state.SkipWithError(kestra::web::call_result().message.c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
  // The check that real work was done, and what the Node script compares.
  state.counters["picture_hash"] = static_cast<double>(picture_hash(diagram_call(chart)));
  kestra::web::begin_call();
}
BENCHMARK(BM_WebDiagramCall1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
