// UTF-8 to the single-byte code page of the records' fonts, through the
// layer's own code page table.
#include <optional>
#include <unordered_map>
#include <utility>

#include "kestra_code_page.h"
#include "platform/code_pages.h"

namespace kestra {
namespace {

// The code point at the front of `text` and its length, or nothing for a
// malformed sequence.
std::optional<std::pair<char32_t, std::size_t>> next_code_point(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return std::pair{char32_t{lead}, std::size_t{1}};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return std::nullopt;
  char32_t point = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;
    point = point << 6 | (byte & 0x3F);
  }
  return std::pair{point, length};
}

// Byte of each character of the code page the diagram and plot fonts use.
const std::unordered_map<char32_t, char>& font_code_page_bytes() {
  static const std::unordered_map<char32_t, char> bytes = [] {
    std::unordered_map<char32_t, char> map;
    const auto& table =
        platform::code_page_table(platform::code_page_of_charset(RUSSIAN_CHARSET));
    for (int byte = 1; byte < 256; ++byte) {
      if (table[byte] != 0) map.emplace(table[byte], static_cast<char>(byte));
    }
    return map;
  }();
  return bytes;
}

}  // namespace

CodePageText to_font_code_page(std::string_view utf8) {
  CodePageText result;
  const auto& bytes = font_code_page_bytes();
  while (!utf8.empty()) {
    const auto point = next_code_point(utf8);
    const auto byte = point ? bytes.find(point->first) : bytes.end();
    if (byte != bytes.end()) {
      result.bytes += byte->second;
    } else {
      result.bytes += '?';
      result.replaced = true;
    }
    utf8.remove_prefix(point ? point->second : 1);
  }
  return result;
}

}  // namespace kestra
