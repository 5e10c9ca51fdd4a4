// The expression engine's tables, their documented entry points, and the
// token classes every stage uses.
#include "plot/plot.h"

namespace kestra::plot {

thread_local EXPR_TOKEN ExprTokens[expr_capacity + 1];
thread_local std::int32_t ExprTokenCount;
thread_local double ExprValues[expr_capacity + 1];
thread_local std::int32_t ExprValueCount;
thread_local std::int32_t ExprCursor;
thread_local EXPR_TOKEN ExprWorkTokens[expr_capacity];

ExpressionState thread_expression_state() {
  return {ExprTokens, ExprTokenCount, ExprValues, ExprValueCount, ExprCursor, ExprWorkTokens};
}

int ParseExpression(const char* text) {
  ExpressionState state = thread_expression_state();
  return parse_expression(state, text);
}

int CheckExpression() {
  ExpressionState state = thread_expression_state();
  return check_group(state);
}

int EvaluateExpression(double x, double* result) {
  ExpressionState state = thread_expression_state();
  return evaluate_group(state, x, result);
}

bool is_operator(const EXPR_TOKEN& token, std::int32_t code) {
  return token.kind == kind_operator && token.code == code;
}

bool is_sign(const EXPR_TOKEN& token) {
  return is_operator(token, op_minus) || is_operator(token, op_plus);
}

bool is_infix(const EXPR_TOKEN& token) {
  return token.kind == kind_operator && token.code >= op_minus && token.code <= op_divide;
}

bool is_function(const EXPR_TOKEN& token) {
  return token.kind == kind_word && token.code >= word_pow && token.code <= word_abs;
}

bool is_two_group_function(const EXPR_TOKEN& token) {
  return token.kind == kind_word && (token.code == word_pow || token.code == word_log);
}

// Token 0 names the left-hand variable, which is no value on the right.
bool is_value(const ExpressionState& state, const EXPR_TOKEN& token) {
  if (token.kind == kind_number) return true;
  return token.kind == kind_word && token.code >= word_pi && token.code <= word_x &&
         token.code != state.tokens[0].code;
}

std::int32_t new_value(ExpressionState& state, double value) {
  const std::int32_t slot = state.value_count;
  state.values[slot] = value;
  if (state.value_count < expr_capacity) ++state.value_count;
  return slot;
}

}  // namespace kestra::plot
