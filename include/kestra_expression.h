// kestra expression check: why and where CreateGraph refuses an expression.
//
// CreateGraph reports a refused expression as KESTRA_BAD_EXPRESSION only.
// This check runs the same engine and says which rule the text breaks and at
// which byte, for front-ends that show people their mistake.
//
// Example:
//   kestra::ExpressionCheck check = kestra::check_expression("y=sin(x");
//   if (check.code != 0) printf("%s at byte %zu\n", check.reason.c_str(), check.offset);
//   // "the parentheses of a function are not closed at byte 7"
#ifndef KESTRA_EXPRESSION_H
#define KESTRA_EXPRESSION_H

#include "kestra.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestra {

struct ExpressionCheck {
  int code = 0;             // 0: CreateGraph accepts the text; else the engine's code
  std::size_t offset = 0;   // byte of the text where the fault lies; its length: at the end
  std::string reason;       // one line on the rule broken, empty when accepted
  std::vector<std::size_t> ignored;   // bytes the language skips without a word: '^', tabs,
                                      // bytes above 127, ... ("y=x^-1" reads as "y=x-1")
  bool argument_on_vertical = false;  // an accepted "x=...": the argument runs up the vertical axis
  bool tokens_dropped = false;        // past the engine's token table nothing is read
};

// Checks `text` as CreateGraph does. Never throws: without memory for the
// answer the code is KESTRA_INTERNAL. Safe on several threads at once.
KESTRA_API ExpressionCheck check_expression(const std::string& text) noexcept;

}  // namespace kestra

#endif  // KESTRA_EXPRESSION_H
