// Internal contract of the function plotter: the expression engine (token
// and value tables, lexer, checker, evaluator and its compiled form) and the
// pieces CreateGraph draws with.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "canvas/canvas.h"
#include "kestra.h"

namespace kestra::plot {

// One token: kind 1 operator, 2 word, 3 number. The code is the operator's
// index in "-+*/()=,", the word's index in the word list, or the number's
// slot in ExprValues.
struct EXPR_TOKEN {
  std::int32_t kind;
  std::int32_t code;
};

enum TokenKind : std::int32_t { kind_operator = 1, kind_word = 2, kind_number = 3 };

enum OperatorCode : std::int32_t {
  op_minus, op_plus, op_times, op_divide, op_open, op_close, op_equals, op_comma
};

enum WordCode : std::int32_t {
  word_pow, word_sin, word_cos, word_tg, word_log, word_abs,  // functions
  word_pi, word_e, word_y, word_x                              // values
};

// Results of ParseExpression and CheckExpression; 0 is success.
enum ExpressionCode : int {
  expr_ok = 0,
  expr_closed = 1,          // a group ended with ")"; at the top level an unmatched ")"
  expr_unknown_word = 1,    // from the lexer: a run of letters that is no keyword
  expr_sign_without_value = 2,
  expr_no_operand = 3,
  expr_call_without_group = 4,
  expr_empty_group = 5,
  expr_sign_at_end = 6,
  expr_function_at_end = 7,
  expr_missing_operator = 8,
  expr_operator_at_end = 9,
  expr_group_unclosed = 10,
  expr_call_unclosed = 11,
  expr_bad_variable = 2001,  // the first token is not "y" or "x"
  expr_missing_equals = 2002,
};

// Capacity of the tables; index expr_capacity is the overflow entry.
inline constexpr int expr_capacity = 2000;

// The documented tables, one set per thread so plots may run concurrently.
// The stages never reach them by name: they are handed an ExpressionState.
extern thread_local EXPR_TOKEN ExprTokens[expr_capacity + 1];
extern thread_local std::int32_t ExprTokenCount;
extern thread_local double ExprValues[expr_capacity + 1];
extern thread_local std::int32_t ExprValueCount;
extern thread_local std::int32_t ExprCursor;
extern thread_local EXPR_TOKEN ExprWorkTokens[expr_capacity];

// The engine's state as every stage sees it: the parsed token and value
// tables, the working copy of the tokens the evaluator reduces, and the cursor.
struct ExpressionState {
  EXPR_TOKEN* tokens;  // expr_capacity + 1 entries, the last one the overflow entry
  std::int32_t& token_count;
  double* values;  // expr_capacity + 1 entries, the last one the overflow entry
  std::int32_t& value_count;
  std::int32_t& cursor;
  EXPR_TOKEN* work_tokens;  // expr_capacity entries
};

// This thread's documented tables as a state.
[[nodiscard]] ExpressionState thread_expression_state();

// Scans the text into the tables and checks it: 0 when it may be plotted.
[[nodiscard]] int parse_expression(ExpressionState& state, const char* text);
// Checks the group at the cursor: 0 ran to the end, 1 ended with ")", 2..11 an error.
[[nodiscard]] int check_group(ExpressionState& state);
// Reduces the group at the cursor in the working tokens for the free
// variable x: 0 ran to the end, 1 ended with ")", 2..10 an error (the result
// is then 0.0).
[[nodiscard]] int evaluate_group(ExpressionState& state, double x, double* result);

// The same three on this thread's tables, under their documented names.
[[nodiscard]] int ParseExpression(const char* text);
[[nodiscard]] int CheckExpression();
[[nodiscard]] int EvaluateExpression(double x, double* result);

// Token classes shared by the checker, the evaluator and the compiler. A
// value is a number, "pi", "e", or the variable that token 0 does not name.
bool is_operator(const EXPR_TOKEN& token, std::int32_t code);
bool is_sign(const EXPR_TOKEN& token);
bool is_infix(const EXPR_TOKEN& token);
bool is_function(const EXPR_TOKEN& token);
bool is_two_group_function(const EXPR_TOKEN& token);
bool is_value(const ExpressionState& state, const EXPR_TOKEN& token);

// Stores a value at slot value_count and raises the count below the
// overflow entry; returns the slot written.
[[nodiscard]] std::int32_t new_value(ExpressionState& state, double value);

// The arithmetic of the expression language, one place for the reduction
// and the compiled program so both round alike.

// "pi" is the decimal constant 3.1415927, not the full-precision value.
inline double word_value(std::int32_t word, double x) {
  switch (word) {
    case word_pi: return 3.1415927;
    case word_e: return std::exp(1.0);
    default: return x;  // the free variable
  }
}

inline double apply_infix(std::int32_t op, double a, double b) {
  switch (op) {
    case op_minus: return a - b;
    case op_plus: return a + b;
    case op_times: return a * b;
    default: return a / b;
  }
}

// The logarithm of b to a base whose natural logarithm is ln_base.
inline double log_to_base(double b, double ln_base) { return std::log(b) / ln_base; }

// b only for the two-group functions; log(a)(b) is ln(b) / ln(a), taken apart.
inline double apply_function(std::int32_t word, double a, double b) {
  switch (word) {
    case word_pow: return std::pow(a, b);
    case word_sin: return std::sin(a);
    case word_cos: return std::cos(a);
    case word_tg: return std::tan(a);
    case word_log: return log_to_base(b, std::log(a));
    default: return std::fabs(a);
  }
}

// Evaluates the parsed expression point by point, rewinding the engine to
// the state the parse left before each evaluation.
class PointEvaluator {
 public:
  explicit PointEvaluator(ExpressionState& state);
  // 0 and the value in *result, or the evaluator's error code.
  int evaluate(double x, double* result);

 private:
  ExpressionState& state_;
  std::int32_t tokens_;
  std::int32_t values_;
};

// The parsed expression compiled once into a postfix program with constant
// parts folded. Its results are bit-identical to the reduction's: the same
// operations on the same operands, "*" "/" before "-" "+", left to right.
class Program {
 public:
  // Arguments evaluated together, so that each step's dispatch serves many.
  static constexpr int batch = 256;

  // Nothing when the expression plots no curve (no right-hand side), or when
  // the reduction would share the overflow slot, which only it reproduces.
  static std::optional<Program> compile(const ExpressionState& state);
  // The values at n (at most batch) arguments.
  void run(const double* x, double* values, int n);
  double run(double x);

  enum class Op : std::uint8_t {
    constant, variable, negate, subtract, add, multiply, divide, function1, function2,
    log_to_constant_base
  };
  struct Step {
    Op op;
    std::int32_t word;  // of a function
    double value;       // of a constant; ln of the base of log_to_constant_base
  };

 private:
  Program(std::vector<Step> steps, std::size_t depth);
  std::vector<Step> steps_;
  std::vector<double> stack_;  // one row of batch values per stack level, above an empty row
};

// Plot geometry --------------------------------------------------------------

// The nearest whole number, without a library call in the point loop.
// Halfway cases go to even; values from 2^52 on are whole already.
inline double round_position(double position) {
#if FLT_EVAL_METHOD == 0
  constexpr double whole_from = 4503599627370496.0;  // 2^52
  constexpr double shift = 1.5 * whole_from;         // its sum keeps no fraction
  return std::fabs(position) < whole_from ? (position + shift) - shift : position;
#else
  return std::nearbyint(position);  // excess precision would defeat the shift
#endif
}

// Rounds a real column or row to the nearest pixel; nothing when it is not
// finite or so far outside any picture that it must not become an int.
[[nodiscard]] std::optional<int> RoundPixel(double position);

// The two scales, mapped onto the sides of rcPlot. Equal bounds of a scale
// give positions that are not finite, which are never drawn.
class PlotScale {
 public:
  explicit PlotScale(const OPTION_RECT& options);
  double column(double v) const { return (v - x_min_) * width_ / x_span_ + left_; }
  double row(double v) const { return bottom_ - (v - y_min_) * height_ / y_span_; }

 private:
  double left_, bottom_, width_, height_;
  double x_min_, x_span_, y_min_, y_span_;
};

// Where the scales read 0: the column of the vertical axis and the row of
// the horizontal one, whether or not 0 lies inside the ranges.
using Origin = canvas::AxisPlaces;

// True when sampling argFrom, argFrom + argStep, ... while at most argTo
// ends within the sample limit; other records are refused with 1015.
[[nodiscard]] bool sampling_ends(const OPTION_RECT& options);

// The drawing steps of CreateGraph ---------------------------------------------

// CreateGraph's bitmap form behind its mode and font-height checks: `mode`
// is KESTRA_DRAW_NEW or KESTRA_DRAW_OVER. Returns a KestraStatus.
[[nodiscard]] int create_graph(const char* text, const OPTION_RECT& options, HBITMAP* bitmap,
                               unsigned long mode);
// The same plot as a new picture's recording, with the same statuses as
// create_graph in mode KESTRA_DRAW_NEW.
[[nodiscard]] int record_graph(const char* text, const OPTION_RECT& options,
                               canvas::RecordedPicture& recorded);

struct PlotDrawing {
  HDC dc;
  const OPTION_RECT& options;
  canvas::PictureSize size;
  const PlotScale& scale;
  Origin origin;
  canvas::Selection& selection;
};

void draw_background_and_frame(const PlotDrawing& drawing);
void draw_axes_and_arrows(const PlotDrawing& drawing);
// Samples the parsed expression and sets one pixel per point inside rcPlot.
void draw_points(const PlotDrawing& drawing, ExpressionState& expression);
void draw_captions(const PlotDrawing& drawing);

}  // namespace kestra::plot
