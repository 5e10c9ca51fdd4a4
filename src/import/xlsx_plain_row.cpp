// A recursive-descent reader for the plain row form. It accepts only what
// the XML parser would hand over unchanged: ASCII text without references,
// quoted attribute values without references or white space other than
// blanks, no comments, CDATA or processing instructions, no repeated
// attribute. Anything else is judged "not plain" and goes to the parser.
#include "import/xlsx_plain_row.h"

#include <array>
#include <cstring>

#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

constexpr int kMaxAttributes = 8;  // plain cells carry r, s, t and rarely more

constexpr std::array<bool, 256> byte_table(bool (*test)(unsigned char)) {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = test(static_cast<unsigned char>(c));
  return table;
}

// Character data handed over unchanged: printable ASCII, tab and line feed
// (a carriage return is normalised), no reference and no '>' (which "]]>"
// would make an error).
constexpr auto kTextBytes = byte_table([](unsigned char c) {
  return (c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>') || c == '\t' || c == '\n';
});
// Attribute values handed over unchanged: white space other than a blank is
// normalised.
constexpr auto kValueBytes =
    byte_table([](unsigned char c) { return c >= 0x20 && c < 0x7F && c != '&' && c != '<'; });
constexpr auto kNameBytes = byte_table([](unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == ':' || c == '.' || c == '-';
});

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_name_start(char c) {
  return kNameBytes[static_cast<unsigned char>(c)] && !(c >= '0' && c <= '9') && c != '.' &&
         c != '-';
}
bool all_of(std::string_view text, const std::array<bool, 256>& table) {
  for (const char c : text) {
    if (!table[static_cast<unsigned char>(c)]) return false;
  }
  return true;
}
std::string_view local_name(std::string_view name) { return name.substr(name.rfind(':') + 1); }

// A start tag: its qualified name, whether it is empty, and the first r and
// t attributes by local name, as the sheet reader looks them up.
struct Tag {
  std::string_view name;
  bool empty = false;
  bool has_r = false;
  bool has_t = false;
  bool has_s = false;
  std::string_view r;
  std::string_view t;
  std::string_view s;
};

class Cursor {
 public:
  Cursor(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  std::size_t at() const { return at_; }
  PlainRow failure() const { return failure_; }

  // Text up to the next tag; false when it is not plain or there is none.
  bool text(std::string_view* out = nullptr) {
    const void* found = std::memchr(bytes_.data() + at_, '<', bytes_.size() - at_);
    if (!found) return cut();
    const auto lt = static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data());
    const std::string_view text = bytes_.substr(at_, lt - at_);
    if (!all_of(text, kTextBytes)) return odd();
    if (out) *out = text;
    at_ = lt;
    return true;
  }

  // At a '<': whether an end tag follows. A comment, CDATA section or
  // processing instruction is not plain.
  bool is_end(bool* end) {
    if (at_ + 1 >= bytes_.size()) return cut();
    *end = bytes_[at_ + 1] == '/';
    return *end || is_name_start(bytes_[at_ + 1]) || odd();
  }

  bool start_tag(Tag& tag) {
    ++at_;  // '<'
    if (!name(&tag.name)) return false;
    for (int count = 0;; ++count) {
      const bool spaced = spaces();
      if (at_ >= bytes_.size()) return cut();
      if (bytes_[at_] == '>') {
        ++at_;
        return true;
      }
      if (bytes_[at_] == '/') {
        if (at_ + 1 >= bytes_.size()) return cut();
        if (bytes_[at_ + 1] != '>') return odd();
        at_ += 2;
        tag.empty = true;
        return true;
      }
      if (!spaced || count == kMaxAttributes) return odd();
      if (!attribute(tag, static_cast<std::size_t>(count))) return false;
    }
  }

  bool end_tag(std::string_view expected) {
    const std::size_t size = 2 + expected.size();
    if (bytes_.size() - at_ < size) return cut();
    if (bytes_.substr(at_ + 2, expected.size()) != expected) return odd();
    at_ += size;
    spaces();
    if (at_ >= bytes_.size()) return cut();
    if (bytes_[at_] != '>') return odd();
    ++at_;
    return true;
  }

 private:
  bool cut() {
    failure_ = PlainRow::cut_off;
    return false;
  }
  bool odd() {
    failure_ = PlainRow::not_plain;
    return false;
  }

  bool spaces() {
    const std::size_t from = at_;
    while (at_ < bytes_.size() && is_space(bytes_[at_])) ++at_;
    return at_ != from;
  }

  bool name(std::string_view* out) {
    const std::size_t from = at_;
    while (at_ < bytes_.size() && kNameBytes[static_cast<unsigned char>(bytes_[at_])]) ++at_;
    if (at_ >= bytes_.size()) return cut();
    if (at_ == from || !is_name_start(bytes_[from])) return odd();
    *out = bytes_.substr(from, at_ - from);
    return true;
  }

  bool attribute(Tag& tag, std::size_t index) {
    std::string_view& name_of = names_[index];
    if (!name(&name_of)) return false;
    spaces();
    if (at_ >= bytes_.size()) return cut();
    if (bytes_[at_++] != '=') return odd();
    spaces();
    if (at_ >= bytes_.size()) return cut();
    const char quote = bytes_[at_];
    if (quote != '"' && quote != '\'') return odd();
    const std::size_t close = bytes_.find(quote, at_ + 1);
    if (close == std::string_view::npos) return cut();
    const std::string_view value = bytes_.substr(at_ + 1, close - at_ - 1);
    at_ = close + 1;
    if (!all_of(value, kValueBytes)) return odd();
    for (std::size_t i = 0; i < index; ++i) {
      if (names_[i] == name_of) return odd();  // the parser refuses repeats
    }
    if (name_of.starts_with("xmlns")) return true;
    const std::string_view local = local_name(name_of);
    if (local == "r" && !tag.has_r) {
      tag.has_r = true;
      tag.r = value;
    } else if (local == "t" && !tag.has_t) {
      tag.has_t = true;
      tag.t = value;
    } else if (local == "s" && !tag.has_s) {
      tag.has_s = true;
      tag.s = value;
    }
    return true;
  }

  std::string_view bytes_;
  std::size_t at_;
  PlainRow failure_ = PlainRow::not_plain;
  std::array<std::string_view, kMaxAttributes> names_;  // of the tag being read
};

// The next child element of `parent` after ignored text; false when not
// plain. *ended when the parent's end tag came instead.
bool next_child(Cursor& in, std::string_view parent, Tag& child, bool* ended) {
  if (!in.text() || !in.is_end(ended)) return false;
  return *ended ? in.end_tag(parent) : in.start_tag(child);
}

// The rest of an element that holds text only.
bool text_only(Cursor& in, const Tag& element, std::string_view* text = nullptr) {
  return element.empty || (in.text(text) && in.end_tag(element.name));
}

// <is> holding at most one <t>, as plain inline strings do.
bool read_inline_string(Cursor& in, std::string_view name, std::string_view* value) {
  for (bool has_text = false;; has_text = true) {
    Tag child;
    bool ended = false;
    if (!next_child(in, name, child, &ended)) return false;
    if (ended) return true;
    if (local_name(child.name) != "t" || has_text || !text_only(in, child, value)) return false;
  }
}

// The children of <c> up to its end tag: at most one <v> or <is>, any <f>.
bool read_cell_content(Cursor& in, std::string_view name, std::string_view* value) {
  bool has_value = false;
  for (;;) {
    Tag child;
    bool ended = false;
    if (!next_child(in, name, child, &ended)) return false;
    if (ended) return true;
    const std::string_view local = local_name(child.name);
    if (local == "f") {
      if (!text_only(in, child)) return false;
      continue;
    }
    if (has_value || (local != "v" && local != "is")) return false;
    has_value = true;
    if (local == "v" ? !text_only(in, child, value)
                     : !child.empty && !read_inline_string(in, child.name, value)) {
      return false;
    }
  }
}

// The column of a cell in a wanted row: its reference's, which must name
// that row, or the one after the previous cell's. 0 when not plain.
int cell_column(const Tag& cell, int row, int previous) {
  if (!cell.has_r) return previous + 1;
  char address[12] = {};
  if (cell.r.size() >= sizeof address) return 0;
  cell.r.copy(address, cell.r.size());
  const CellPosition at = parse_cell_address(address);
  return at.row == row ? at.column : 0;
}

// The cell form most writers use, read without the general reader:
// <c r="A1" s="1" t="n"><v>text</v></c> with no text before it, unprefixed
// names, each of r, s and t at most once (in any order) with letters and
// digits as values, and no white space but the blanks before attributes.
// Every input it takes, the general reader reads to the same cell; on
// anything else it gives up and that reader takes the cell.
class QuickCell {
 public:
  QuickCell(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  // The cell's end, or 0 when the cell is not of this form.
  std::size_t read(Tag& cell, std::string_view* value) {
    if (!literal("<c")) return 0;
    while (at_ < bytes_.size() && bytes_[at_] == ' ') {
      ++at_;
      if (!attribute(cell)) return 0;
    }
    if (!literal("><v>")) return 0;
    const std::size_t from = at_;
    while (at_ < bytes_.size() && kTextBytes[static_cast<unsigned char>(bytes_[at_])]) ++at_;
    *value = bytes_.substr(from, at_ - from);
    return literal("</v></c>") ? at_ : 0;
  }

 private:
  bool literal(std::string_view text) {
    if (bytes_.substr(at_, text.size()) != text) return false;
    at_ += text.size();
    return true;
  }

  bool attribute(Tag& cell) {
    if (bytes_.size() - at_ < 3 || bytes_[at_ + 1] != '=' || bytes_[at_ + 2] != '"') return false;
    const char name = bytes_[at_];
    bool* seen = name == 'r' ? &cell.has_r : name == 't' ? &cell.has_t : name == 's' ? &cell.has_s : nullptr;
    if (!seen || *seen) return false;
    *seen = true;
    at_ += 3;
    const std::size_t from = at_;
    while (at_ < bytes_.size() && is_alphanumeric(bytes_[at_])) ++at_;
    if (at_ >= bytes_.size() || bytes_[at_] != '"') return false;
    const std::string_view text = bytes_.substr(from, at_ - from);
    ++at_;
    if (name == 'r') cell.r = text;
    if (name == 't') cell.t = text;
    if (name == 's') cell.s = text;
    return true;
  }

  static bool is_alphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  }

  std::string_view bytes_;
  std::size_t at_;
};

}  // namespace

PlainRow read_plain_row(std::string_view bytes, std::size_t at, std::string_view row_name,
                        int row, const CellRange* wanted, std::vector<PlainCell>& cells,
                        std::size_t* end) {
  Cursor in(bytes, at);
  int column = 0;
  for (;;) {
    Tag cell;
    std::string_view value;
    if (const std::size_t quick_end = QuickCell(bytes, in.at()).read(cell, &value)) {
      in = Cursor(bytes, quick_end);
    } else {
      cell = Tag{};
      value = {};
      bool ended = false;
      if (!next_child(in, row_name, cell, &ended)) return in.failure();
      if (ended) {
        *end = in.at();
        return PlainRow::read;
      }
      if (local_name(cell.name) != "c") return PlainRow::not_plain;
      if (!cell.empty && !read_cell_content(in, cell.name, &value)) return in.failure();
    }
    if (!wanted) continue;
    column = cell_column(cell, row, column);
    if (column == 0) return PlainRow::not_plain;  // the reader refuses it
    if (wanted->contains(row, column)) {
      cells.push_back({column, cell.has_t ? cell.t : std::string_view("n"), value, cell.s});
    }
  }
}

}  // namespace kestra::import
