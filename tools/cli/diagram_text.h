// Texts for the records: the command line takes UTF-8 and draws it in the
// library's UTF-8 text mode, so a text only has to fit its field.
#pragma once

#include <string>
#include <vector>

namespace kestra::cli {

// The text for a record field of `limit` bytes, cut on a character boundary.
// A note joins `notes` (naming the field as `what`) when the text was cut.
std::string field_text(const std::string& text, std::size_t limit, const char* what,
                       std::vector<std::string>& notes);

}  // namespace kestra::cli
