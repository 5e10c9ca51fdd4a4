// What the command line tells about an expression before plotting it: the
// engine's verdict with the place of a fault, and the characters the
// language ignores without a word ('y=x^-1' is read as 'y=x-1').
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestra::cli {

struct ExpressionReport {
  int code = 0;                      // the engine's result; 0 accepted
  std::size_t fault = 0;             // byte offset of the refused place
  std::string reason;                // why, when refused
  bool argument_on_vertical = false; // the text is 'x=...'
  std::vector<std::size_t> ignored;  // byte offsets of ignored characters
  bool tokens_dropped = false;       // past the 2000th token nothing is read
};

ExpressionReport examine_expression(const std::string& text);

// The line to print under the text: blanks (tabs kept) and '^' under `offset`.
std::string caret_line(const std::string& text, std::size_t offset);

// "'^' at column 4, '\t' at column 9": the ignored characters, a run of
// bytes above 127 (a UTF-8 character) as one.
std::string describe_ignored(const std::string& text, const std::vector<std::size_t>& ignored);

// The text as the engine reads it: without the ignored characters.
std::string without_ignored(const std::string& text, const std::vector<std::size_t>& ignored);

}  // namespace kestra::cli
