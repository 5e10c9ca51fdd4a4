// The tag scanner: outside tags it only looks for the next '<' and keeps the
// first 255 characters of a cell's text; inside a tag it collects the
// lower-cased letters and '/' of the name up to the first space.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "import/classic_number.h"
#include "import/html_table.h"

namespace kestra::import {
namespace {

struct TagName {
  std::string_view name;
  HtmlItemKind kind;
};

constexpr TagName tag_names[] = {
    {"table", HtmlItemKind::table_start}, {"tr", HtmlItemKind::row_start},
    {"td", HtmlItemKind::cell_start},     {"/td", HtmlItemKind::cell_end},
    {"/tr", HtmlItemKind::row_end},       {"/table", HtmlItemKind::table_end},
};

bool is_ascii_letter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Whether the name starting at p surely is not "/table": its first letters
// and '/' (each joins the name) differ from it before anything else comes.
bool other_than_table_end(const char* p, const char* end) {
  constexpr std::string_view table_end = "/table";
  for (std::size_t k = 0; p < end && k < table_end.size(); ++p, ++k) {
    const auto c = static_cast<unsigned char>(*p);
    if (c != '/' && !is_ascii_letter(c)) return false;
    if (static_cast<char>(c == '/' ? c : c | 0x20) != table_end[k]) return true;
  }
  return false;
}

// The first '<' or '>' in [p, end), or end. The two differ only in bit 1, so
// eight bytes at a time are tested for 0x3E once that bit is set in each.
const char* find_tag_delimiter(const char* p, const char* end) {
  constexpr std::uint64_t ones = 0x0101010101010101u;
  constexpr std::uint64_t highs = 0x8080808080808080u;
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t matches = (word | ones * 0x02) ^ (ones * 0x3E);  // zero bytes match
    if (((matches - ones) & ~matches & highs) != 0) break;
  }
  for (; p < end; ++p) {
    if ((static_cast<unsigned char>(*p) | 0x02) == 0x3E) return p;
  }
  return end;
}

}  // namespace

ScanResult HtmlScanner::scan(const char* data, std::size_t size) {
  const char* p = data;
  const char* const end = data + size;
  while (p < end && result_ == ScanResult::more) {
    if (in_tag_) {
      p = scan_tag(p, end);
    } else {
      p = storing() ? scan_text(p, end) : skip_unstored_tags(p, end);
    }
  }
  return result_;
}

// Text between tags counts only inside a cell, and only while its value can
// still be stored.
const char* HtmlScanner::scan_text(const char* p, const char* end) {
  const auto* open =
      static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
  const char* text_end = open ? open : end;
  if (in_cell_ && storing()) {
    const std::size_t room = buffer_size - 1 - text_length_;
    const std::size_t n = std::min(room, static_cast<std::size_t>(text_end - p));
    std::memcpy(text_ + text_length_, p, n);
    text_length_ += n;
  }
  if (!open) return end;
  enter_tag();
  return open + 1;
}

void HtmlScanner::enter_tag() {
  if (in_cell_) {
    text_[text_length_] = '\0';
    if (storing()) record(HtmlItemKind::value, classic_atof(text_));
    in_cell_ = false;
  }
  in_tag_ = true;
  collecting_name_ = true;
  name_length_ = 0;
}

// Past its name, a tag is skipped up to the first '<' or '>'.
const char* HtmlScanner::scan_tag(const char* p, const char* end) {
  if (collecting_name_) p = collect_name(p, end);
  p = find_tag_delimiter(p, end);
  if (p == end) return end;
  if (*p == '<') {
    result_ = ScanResult::bad_tag;
    return end;
  }
  end_tag();
  return p + 1;
}

// Letters and '/' join the name until a space ends it; a name longer than its
// buffer is cut (it then matches none of the six). Everything else inside a
// tag, line breaks included, is skipped. Stops at a '<' or '>'.
const char* HtmlScanner::collect_name(const char* p, const char* end) {
  for (; p < end; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '<' || c == '>') return p;
    if (is_ascii_letter(c) || c == '/') {
      if (name_length_ < buffer_size - 1)
        name_[name_length_++] = static_cast<char>(c == '/' ? c : c | 0x20);
    } else if (c == ' ') {
      collecting_name_ = false;
      return p + 1;
    }
  }
  return end;
}

// Once no item is stored, a tag only matters when its name is "/table" or a
// '<' comes before its '>'. Tags whose first name characters already differ
// from "/table" and that end within the piece are skipped here; any other
// tag is left to scan_tag.
const char* HtmlScanner::skip_unstored_tags(const char* p, const char* end) {
  for (;;) {
    const auto* open =
        static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
    if (!open) return end;
    const char* close =
        other_than_table_end(open + 1, end) ? find_tag_delimiter(open + 1, end) : end;
    if (close == end || *close == '<') {
      enter_tag();
      return open + 1;
    }
    in_cell_ = false;  // as entering the tag would leave it
    p = close + 1;
  }
}

void HtmlScanner::end_tag() {
  in_tag_ = false;
  const std::string_view name(name_, name_length_);
  for (const TagName& tag : tag_names) {
    if (name != tag.name) continue;
    record(tag.kind);
    if (tag.kind == HtmlItemKind::cell_start) {
      in_cell_ = true;
      text_length_ = 0;
    } else if (tag.kind == HtmlItemKind::table_end) {
      result_ = ScanResult::done;
    }
    return;
  }
}

void HtmlScanner::record(HtmlItemKind kind, double number) {
  if (!storing()) return;
  items_.kinds[items_.count] = kind;
  items_.numbers[items_.count] = number;
  ++items_.count;
}

}  // namespace kestra::import
