// Text bytes to glyphs: code page bytes, or UTF-8 under the front-ends' mode.
#include "platform/glyph_run.h"

#include "kestra_text.h"

namespace kestra::platform {
namespace {

constexpr char32_t replacement_character = 0xFFFD;

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Smallest code point each sequence length may encode: longer forms of a
// smaller one (overlong encodings) are malformed.
constexpr char32_t smallest_of_length[] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

CodePoint next_code_point(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return {replacement_character, 1};
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!is_continuation(byte)) return {replacement_character, 1};
    value = value << 6 | (byte & 0x3F);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < smallest_of_length[length] || value > 0x10FFFF || surrogate)
    return {replacement_character, 1};
  return {value, length};
}

GlyphRun::GlyphRun(const FontFace& face, std::string_view text, int underlined)
    : face_(face), text_(text), underlined_(underlined), utf8_(utf8_text_mode()) {}

}  // namespace kestra::platform
