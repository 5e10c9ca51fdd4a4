// The expression engine and CreateGraph over arbitrary text: no crash, an
// accepted expression always evaluates, the compiled program agrees with the
// reduction bit for bit, and a plot leaks no object.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kestra.h"
#include "platform/object_table.h"
#include "plot/plot.h"

namespace {

using namespace kestra::plot;

bool same_result(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void check_evaluation() {
  const std::int32_t tokens = ExprTokenCount;
  EXPR_TOKEN before[expr_capacity + 1];
  std::memcpy(before, ExprTokens, sizeof before);
  ExpressionState state = thread_expression_state();
  auto program = Program::compile(state);
  PointEvaluator evaluator(state);
  for (double x : {-2.5, 0.0, 0.75, 3.0}) {
    double value;
    const int code = evaluator.evaluate(x, &value);
    if (tokens <= 2) {
      if (code != expr_empty_group) std::abort();
      continue;
    }
    if (code != expr_ok) std::abort();  // the checker accepted it
    if (program && !same_result(program->run(x), value)) std::abort();
  }
  if (ExprTokenCount != tokens || std::memcmp(before, ExprTokens, sizeof before) != 0) std::abort();
}

void check_plot(const char* text) {
  const std::size_t live = kestra::platform::live_objects();
  OPTION_RECT options = ReturnOptionRect({0, 0, 64, 48}, 0xFFFFFF, 0xFF, 0, 0x8000, -4, -4, 4, 4,
                                         -4, 4, 0, 10, const_cast<char*>("x"),
                                         const_cast<char*>("y"), 0x7F);
  options.argStep = 0.05;
  HBITMAP bitmap = nullptr;
  const int status = CreateGraph(const_cast<char*>(text), options, &bitmap, 1);
  if (status != KESTRA_OK && status != KESTRA_BAD_EXPRESSION) std::abort();
  if (status == KESTRA_OK) DeleteObject(bitmap);
  if (kestra::platform::live_objects() != live) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The expression text ends at the first zero byte, as a C string does.
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ParseExpression(text.c_str()) == expr_ok) check_evaluation();
  check_plot(text.c_str());
  return 0;
}
