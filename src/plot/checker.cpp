// The checker: the grammar of the right-hand side, one group per call.
#include "plot/plot.h"

namespace kestra::plot {
namespace {

// Recursive descent over the tokens from the cursor; each rule returns 0 or
// the code of the first rule broken.
class Checker {
 public:
  explicit Checker(ExpressionState& state) : s_(state) {}

  // group = first-operand { infix operand } [ ")" ] ;
  int group() {
    if (at_end()) return expr_empty_group;
    if (const int result = first_operand()) return result;
    while (true) {
      if (at_end()) return expr_ok;
      if (is_operator(current(), op_close)) {
        ++s_.cursor;
        return expr_closed;
      }
      if (!is_infix(current())) return expr_missing_operator;
      ++s_.cursor;
      if (at_end()) return expr_operator_at_end;
      if (const int result = operand()) return result;
    }
  }

 private:
  bool at_end() const { return s_.cursor >= s_.token_count; }
  const EXPR_TOKEN& current() const { return s_.tokens[s_.cursor]; }

  // closed-group = "(" group ;  where the group ends with ")"
  int closed_group(int unclosed_code) {
    ++s_.cursor;
    const int result = group();
    if (result == expr_ok) return unclosed_code;
    return result == expr_closed ? expr_ok : result;
  }

  // call = function closed-group [ closed-group ] ;  the second for pow and log only
  int call() {
    const bool two_groups = is_two_group_function(current());
    ++s_.cursor;
    if (at_end()) return expr_function_at_end;
    if (!is_operator(current(), op_open)) return expr_call_without_group;
    if (const int result = closed_group(expr_call_unclosed)) return result;
    if (!two_groups) return expr_ok;
    if (at_end() || !is_operator(current(), op_open)) return expr_call_without_group;
    return closed_group(expr_call_unclosed);
  }

  // operand = closed-group | value | call ;
  int operand() {
    if (is_operator(current(), op_open)) return closed_group(expr_group_unclosed);
    if (is_value(s_, current())) {
      ++s_.cursor;
      return expr_ok;
    }
    if (is_function(current())) return call();
    return expr_no_operand;
  }

  // first-operand = ( "-" | "+" ) value | operand ;
  int first_operand() {
    if (!is_sign(current())) return operand();
    ++s_.cursor;
    if (at_end()) return expr_sign_at_end;
    if (!is_value(s_, current())) return expr_sign_without_value;
    ++s_.cursor;
    return expr_ok;
  }

  ExpressionState& s_;
};

}  // namespace

int check_group(ExpressionState& state) { return Checker(state).group(); }

}  // namespace kestra::plot
