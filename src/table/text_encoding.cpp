// Text bytes to UTF-8: byte-order marks, UTF-16, validity, and the spaces
// people put around a cell's text.
#include <cstdint>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

void append_utf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | code >> 6));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | code >> 12));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | code >> 18));
    out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// UTF-16 code units after the BOM; a lone surrogate becomes U+FFFD.
std::string utf16_to_utf8(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit_at = [&](std::size_t i) -> std::uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t code = unit_at(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = unit_at(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
    append_utf8(out, code);
  }
  return out;
}

// Windows-1252 to UTF-8, the code page spreadsheet programs write text in
// when it is not Unicode; its five unassigned bytes become U+FFFD.
std::string windows1252_to_utf8(std::string_view bytes) {
  static constexpr std::uint16_t kHigh[32] = {
      0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,  // 0x88
      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,  // 0x98
  };
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    append_utf8(out, byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte);
  }
  return out;
}

bool starts_with(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

// Length of the whitespace character at the start of `text`, or 0.
std::size_t space_length(std::string_view text) {
  static constexpr std::string_view kWideSpaces[] = {
      "\xC2\xA0",      // no-break space
      "\xE2\x80\x87",  // figure space
      "\xE2\x80\x89",  // thin space
      "\xE2\x80\xAF",  // narrow no-break space
      "\xE3\x80\x80",  // ideographic space
  };
  if (text.empty()) return 0;
  const char c = text.front();
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') return 1;
  for (const std::string_view space : kWideSpaces) {
    if (starts_with(text, space)) return space.size();
  }
  return 0;
}

// Length of the whitespace character that ends `text`, or 0.
std::size_t trailing_space_length(std::string_view text) {
  for (std::size_t length = 1; length <= 3 && length <= text.size(); ++length) {
    const std::string_view tail = text.substr(text.size() - length);
    if (space_length(tail) == length) return length;
  }
  return 0;
}

}  // namespace

bool has_byte_order_mark(std::string_view bytes) {
  return starts_with(bytes, "\xEF\xBB\xBF") || starts_with(bytes, "\xFF\xFE") ||
         starts_with(bytes, "\xFE\xFF");
}

std::string text_as_utf8(std::string_view bytes) {
  if (starts_with(bytes, "\xFF\xFE")) return utf16_to_utf8(bytes.substr(2), false);
  if (starts_with(bytes, "\xFE\xFF")) return utf16_to_utf8(bytes.substr(2), true);
  if (starts_with(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (!is_valid_utf8(bytes)) return windows1252_to_utf8(bytes);
  return std::string(bytes);
}

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      code = lead & 0x07;
    } else {
      return false;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) return false;
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

void cut_utf8(std::string& text, std::size_t limit) {
  if (text.size() <= limit) return;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

std::string_view trim_spaces(std::string_view text) {
  while (const std::size_t n = space_length(text)) text.remove_prefix(n);
  while (const std::size_t n = trailing_space_length(text)) text.remove_suffix(n);
  return text;
}

}  // namespace kestra::table
