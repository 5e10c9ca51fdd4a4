// EvaluateExpression: reduces a working copy of the tokens in place, folding
// each group, call and operation into a number token with a new value slot,
// and the per-point protocol around it.
#include <algorithm>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

bool at_end() { return ExprCursor >= ExprTokenCount; }
EXPR_TOKEN& work(std::int32_t index) { return ExprWorkTokens[index]; }

double number_at(std::int32_t q) { return ExprValues[work(q).code]; }

// The value of a number, constant or free-variable token.
double value_of(const EXPR_TOKEN& token, double x) {
  return token.kind == kind_number ? ExprValues[token.code] : word_value(token.code, x);
}

void make_number(std::int32_t q, std::int32_t slot) { work(q) = {kind_number, slot}; }

void remove_behind(std::int32_t q, std::int32_t k) {
  std::copy(ExprWorkTokens + q + 1 + k, ExprWorkTokens + ExprTokenCount, ExprWorkTokens + q + 1);
  ExprTokenCount -= k;
}

void convert_value(std::int32_t q, double x) {
  if (work(q).kind != kind_number) make_number(q, new_value(value_of(work(q), x)));
  ExprCursor = q + 1;
}

// Evaluates the group behind the "(" at ExprCursor into *value; the group's
// number and its ")" stand behind the "(" afterwards.
int evaluate_closed_group(double x, double* value) {
  const int result = EvaluateExpression(x, value);
  if (result == expr_ok) return expr_group_unclosed;  // no ")"
  return result == expr_closed ? expr_ok : result;
}

int fold_group(std::int32_t q, double x) {
  ExprCursor = q + 1;
  double v;
  if (const int result = evaluate_closed_group(x, &v)) return result;
  make_number(q, new_value(v));
  remove_behind(q, 2);
  ExprCursor = q + 1;
  return expr_ok;
}

// One closed group behind the word at q: "(", its number and ")" are removed.
int take_call_group(std::int32_t q, double x, double* value) {
  ExprCursor = q + 1;
  if (at_end()) return expr_function_at_end;
  if (!is_operator(work(q + 1), op_open)) return expr_call_without_group;
  ExprCursor = q + 2;
  if (const int result = evaluate_closed_group(x, value)) return result;
  remove_behind(q, 3);
  ExprCursor = q + 1;
  return expr_ok;
}

int fold_call(std::int32_t q, double x) {
  const std::int32_t word = work(q).code;
  double a, b = 0.0;
  if (const int result = take_call_group(q, x, &a)) return result;
  if (is_two_group_function(work(q))) {
    // A missing second group is a call without a group, even at the end.
    if (at_end() || !is_operator(work(q + 1), op_open)) return expr_call_without_group;
    if (const int result = take_call_group(q, x, &b)) return result;
  }
  make_number(q, new_value(apply_function(word, a, b)));
  return expr_ok;
}

int fold_sign(std::int32_t start, double x) {
  ExprCursor = start + 1;
  if (at_end()) return expr_sign_at_end;
  if (!is_value(work(start + 1))) return expr_sign_without_value;
  const double v = value_of(work(start + 1), x);
  make_number(start, new_value(is_operator(work(start), op_minus) ? -v : v));
  remove_behind(start, 1);
  ExprCursor = start + 1;
  return expr_ok;
}

// An operand at q: a group, a value or a call, each left as one number.
int take_operand(std::int32_t q, double x) {
  if (is_operator(work(q), op_open)) return fold_group(q, x);
  if (is_value(work(q))) {
    convert_value(q, x);
    return expr_ok;
  }
  if (is_function(work(q))) return fold_call(q, x);
  return expr_no_operand;
}

int take_first_operand(std::int32_t start, double x) {
  return is_sign(work(start)) ? fold_sign(start, x) : take_operand(start, x);
}

// Folds the operators of one level strictly from left to right.
void fold_pass(std::int32_t start, std::int32_t first_op, std::int32_t second_op) {
  std::int32_t q = start;
  while (q < ExprCursor) {
    const EXPR_TOKEN token = work(q);
    if (!is_operator(token, first_op) && !is_operator(token, second_op)) {
      ++q;
      continue;
    }
    const std::int32_t slot = new_value(apply_infix(token.code, number_at(q - 1), number_at(q + 1)));
    work(q - 1).code = slot;
    remove_behind(q - 1, 2);
    ExprCursor -= 2;
  }
}

}  // namespace

int EvaluateExpression(double x, double* result) {
  *result = 0.0;
  const std::int32_t start = ExprCursor;
  if (at_end()) return expr_empty_group;
  if (const int code = take_first_operand(start, x)) return code;
  bool closed = false;
  while (!at_end()) {
    if (is_operator(work(ExprCursor), op_close)) {
      closed = true;
      break;
    }
    if (!is_infix(work(ExprCursor))) return expr_missing_operator;
    ++ExprCursor;
    if (at_end()) return expr_operator_at_end;
    if (const int code = take_operand(ExprCursor, x)) return code;
  }
  fold_pass(start, op_times, op_divide);
  fold_pass(start, op_minus, op_plus);
  *result = number_at(start);
  return closed ? expr_closed : expr_ok;
}

PointEvaluator::PointEvaluator() : tokens_(ExprTokenCount), values_(ExprValueCount) {}

int PointEvaluator::evaluate(double x, double* result) {
  std::copy_n(ExprTokens, tokens_, ExprWorkTokens);
  ExprCursor = 2;
  const int code = EvaluateExpression(x, result);
  ExprTokenCount = tokens_;
  ExprValueCount = values_;
  return code;
}

}  // namespace kestra::plot
