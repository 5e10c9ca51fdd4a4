// Test helpers for the expression engine: the token table as a summary
// string and one evaluation by the per-point protocol.
#pragma once

#include <cstdio>
#include <string>

#include "plot/plot.h"

namespace kestra::test {

// The stored tokens separated by blanks; numbers print their value.
inline std::string token_text() {
  static const char* const words[] = {"pow", "sin", "cos", "tg", "log",
                                      "abs", "pi",  "e",   "y",  "x"};
  std::string text;
  for (int i = 0; i < plot::ExprTokenCount; ++i) {
    const plot::EXPR_TOKEN& token = plot::ExprTokens[i];
    if (!text.empty()) text += ' ';
    if (token.kind == plot::kind_operator) {
      text += "-+*/()=,"[token.code];
    } else if (token.kind == plot::kind_word) {
      text += words[token.code];
    } else {
      char number[64];
      std::snprintf(number, sizeof number, "%.17g", plot::ExprValues[token.code]);
      text += number;
    }
  }
  return text;
}

struct Evaluation {
  int code;
  double value;
};

// Evaluates the parsed expression at x as the plotter does.
inline Evaluation evaluate_at(double x) {
  plot::ExpressionState state = plot::thread_expression_state();
  plot::PointEvaluator evaluator(state);
  Evaluation result{};
  result.code = evaluator.evaluate(x, &result.value);
  return result;
}

}  // namespace kestra::test
