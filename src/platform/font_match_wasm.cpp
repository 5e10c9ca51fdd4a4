// The browser build has no fontconfig and one font: the file the Linux
// build's fontconfig chooses for "arial", embedded at build time (its path
// and family are given by the build) and used for every request; there is
// no fallback face for a character it lacks.
#include "platform/font_match.h"

namespace kestra::platform {

std::optional<FontFile> match_font_file(const std::string&, int, bool,
                                        std::optional<char32_t> character) {
  if (character) return std::nullopt;
  return FontFile{KESTRA_EMBEDDED_FONT_PATH, 0, KESTRA_EMBEDDED_FONT_FAMILY};
}

}  // namespace kestra::platform
