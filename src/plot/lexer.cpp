// The parse: cuts the text into tokens and literal values, checks the
// head 'y=' (or 'x=') and runs the checker over the right-hand side.
#include <charconv>
#include <string_view>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

constexpr std::string_view operator_characters = "-+*/()=,";
// In word-code order.
constexpr std::string_view keywords[] = {"pow", "sin", "cos", "tg", "log",
                                         "abs", "pi",  "e",   "y",  "x"};
// Longest run of letters or of digits and points that is read.
constexpr std::size_t max_run = 255;

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_number_character(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Beyond the 2000th token every token lands in the overflow entry.
void store_token(ExpressionState& state, std::int32_t kind, std::int32_t code) {
  state.tokens[state.token_count] = {kind, code};
  if (state.token_count < expr_capacity) ++state.token_count;
}

std::string_view take_run(std::string_view& rest, bool (*belongs)(char)) {
  std::size_t n = 0;
  while (n < rest.size() && belongs(rest[n])) ++n;
  const std::string_view run = rest.substr(0, n);
  rest.remove_prefix(n);
  return run;
}

// The keyword's code, or nothing. A run over 255 characters is never a keyword.
std::optional<std::int32_t> keyword_code(std::string_view run) {
  for (std::int32_t code = 0; code < static_cast<std::int32_t>(std::size(keywords)); ++code) {
    if (keywords[code] == run) return code;
  }
  return std::nullopt;
}

// As atof over the run's first 255 characters: the longest prefix that is a
// decimal number ('1.2.3' is 1.2, '.' is 0, '5.' is 5), in any locale.
double number_value(std::string_view run) {
  run = run.substr(0, max_run);
  double value = 0.0;
  std::from_chars(run.data(), run.data() + run.size(), value, std::chars_format::fixed);
  return value;
}

// Scans the whole text; false at the first unknown word.
// tokens = { operator | word | number | other } ;
bool scan(ExpressionState& state, std::string_view rest) {
  while (!rest.empty()) {
    const char c = rest.front();
    if (const auto op = operator_characters.find(c); op != std::string_view::npos) {
      store_token(state, kind_operator, static_cast<std::int32_t>(op));
      rest.remove_prefix(1);
    } else if (is_letter(c)) {
      const auto code = keyword_code(take_run(rest, is_letter));
      if (!code) return false;
      store_token(state, kind_word, *code);
    } else if (is_number_character(c)) {
      store_token(state, kind_number, new_value(state, number_value(take_run(rest, is_number_character))));
    } else {
      rest.remove_prefix(1);  // blanks and every other character are ignored
    }
  }
  return true;
}

// expression = [ ( "y" | "x" ) "=" [ group ] ] ;
int check_form(ExpressionState& state) {
  if (state.token_count == 0) return expr_ok;
  const EXPR_TOKEN& head = state.tokens[0];
  if (head.kind != kind_word || (head.code != word_y && head.code != word_x)) {
    return expr_bad_variable;
  }
  if (state.token_count < 2 || !is_operator(state.tokens[1], op_equals)) return expr_missing_equals;
  if (state.token_count == 2) return expr_ok;
  state.cursor = 2;
  return check_group(state);
}

}  // namespace

int parse_expression(ExpressionState& state, const char* text) {
  state.token_count = 0;
  state.value_count = 0;
  if (!scan(state, text ? std::string_view(text) : std::string_view())) return expr_unknown_word;
  return check_form(state);
}

}  // namespace kestra::plot
