// check_expression: the engine's verdict on a text, with the byte where the
// fault lies and the rule it breaks in words.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kestra_expression.h"
#include "plot/plot.h"

namespace kestra {
namespace {

using namespace plot;

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_number_character(char c) { return (c >= '0' && c <= '9') || c == '.'; }
bool is_operator_character(char c) {
  return std::string_view("-+*/()=,").find(c) != std::string_view::npos;
}

// The end of the run of letters or of digits and points that starts at `at`.
std::size_t run_end(std::string_view text, std::size_t at) {
  const auto belongs = is_letter(text[at]) ? is_letter : is_number_character;
  while (at < text.size() && belongs(text[at])) ++at;
  return at;
}

// The text cut as the lexer cuts it (an unknown word too): runs of letters,
// runs of digits and points, single operator characters; every other
// character is skipped, blanks as separators and the rest unremarked.
struct Scan {
  std::vector<std::size_t> starts;   // where each token starts
  std::vector<std::size_t> ignored;  // skipped characters other than blanks
};

Scan scan(std::string_view text) {
  Scan scanned;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (is_letter(c) || is_number_character(c) || is_operator_character(c)) {
      scanned.starts.push_back(at);
    } else if (c != ' ') {
      scanned.ignored.push_back(at);
    }
    at = is_letter(c) || is_number_character(c) ? run_end(text, at) : at + 1;
  }
  return scanned;
}

const char* reason_of(int code) {
  switch (code) {
    case expr_sign_without_value:
      return "a leading sign must stand before a number, pi, e or the variable";
    case expr_no_operand: return "a value, a '(' or a function is missing here";
    case expr_call_without_group:
      return "a function takes its arguments in parentheses: sin(x), pow(a)(b), log(a)(b)";
    case expr_empty_group: return "the text ends after '('";
    case expr_sign_at_end: return "the text ends after a sign";
    case expr_function_at_end: return "the text ends after a function's name";
    case expr_missing_operator: return "an operator is missing before this";
    case expr_operator_at_end: return "the text ends after an operator";
    case expr_group_unclosed: return "a '(' is not closed";
    case expr_call_unclosed: return "the parentheses of a function are not closed";
    case expr_bad_variable: return "the text must begin with 'y=' or 'x='";
    case expr_missing_equals: return "'=' must follow the variable";
  }
  return "the expression is refused";
}

// The start of a token; the text's end for a token past the last.
std::size_t offset_of_token(const std::vector<std::size_t>& starts, std::size_t token,
                            std::size_t length) {
  return token < starts.size() ? starts[token] : length;
}

ExpressionCheck refused(int code, std::size_t offset, std::string reason) {
  ExpressionCheck check;
  check.code = code;
  check.offset = offset;
  check.reason = std::move(reason);
  return check;
}

ExpressionCheck explain(const ExpressionState& state, std::string_view text,
                        const std::vector<std::size_t>& starts, int code) {
  const auto stored = static_cast<std::size_t>(state.token_count);
  // Code 1 comes from the lexer (a word that is no keyword: the lexer stops
  // before it) or from the checker (a ")" without "(", already passed).
  if (code == expr_unknown_word && stored < expr_capacity && stored < starts.size() &&
      is_letter(text[starts[stored]])) {
    const std::size_t start = starts[stored];
    const std::string word(text.substr(start, run_end(text, start) - start));
    return refused(code, start, "'" + word + "' is no name the language knows");
  }
  const auto cursor = static_cast<std::size_t>(state.cursor);
  switch (code) {
    case expr_closed:
      return refused(code, offset_of_token(starts, cursor - 1, text.size()), "')' without its '('");
    case expr_bad_variable: return refused(code, offset_of_token(starts, 0, text.size()), reason_of(code));
    case expr_missing_equals:
      return refused(code, offset_of_token(starts, 1, text.size()), reason_of(code));
  }
  return refused(code, offset_of_token(starts, cursor, text.size()), reason_of(code));
}

}  // namespace

ExpressionCheck check_expression(const std::string& text) noexcept {
  try {
    const std::string_view read(text.c_str());  // the engine reads up to a NUL
    ExpressionState state = thread_expression_state();
    const int code = parse_expression(state, text.c_str());
    Scan scanned = scan(read);
    ExpressionCheck check =
        code == expr_ok ? ExpressionCheck{} : explain(state, read, scanned.starts, code);
    check.ignored = std::move(scanned.ignored);
    check.tokens_dropped = scanned.starts.size() > static_cast<std::size_t>(expr_capacity);
    check.argument_on_vertical = code == expr_ok && state.token_count > 0 &&
                                 state.tokens[0].kind == kind_word && state.tokens[0].code == word_x;
    return check;
  } catch (...) {
    return refused(KESTRA_INTERNAL, 0, {});
  }
}

}  // namespace kestra
