// Record texts cut to their fields without splitting a UTF-8 character.
#include "diagram_text.h"

#include "kestra_text.h"

namespace kestra::cli {

std::string field_text(const std::string& text, std::size_t limit, const char* what,
                       std::vector<std::string>& notes) {
  const std::size_t kept = utf8_fit(text, limit);
  if (kept == text.size()) return text;
  notes.push_back(std::string(what) + " '" + text + "' cut to " + std::to_string(limit) +
                  " bytes: '" + text.substr(0, kept) + "'");
  return text.substr(0, kept);
}

}  // namespace kestra::cli
