// Record field texts from the command line's UTF-8, in the fonts' code page.
#include "diagram_text.h"

#include "kestra_code_page.h"

namespace kestra::cli {

std::string field_text(const std::string& text, std::size_t limit, const char* what,
                       std::vector<std::string>& notes) {
  CodePageText converted = to_font_code_page(text);
  if (converted.replaced) {
    notes.push_back(std::string(what) + " '" + text +
                    "': characters outside code page 1251 are drawn as '?'");
  }
  if (converted.bytes.size() > limit) {
    converted.bytes.resize(limit);
    notes.push_back(std::string(what) + " '" + text + "' cut to " + std::to_string(limit) +
                    " characters");
  }
  return converted.bytes;
}

}  // namespace kestra::cli
