// CreateGraph speed: 2,000,001 samples from -1 to 1 (step 1e-6) drawn into a
// 640 x 480 picture, against muparser evaluating the same function at the
// same points. Per item: one sample drawn, or one muparser evaluation.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>

#include "kestra.h"

namespace {

constexpr double kFrom = -1.0;
constexpr double kTo = 1.0;
constexpr double kStep = 1e-6;

// Samples the argument as CreateGraph does: accumulated double additions.
template <class Sample>
long for_each_argument(Sample&& sample) {
  long samples = 0;
  double x = kFrom;
  do {
    sample(x);
    ++samples;
    x += kStep;
  } while (x <= kTo);
  return samples;
}

const long kSamples = for_each_argument([](double) {});

struct Function {
  const char* ours;      // in our expression language
  const char* muparser;  // the same operations in muparser's
  double (*native)(double);
};

const Function kSine = {"y=sin(x)*2", "sin(x)*2", [](double x) { return std::sin(x) * 2; }};
const Function kMixed = {
    "y=pow(x)(2)+log(10)(x+2)*3-abs(x)/4", "x^2+ln(x+2)/ln(10)*3-abs(x)/4", [](double x) {
      return std::pow(x, 2.0) + std::log(x + 2) / std::log(10.0) * 3 - std::fabs(x) / 4;
    }};

void BM_CreateGraph(benchmark::State& state, const Function& function) {
  OPTION_RECT options = ReturnOptionRect({0, 0, 640, 480}, RGB(255, 255, 255), RGB(200, 0, 0),
                                         RGB(0, 0, 0), RGB(0, 0, 0), kFrom, -4, kTo, 4, kFrom, kTo,
                                         RGB(0, 0, 0), 12, const_cast<char*>("x"),
                                         const_cast<char*>("y"), 0x1F);
  options.argStep = kStep;
  for (auto _ : state) {
    HBITMAP bitmap = nullptr;
    const int status = CreateGraph(const_cast<char*>(function.ours), options, &bitmap, 1);
    benchmark::DoNotOptimize(bitmap);
    if (status != KESTRA_OK || !DeleteObject(bitmap)) {
      state.SkipWithError("CreateGraph failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_Muparser(benchmark::State& state, const Function& function) {
  double x = 0.0;
  mu::Parser parser;
  parser.DefineVar("x", &x);
  parser.SetExpr(function.muparser);
  double largest_error = 0.0;
  for (auto _ : state) {
    double sum = 0.0;
    for_each_argument([&](double t) {
      x = t;
      sum += parser.Eval();
    });
    benchmark::DoNotOptimize(sum);
  }
  // The same function: compare with plain C++ at a few points.
  for (double t : {-0.9, -0.1, 0.0, 0.5, 1.0}) {
    x = t;
    largest_error = std::fmax(largest_error, std::fabs(parser.Eval() - function.native(t)));
  }
  if (largest_error > 1e-12) state.SkipWithError("muparser computes another function");
  state.SetItemsProcessed(state.iterations() * kSamples);
}

BENCHMARK_CAPTURE(BM_CreateGraph, sine, kSine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Muparser, sine, kSine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CreateGraph, mixed, kMixed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Muparser, mixed, kMixed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
