// Texts for the library's fonts: the command line takes UTF-8, the diagram
// and plot fonts draw single bytes in the code page of their character set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra::cli {

struct DiagramText {
  std::string bytes;       // one byte per character
  bool replaced = false;   // a character the code page lacks became '?'
};

// The UTF-8 text in the fonts' code page (1251); invalid UTF-8 bytes and
// characters outside the code page become '?'.
DiagramText to_diagram_text(std::string_view utf8);

// The text for a record field of `limit` characters: converted, then cut.
// A note joins `notes` (naming the field as `what`) when a character was
// replaced or the text cut.
std::string field_text(const std::string& text, std::size_t limit, const char* what,
                       std::vector<std::string>& notes);

}  // namespace kestra::cli
