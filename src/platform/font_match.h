// Which font file serves a CreateFontA request: fontconfig's choice on
// Linux, the one embedded font in the browser build.
#pragma once

#include <optional>
#include <string>

namespace kestra::platform {

struct FontFile {
  std::string path;
  int index = 0;       // face within the file
  std::string family;  // the family the file holds, as GetTextFace reports it
};

// The file for a family (empty: the default sans-serif), weight and slant,
// or nothing when there is none. With a character, only a file that has it.
std::optional<FontFile> match_font_file(const std::string& family, int weight, bool italic,
                                        std::optional<char32_t> character = std::nullopt);

}  // namespace kestra::platform
