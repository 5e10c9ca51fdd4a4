// The evaluator: reduces a working copy of the tokens in place, folding each
// group, call and operation into a number token with a new value slot, and
// the per-point protocol around it.
#include <algorithm>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

// The reduction of one group for the free variable x. Each rule leaves its
// operand as one number token and returns 0, or the code of the rule broken.
class Reducer {
 public:
  Reducer(ExpressionState& state, double x) : s_(state), x_(x) {}

  // group = first-operand { infix operand } [ ")" ] ;
  // "*" and "/" are folded first, then "-" and "+", each level left to right.
  int group(double* result) {
    *result = 0.0;
    const std::int32_t start = s_.cursor;
    if (at_end()) return expr_empty_group;
    if (const int code = first_operand(start)) return code;
    bool closed = false;
    while (!at_end()) {
      if (is_operator(work(s_.cursor), op_close)) {
        closed = true;
        break;
      }
      if (!is_infix(work(s_.cursor))) return expr_missing_operator;
      ++s_.cursor;
      if (at_end()) return expr_operator_at_end;
      if (const int code = operand(s_.cursor)) return code;
    }
    fold_pass(start, op_times, op_divide);
    fold_pass(start, op_minus, op_plus);
    *result = number_at(start);
    return closed ? expr_closed : expr_ok;
  }

 private:
  bool at_end() const { return s_.cursor >= s_.token_count; }
  EXPR_TOKEN& work(std::int32_t index) { return s_.work_tokens[index]; }
  double number_at(std::int32_t q) { return s_.values[work(q).code]; }

  // The value of a number, constant or free-variable token.
  double value_of(const EXPR_TOKEN& token) const {
    return token.kind == kind_number ? s_.values[token.code] : word_value(token.code, x_);
  }

  void make_number(std::int32_t q, std::int32_t slot) { work(q) = {kind_number, slot}; }

  void remove_behind(std::int32_t q, std::int32_t k) {
    std::copy(s_.work_tokens + q + 1 + k, s_.work_tokens + s_.token_count, s_.work_tokens + q + 1);
    s_.token_count -= k;
  }

  void convert_value(std::int32_t q) {
    if (work(q).kind != kind_number) make_number(q, new_value(s_, value_of(work(q))));
    s_.cursor = q + 1;
  }

  // Evaluates the group behind the "(" at the cursor into *value; the
  // group's number and its ")" stand behind the "(" afterwards.
  int closed_group_value(double* value) {
    const int result = group(value);
    if (result == expr_ok) return expr_group_unclosed;  // no ")"
    return result == expr_closed ? expr_ok : result;
  }

  // closed-group = "(" group ;
  int fold_group(std::int32_t q) {
    s_.cursor = q + 1;
    double v;
    if (const int result = closed_group_value(&v)) return result;
    make_number(q, new_value(s_, v));
    remove_behind(q, 2);
    s_.cursor = q + 1;
    return expr_ok;
  }

  // One closed group behind the word at q: "(", its number and ")" are removed.
  int take_call_group(std::int32_t q, double* value) {
    s_.cursor = q + 1;
    if (at_end()) return expr_function_at_end;
    if (!is_operator(work(q + 1), op_open)) return expr_call_without_group;
    s_.cursor = q + 2;
    if (const int result = closed_group_value(value)) return result;
    remove_behind(q, 3);
    s_.cursor = q + 1;
    return expr_ok;
  }

  // call = function closed-group [ closed-group ] ;  the second for pow and log only
  int fold_call(std::int32_t q) {
    const std::int32_t word = work(q).code;
    double a, b = 0.0;
    if (const int result = take_call_group(q, &a)) return result;
    if (is_two_group_function(work(q))) {
      // A missing second group is a call without a group, even at the end.
      if (at_end() || !is_operator(work(q + 1), op_open)) return expr_call_without_group;
      if (const int result = take_call_group(q, &b)) return result;
    }
    make_number(q, new_value(s_, apply_function(word, a, b)));
    return expr_ok;
  }

  // ( "-" | "+" ) value
  int fold_sign(std::int32_t start) {
    s_.cursor = start + 1;
    if (at_end()) return expr_sign_at_end;
    if (!is_value(s_, work(start + 1))) return expr_sign_without_value;
    const double v = value_of(work(start + 1));
    make_number(start, new_value(s_, is_operator(work(start), op_minus) ? -v : v));
    remove_behind(start, 1);
    s_.cursor = start + 1;
    return expr_ok;
  }

  // operand = closed-group | value | call ;
  int operand(std::int32_t q) {
    if (is_operator(work(q), op_open)) return fold_group(q);
    if (is_value(s_, work(q))) {
      convert_value(q);
      return expr_ok;
    }
    if (is_function(work(q))) return fold_call(q);
    return expr_no_operand;
  }

  // first-operand = ( "-" | "+" ) value | operand ;
  int first_operand(std::int32_t start) {
    return is_sign(work(start)) ? fold_sign(start) : operand(start);
  }

  // Folds the operators of one level strictly from left to right.
  void fold_pass(std::int32_t start, std::int32_t first_op, std::int32_t second_op) {
    std::int32_t q = start;
    while (q < s_.cursor) {
      const EXPR_TOKEN token = work(q);
      if (!is_operator(token, first_op) && !is_operator(token, second_op)) {
        ++q;
        continue;
      }
      const std::int32_t slot =
          new_value(s_, apply_infix(token.code, number_at(q - 1), number_at(q + 1)));
      work(q - 1).code = slot;
      remove_behind(q - 1, 2);
      s_.cursor -= 2;
    }
  }

  ExpressionState& s_;
  const double x_;
};

}  // namespace

int evaluate_group(ExpressionState& state, double x, double* result) {
  return Reducer(state, x).group(result);
}

PointEvaluator::PointEvaluator(ExpressionState& state)
    : state_(state), tokens_(state.token_count), values_(state.value_count) {}

int PointEvaluator::evaluate(double x, double* result) {
  std::copy_n(state_.tokens, tokens_, state_.work_tokens);
  state_.cursor = 2;
  const int code = evaluate_group(state_, x, result);
  state_.token_count = tokens_;
  state_.value_count = values_;
  return code;
}

}  // namespace kestra::plot
