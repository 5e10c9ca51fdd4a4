// CheckExpression: the grammar of the right-hand side, one group per call.
#include "plot/plot.h"

namespace kestra::plot {
namespace {

bool at_end() { return ExprCursor >= ExprTokenCount; }
const EXPR_TOKEN& current() { return ExprTokens[ExprCursor]; }

// The cursor is on "(": checks the group behind it up to its ")".
int check_closed_group(int unclosed_code) {
  ++ExprCursor;
  const int result = CheckExpression();
  if (result == expr_ok) return unclosed_code;
  return result == expr_closed ? expr_ok : result;
}

// The cursor is on a function word: "(" and a closed group, twice for pow and log.
int check_call() {
  const bool two_groups = is_two_group_function(current());
  ++ExprCursor;
  if (at_end()) return expr_function_at_end;
  if (!is_operator(current(), op_open)) return expr_call_without_group;
  if (const int result = check_closed_group(expr_call_unclosed)) return result;
  if (!two_groups) return expr_ok;
  if (at_end() || !is_operator(current(), op_open)) return expr_call_without_group;
  return check_closed_group(expr_call_unclosed);
}

// An operand: a group, a value or a function call. A sign is not one.
int check_operand() {
  if (is_operator(current(), op_open)) return check_closed_group(expr_group_unclosed);
  if (is_value(current())) {
    ++ExprCursor;
    return expr_ok;
  }
  if (is_function(current())) return check_call();
  return expr_no_operand;
}

// The first operand of a group may also be a sign and a value.
int check_first_operand() {
  if (!is_sign(current())) return check_operand();
  ++ExprCursor;
  if (at_end()) return expr_sign_at_end;
  if (!is_value(current())) return expr_sign_without_value;
  ++ExprCursor;
  return expr_ok;
}

}  // namespace

int CheckExpression() {
  if (at_end()) return expr_empty_group;
  if (const int result = check_first_operand()) return result;
  while (true) {
    if (at_end()) return expr_ok;
    if (is_operator(current(), op_close)) {
      ++ExprCursor;
      return expr_closed;
    }
    if (!is_infix(current())) return expr_missing_operator;
    ++ExprCursor;
    if (at_end()) return expr_operator_at_end;
    if (const int result = check_operand()) return result;
  }
}

}  // namespace kestra::plot
