// How the command line shows an expression's check: a caret under the
// refused place, and the characters the language ignores without a word
// ('y=x^-1' is read as 'y=x-1').
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestra::cli {

// The line to print under the text: blanks (tabs kept) and '^' under `offset`.
std::string caret_line(const std::string& text, std::size_t offset);

// "'^' at column 4, '\t' at column 9": the ignored characters, a run of
// bytes above 127 (a UTF-8 character) as one.
std::string describe_ignored(const std::string& text, const std::vector<std::size_t>& ignored);

// The text as the engine reads it: without the ignored characters.
std::string without_ignored(const std::string& text, const std::vector<std::size_t>& ignored);

}  // namespace kestra::cli
