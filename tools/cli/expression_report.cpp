// Examines an expression with the plotter's own engine, and finds the place
// of each token with the engine's scanning rules: runs of letters, runs of
// digits and points, the operators "-+*/()=,", blanks; every other
// character is ignored.
#include "expression_report.h"

#include <array>
#include <string_view>

#include "command_errors.h"
#include "plot/plot.h"

namespace kestra::cli {
namespace {

using namespace kestra::plot;

constexpr std::string_view operator_characters = "-+*/()=,";
constexpr std::array<std::string_view, 10> keywords{"pow", "sin", "cos", "tg", "log",
                                                    "abs", "pi",  "e",   "y",  "x"};

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_number_character(char c) { return (c >= '0' && c <= '9') || c == '.'; }
bool is_keyword(std::string_view word) {
  for (std::string_view keyword : keywords) {
    if (keyword == word) return true;
  }
  return false;
}

struct Scan {
  std::vector<std::size_t> tokens;  // offset of each token
  std::vector<std::size_t> ignored;
  std::optional<std::size_t> unknown_word;  // where scanning stops
};

std::size_t run_end(const std::string& text, std::size_t at, bool (*belongs)(char)) {
  while (at < text.size() && belongs(text[at])) ++at;
  return at;
}

Scan scan(const std::string& text) {
  Scan result;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    std::size_t next = at + 1;
    if (is_letter(c)) {
      next = run_end(text, at, is_letter);
      if (!is_keyword(std::string_view(text).substr(at, next - at))) {
        result.unknown_word = at;
        return result;
      }
      result.tokens.push_back(at);
    } else if (is_number_character(c)) {
      next = run_end(text, at, is_number_character);
      result.tokens.push_back(at);
    } else if (operator_characters.find(c) != std::string_view::npos) {
      result.tokens.push_back(at);
    } else if (c != ' ') {
      result.ignored.push_back(at);
    }
    at = next;
  }
  return result;
}

const char* checker_reason(int code) {
  switch (code) {
    case expr_closed: return "')' without a matching '('";
    case expr_sign_without_value:
      return "a sign must be followed by a number, pi, e or the variable";
    case expr_no_operand:
      return "an operand is expected here: a number, pi, e, the free variable, a function or '('";
    case expr_call_without_group:
      return "a function takes its argument in parentheses: sin(x), pow(x)(2), log(10)(x)";
    case expr_empty_group: return "nothing inside the parentheses";
    case expr_sign_at_end: return "the expression ends with a sign";
    case expr_function_at_end: return "the expression ends with a function name";
    case expr_missing_operator: return "an operator or ')' is expected here";
    case expr_operator_at_end: return "the expression ends with an operator";
    case expr_group_unclosed: return "this '(' group is never closed";
    case expr_call_unclosed: return "the function's '(' group is never closed";
    case expr_bad_variable: return "the expression must start with 'y=' or 'x='";
    case expr_missing_equals: return "'=' must follow the variable";
  }
  return "the expression is refused";
}

// The token the engine stopped at for its code.
std::size_t token_at_fault(int code) {
  switch (code) {
    case expr_closed: return static_cast<std::size_t>(ExprCursor - 1);  // behind the ')'
    case expr_bad_variable: return 0;
    case expr_missing_equals: return 1;
    default: return static_cast<std::size_t>(ExprCursor);
  }
}

void locate_fault(const std::string& text, const Scan& scanned, ExpressionReport& report) {
  if (scanned.unknown_word) {
    const std::size_t end = run_end(text, *scanned.unknown_word, is_letter);
    report.fault = *scanned.unknown_word;
    report.reason = in_quotes(std::string_view(text).substr(report.fault, end - report.fault)) +
                    " is not a word of the language (pow sin cos tg log abs pi e x y; "
                    "case matters)";
    return;
  }
  const std::size_t token = token_at_fault(report.code);
  report.fault = token < scanned.tokens.size() ? scanned.tokens[token] : text.size();
  report.reason = checker_reason(report.code);
}

// 1-based, counting a UTF-8 character as one column.
std::size_t column_of(const std::string& text, std::size_t offset) {
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  }
  return column;
}

}  // namespace

ExpressionReport examine_expression(const std::string& text) {
  ExpressionReport report;
  const Scan scanned = scan(text);
  report.ignored = scanned.ignored;
  report.tokens_dropped = scanned.tokens.size() > static_cast<std::size_t>(expr_capacity);
  report.code = ParseExpression(text.c_str());
  if (report.code != expr_ok) {
    locate_fault(text, scanned, report);
    return report;
  }
  report.argument_on_vertical =
      ExprTokenCount > 0 && ExprTokens[0].kind == kind_word && ExprTokens[0].code == word_x;
  return report;
}

std::string caret_line(const std::string& text, std::size_t offset) {
  std::string line;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\t') {
      line += '\t';
    } else if ((c & 0xC0) != 0x80) {  // one column per character, not per UTF-8 byte
      line += ' ';
    }
  }
  return line + '^';
}

std::string describe_ignored(const std::string& text, const std::vector<std::size_t>& ignored) {
  std::string description;
  for (std::size_t i = 0; i < ignored.size(); ++i) {
    const std::size_t at = ignored[i];
    std::size_t end = at + 1;
    // A UTF-8 character: its bytes above 127 follow one another.
    while (static_cast<unsigned char>(text[at]) > 127 && i + 1 < ignored.size() &&
           ignored[i + 1] == end && static_cast<unsigned char>(text[end]) > 127 &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
      ++i;
      ++end;
    }
    const std::string shown = text[at] == '\t' ? "\\t" : text.substr(at, end - at);
    if (!description.empty()) description += ", ";
    description += in_quotes(shown) + " at column " + std::to_string(column_of(text, at));
  }
  return description;
}

std::string without_ignored(const std::string& text, const std::vector<std::size_t>& ignored) {
  std::string kept;
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (next < ignored.size() && ignored[next] == i) {
      ++next;
    } else {
      kept += text[i];
    }
  }
  return kept;
}

}  // namespace kestra::cli
