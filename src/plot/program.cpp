// The compiled form of the parsed expression: a postfix program run on a
// small stack, with every part that does not depend on the variable folded.
#include <algorithm>
#include <cmath>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

using Op = Program::Op;
using Step = Program::Step;

Op infix_op(std::int32_t code) {
  constexpr Op ops[] = {Op::subtract, Op::add, Op::multiply, Op::divide};
  return ops[code];
}

double apply(const Step& step, double a, double b) {
  switch (step.op) {
    case Op::negate: return -a;
    case Op::subtract: return apply_infix(op_minus, a, b);
    case Op::add: return apply_infix(op_plus, a, b);
    case Op::multiply: return apply_infix(op_times, a, b);
    case Op::divide: return apply_infix(op_divide, a, b);
    case Op::log_to_constant_base: return log_to_base(a, step.value);
    default: return apply_function(step.word, a, b);
  }
}

template <class F>
void for_each(double* row, int n, F f) {
  for (int i = 0; i < n; ++i) row[i] = f(row[i]);
}

// The top two rows fold into the lower one, which becomes the top.
template <std::int32_t op>
double* fold_rows(double* top, int n) {
  double* a = top - Program::batch;
  for (int i = 0; i < n; ++i) a[i] = apply_infix(op, a[i], top[i]);
  return a;
}

template <std::int32_t word>
void apply_to_row(double* top, int n) {
  for_each(top, n, [](double a) { return apply_function(word, a, 0.0); });
}

template <std::int32_t word>
double* apply_to_rows(double* top, int n) {
  double* a = top - Program::batch;
  for (int i = 0; i < n; ++i) a[i] = apply_function(word, a[i], top[i]);
  return a;
}

// By word code; pow and log are the two-group functions.
constexpr void (*one_group_functions[])(double*, int) = {
    nullptr, apply_to_row<word_sin>, apply_to_row<word_cos>, apply_to_row<word_tg>,
    nullptr, apply_to_row<word_abs>,
};
constexpr double* (*two_group_functions[])(double*, int) = {apply_to_rows<word_pow>,
                                                           apply_to_rows<word_log>};

int operand_count(Op op) {
  switch (op) {
    case Op::constant:
    case Op::variable: return 0;
    case Op::negate:
    case Op::function1:
    case Op::log_to_constant_base: return 1;
    default: return 2;
  }
}

// Recursive descent over the parsed tokens from index 2, in the grammar's rules. It
// also counts the value slots one reduction takes: one per constant or
// variable occurrence, sign, group, call and operation.
class Compiler {
 public:
  explicit Compiler(const ExpressionState& state) : s_(state) {}

  bool right_hand_side() {
    position_ = 2;
    return group(false);
  }
  std::vector<Step>& steps() { return steps_; }
  std::int64_t slots() const { return slots_; }

 private:
  bool at_end() const { return position_ >= s_.token_count; }
  const EXPR_TOKEN& current() const { return s_.tokens[position_]; }

  // Appends a step; an operation on constants becomes a constant at once.
  void emit(Step step) {
    const int n = operand_count(step.op);
    if (n > 0) ++slots_;
    const auto size = static_cast<std::ptrdiff_t>(steps_.size());
    const bool constant_operands =
        size >= n && std::all_of(steps_.end() - n, steps_.end(),
                                 [](const Step& s) { return s.op == Op::constant; });
    if (n == 0 || !constant_operands) {
      steps_.push_back(step);
      return;
    }
    const double a = steps_[static_cast<std::size_t>(size - n)].value;
    const double b = n == 2 ? steps_.back().value : 0.0;
    steps_.resize(static_cast<std::size_t>(size - n));
    steps_.push_back({Op::constant, 0, apply(step, a, b)});
  }

  void emit_value(const EXPR_TOKEN& token) {
    if (token.kind == kind_number) {
      steps_.push_back({Op::constant, 0, s_.values[token.code]});
    } else if (token.code == word_pi || token.code == word_e) {
      ++slots_;
      steps_.push_back({Op::constant, 0, word_value(token.code, 0.0)});
    } else {
      ++slots_;
      steps_.push_back({Op::variable, 0, 0.0});
    }
  }

  // group = term { ( "-" | "+" ) term } [ ")" ] ;  the first term opens with first-operand
  // A group up to and including its ")" when closed, else up to the end.
  bool group(bool closed) {
    if (!term(true)) return false;
    while (!at_end() && (is_operator(current(), op_minus) || is_operator(current(), op_plus))) {
      const std::int32_t op = current().code;
      ++position_;
      if (!term(false)) return false;
      emit({infix_op(op), 0, 0.0});
    }
    if (!closed) return at_end();
    if (at_end() || !is_operator(current(), op_close)) return false;
    ++position_;
    return true;
  }

  // term = operand { ( "*" | "/" ) operand } ;
  bool term(bool first) {
    if (!(first ? first_operand() : operand())) return false;
    while (!at_end() && (is_operator(current(), op_times) || is_operator(current(), op_divide))) {
      const std::int32_t op = current().code;
      ++position_;
      if (!operand()) return false;
      emit({infix_op(op), 0, 0.0});
    }
    return true;
  }

  // first-operand = ( "-" | "+" ) value | operand ;
  // A signed value takes one slot for its signed value, none to convert.
  bool first_operand() {
    if (at_end() || !is_sign(current())) return operand();
    const bool minus = is_operator(current(), op_minus);
    ++position_;
    if (at_end() || !is_value(s_, current())) return false;
    const EXPR_TOKEN value = current();
    ++position_;
    ++slots_;
    if (value.kind == kind_word && value.code != word_pi && value.code != word_e) {
      steps_.push_back({Op::variable, 0, 0.0});
      if (minus) steps_.push_back({Op::negate, 0, 0.0});
    } else {
      const double v = value.kind == kind_number ? s_.values[value.code] : word_value(value.code, 0.0);
      steps_.push_back({Op::constant, 0, minus ? -v : v});
    }
    return true;
  }

  // operand = value | closed-group | function closed-group [ closed-group ] ;
  bool operand() {
    if (at_end()) return false;
    const EXPR_TOKEN token = current();
    if (is_value(s_, token)) {
      ++position_;
      emit_value(token);
      return true;
    }
    if (is_operator(token, op_open)) {
      ++slots_;
      return closed_group();
    }
    if (!is_function(token)) return false;
    ++position_;
    const std::size_t first = steps_.size();
    if (!closed_group()) return false;
    if (!is_two_group_function(token)) {
      emit({Op::function1, token.code, 0.0});
      return true;
    }
    const std::size_t second = steps_.size();
    if (!closed_group()) return false;
    if (token.code == word_log && second == first + 1 && steps_[first].op == Op::constant) {
      // A constant base: its logarithm is taken once, here.
      const double ln_base = std::log(steps_[first].value);
      steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(first));
      emit({Op::log_to_constant_base, word_log, ln_base});
      return true;
    }
    emit({Op::function2, token.code, 0.0});
    return true;
  }

  // closed-group = "(" group ;
  // "(" and a group that ends with ")".
  bool closed_group() {
    if (at_end() || !is_operator(current(), op_open)) return false;
    ++position_;
    return group(true);
  }

  const ExpressionState& s_;
  std::vector<Step> steps_;
  std::int32_t position_ = 2;
  std::int64_t slots_ = 0;
};

}  // namespace

std::optional<Program> Program::compile(const ExpressionState& state) {
  if (state.token_count <= 2) return std::nullopt;
  Compiler compiler(state);
  if (!compiler.right_hand_side()) return std::nullopt;
  // The last slot taken may be the overflow entry, as long as no other is.
  if (state.value_count + compiler.slots() > expr_capacity + 1) return std::nullopt;
  std::size_t depth = 0, deepest = 0;
  for (const Step& step : compiler.steps()) {
    depth = depth + 1 - static_cast<std::size_t>(operand_count(step.op));
    deepest = std::max(deepest, depth);
  }
  return Program(std::move(compiler.steps()), deepest);
}

Program::Program(std::vector<Step> steps, std::size_t depth)
    : steps_(std::move(steps)), stack_((depth + 1) * batch) {}

void Program::run(const double* x, double* values, int n) {
  // The row of the stack's top level; row 0 stands for the empty stack, so
  // the pointer never leaves the buffer.
  double* top = stack_.data();
  for (const Step& step : steps_) {
    switch (step.op) {
      case Op::constant:
        top += batch;
        std::fill_n(top, n, step.value);
        break;
      case Op::variable:
        top += batch;
        std::copy_n(x, n, top);
        break;
      case Op::negate: for_each(top, n, [](double a) { return -a; }); break;
      case Op::subtract: top = fold_rows<op_minus>(top, n); break;
      case Op::add: top = fold_rows<op_plus>(top, n); break;
      case Op::multiply: top = fold_rows<op_times>(top, n); break;
      case Op::divide: top = fold_rows<op_divide>(top, n); break;
      case Op::function1: one_group_functions[step.word](top, n); break;
      case Op::function2: top = two_group_functions[step.word == word_log](top, n); break;
      case Op::log_to_constant_base:
        for_each(top, n, [ln_base = step.value](double b) { return log_to_base(b, ln_base); });
        break;
    }
  }
  std::copy_n(stack_.data() + batch, n, values);
}

double Program::run(double x) {
  double value;
  run(&x, &value, 1);
  return value;
}

}  // namespace kestra::plot
