// A byte-level tokeniser just rich enough for the structure of a worksheet
// part: tags with quoted attribute values, text, comments, CDATA sections and
// processing instructions. A document type, a tag it cannot read or a
// non-ASCII-compatible encoding ends the scan.
#include "import/xlsx_sheet_scan.h"

#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

constexpr std::size_t kMaxHeld = std::size_t{1} << 20;  // one row's bytes, at most

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view local_name(std::string_view name) { return name.substr(name.rfind(':') + 1); }

// The qualified name at the start of a tag's bytes (after "<" or "</").
std::string_view tag_name(std::string_view tag) {
  std::size_t end = 0;
  while (end < tag.size() && !is_space(tag[end]) && tag[end] != '/' && tag[end] != '>') ++end;
  return tag.substr(0, end);
}

// The row number a <row> start tag gives the sheet reader: its r attribute,
// else the one after `previous`. False when the tag is not plain enough to
// be sure what expat would report (a reference in the value, odd syntax).
bool row_number(std::string_view tag, int previous, int* number) {
  std::size_t i = 1 + tag_name(tag.substr(1)).size();
  const auto skip_spaces = [&] {
    while (i < tag.size() && is_space(tag[i])) ++i;
  };
  std::string_view r;
  bool found = false;
  for (;;) {
    skip_spaces();
    if (i >= tag.size() || tag[i] == '/' || tag[i] == '>') break;
    const std::size_t name_begin = i;
    while (i < tag.size() && !is_space(tag[i]) && tag[i] != '=' && tag[i] != '>') ++i;
    const std::string_view name = tag.substr(name_begin, i - name_begin);
    skip_spaces();
    if (i >= tag.size() || tag[i] != '=') return false;
    ++i;
    skip_spaces();
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return false;
    const std::size_t close = tag.find(tag[i], i + 1);
    if (close == std::string_view::npos) return false;
    const std::string_view value = tag.substr(i + 1, close - i - 1);
    i = close + 1;
    if (!found && local_name(name) == "r" && !name.starts_with("xmlns")) {
      if (value.find('&') != std::string_view::npos) return false;
      found = true;
      r = value;
    }
  }
  if (!found || !parse_number(r, number)) *number = previous + 1;
  return true;
}

}  // namespace

std::string_view SheetScanner::pass(std::string_view piece, bool last) {
  if (mode_ == Mode::passing) return piece;
  out_.clear();
  handed_row_ = false;
  held_.append(piece);
  if (!encoding_checked_) {
    if (held_.size() < 3 && !last) return {};
    encoding_checked_ = true;
    if (!has_plain_encoding()) pass_from(0);
  }
  Token token;
  while (mode_ != Mode::passing && next_token(token)) {
    if (!take(token)) {
      at_ = token.begin;  // a row cut off by the piece's end: read it again whole
      break;
    }
  }
  if (mode_ != Mode::passing) {
    if (last) {
      pass_from(in_row_ ? row_begin_ : at_);  // cut off: let expat report it
    } else {
      drop_consumed();
      if (held_.size() > kMaxHeld) pass_from(0);
    }
  }
  return out_;
}

// UTF-8 (with or without its byte order mark) or another encoding where
// markup is ASCII; not UTF-16.
bool SheetScanner::has_plain_encoding() const {
  const std::string_view start(held_);
  return start.starts_with("\xEF\xBB\xBF") ||
         (start.size() >= 2 && start[0] == '<' && start[1] != 0);
}

bool SheetScanner::next_token(Token& token) {
  const std::string_view rest = std::string_view(held_).substr(at_);
  if (rest.empty()) return false;
  token.begin = at_;
  token.name = {};
  const auto ends_at = [&](std::size_t end, Kind kind) {
    if (end == std::string_view::npos) return false;
    token.kind = kind;
    token.end = at_ + end;
    at_ = token.end;
    return true;
  };
  const auto closed_by = [&](std::string_view close, std::size_t from, Kind kind) {
    const std::size_t found = rest.find(close, from);
    return ends_at(found == std::string_view::npos ? found : found + close.size(), kind);
  };
  if (rest[0] != '<') {
    const std::size_t found = rest.find('<');
    return ends_at(found == std::string_view::npos ? rest.size() : found, Kind::text);
  }
  if (rest.size() < 2) return false;
  if (rest[1] == '?') return closed_by("?>", 2, Kind::comment);
  if (rest[1] == '!') {
    constexpr std::string_view comment = "<!--", cdata = "<![CDATA[";
    if (rest.starts_with(comment)) return closed_by("-->", comment.size(), Kind::comment);
    if (rest.starts_with(cdata)) return closed_by("]]>", cdata.size(), Kind::comment);
    if (comment.starts_with(rest) || cdata.starts_with(rest)) return false;
    return ends_at(rest.size(), Kind::other);
  }
  if (rest[1] == '/') {
    token.name = tag_name(rest.substr(2));
    return closed_by(">", 2, Kind::end);
  }
  std::size_t end = 1;
  for (; end < rest.size() && rest[end] != '>'; ++end) {
    if (rest[end] == '"' || rest[end] == '\'') end = rest.find(rest[end], end + 1);  // a value
    if (end == std::string_view::npos) return false;
  }
  if (end == rest.size()) return false;
  token.name = tag_name(rest.substr(1));
  return ends_at(end + 1, rest[end - 1] == '/' ? Kind::empty : Kind::start);
}

// False when the token needs bytes of a later piece.
bool SheetScanner::take(const Token& token) {
  if (mode_ == Mode::scanning) {
    scan(token);
  } else if (in_row_) {
    in_row(token);
  } else {
    return between_rows(token);
  }
  return true;
}

// Before the sheet data: everything goes on to expat.
void SheetScanner::scan(const Token& token) {
  const bool is_tag = token.kind == Kind::start || token.kind == Kind::empty;
  const std::string_view name = local_name(token.name);
  if (token.kind == Kind::other || (is_tag && (name == "row" || name == "c" || name == "rPh")) ||
      (token.kind == Kind::empty && name == "sheetData")) {
    // What these change would outlast the sheet data's start; an empty sheet
    // data ends the reading there, as expat's reader stops at its end.
    pass_from(token.begin);
    return;
  }
  out_.append(held_, token.begin, token.end - token.begin);
  if (token.kind == Kind::start) {
    ++outer_depth_;
    if (name == "sheetData") mode_ = Mode::rows;
  } else if (token.kind == Kind::end) {
    --outer_depth_;
  }
}

// Between rows of the sheet data: text and comments are dropped, a row is
// read; anything else ends the scan.
bool SheetScanner::between_rows(const Token& token) {
  switch (token.kind) {
    case Kind::text:
    case Kind::comment:
      return true;
    case Kind::start:
    case Kind::empty:
      if (local_name(token.name) == "row") return start_row(token);
      [[fallthrough]];
    default:
      pass_from(token.begin);
      return true;
  }
}

bool SheetScanner::start_row(const Token& token) {
  int number = 0;
  const std::string_view tag = std::string_view(held_).substr(token.begin, token.end - token.begin);
  if (!row_number(tag, last_row_, &number) || number > wanted_.last_row ||
      outer_depth_ + 1 > kMaxXmlDepth) {
    pass_from(token.begin);  // past the range, or for expat to judge
    return true;
  }
  if (token.kind == Kind::empty) {
    last_row_ = number;
    return true;
  }
  // Cells go to the reader in document order: after a row handed to expat,
  // the rest of the piece goes there too.
  if (!handed_row_ && outer_depth_ + 4 <= kMaxXmlDepth) {  // row, cell, inline string, text
    plain_.clear();
    std::size_t end = 0;
    const CellRange* wanted = number >= wanted_.first_row ? &wanted_ : nullptr;
    switch (read_plain_row(held_, token.end, token.name, number, wanted, plain_, &end)) {
      case PlainRow::read:
        for (const PlainCell& cell : plain_) cells_.cell(number, cell);
        last_row_ = number;
        at_ = end;
        return true;
      case PlainRow::cut_off:
        return false;
      case PlainRow::not_plain:
        break;
    }
  }
  in_row_ = true;
  row_begin_ = token.begin;
  row_number_ = number;
  depth_ = 0;
  open(token.name);
  return true;
}

// Inside a row that is not plain: only its balance and depth are checked. A
// nested row or sheet data element would change what the reader does, so the
// rest of the part goes to expat from the row on.
void SheetScanner::in_row(const Token& token) {
  switch (token.kind) {
    case Kind::text:
    case Kind::comment:
      return;
    case Kind::start:
    case Kind::empty: {
      const std::string_view name = local_name(token.name);
      const bool too_deep = outer_depth_ + depth_ + 1 > kMaxXmlDepth;  // for expat to refuse
      if (name == "row" || name == "sheetData" || too_deep) break;
      if (token.kind == Kind::start) open(token.name);
      return;
    }
    case Kind::end:
      if (open_[static_cast<std::size_t>(depth_ - 1)] != token.name) break;
      if (--depth_ == 0) end_row();
      return;
    case Kind::other:
      break;
  }
  pass_from(row_begin_);
}

// A row above the range is dropped; a row of the range goes to expat.
void SheetScanner::end_row() {
  in_row_ = false;
  if (row_number_ >= wanted_.first_row) {
    catch_up();
    out_.append(held_, row_begin_, at_ - row_begin_);
    parsed_row_ = row_number_;
    handed_row_ = true;
  }
  last_row_ = row_number_;
}

void SheetScanner::open(std::string_view name) {
  const auto at = static_cast<std::size_t>(depth_++);
  if (open_.size() == at) open_.emplace_back();
  open_[at] = name;
}

// An empty row that moves expat's reader to the last row it did not see.
void SheetScanner::catch_up() {
  if (parsed_row_ == last_row_) return;
  out_ += "<row r=\"" + std::to_string(last_row_) + "\"/>";
  parsed_row_ = last_row_;
}

// Hands everything held from `at` on to expat, and every later byte as it
// comes.
void SheetScanner::pass_from(std::size_t at) {
  catch_up();
  out_.append(held_, at);
  held_.clear();
  held_.shrink_to_fit();
  at_ = 0;
  mode_ = Mode::passing;
}

void SheetScanner::drop_consumed() {
  const std::size_t keep = in_row_ ? row_begin_ : at_;
  held_.erase(0, keep);
  at_ -= keep;
  if (in_row_) row_begin_ = 0;
}

}  // namespace kestra::import
