// How the command line shows an expression's check: the caret line and the
// ignored characters, counted in characters rather than UTF-8 bytes.
#include "expression_report.h"

#include "command_errors.h"

namespace kestra::cli {
namespace {

// 1-based, counting a UTF-8 character as one column.
std::size_t column_of(const std::string& text, std::size_t offset) {
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  }
  return column;
}

}  // namespace

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
