// Texts for the library's fonts: the command line takes UTF-8, the diagram
// and plot fonts draw single bytes in the code page of their character set.
#pragma once

#include <string>
#include <vector>

namespace kestra::cli {

// The text for a record field of `limit` characters: converted, then cut.
// A note joins `notes` (naming the field as `what`) when a character was
// replaced or the text cut.
std::string field_text(const std::string& text, std::size_t limit, const char* what,
                       std::vector<std::string>& notes);

}  // namespace kestra::cli
