// Delimited text split into fields and records, one byte at a time: the one
// tokenizer of both CSV readers (the exports' workbook backend and the
// table reader). Quoting follows RFC 4180: a quote opens a quoted part only
// at a field's start, a doubled quote inside it is one quote, separators and
// line breaks inside it are text, and text after the closing quote is kept.
// Where the two readers differ, the dialect says so.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

namespace kestra::import {

// The separator value that stands for a run of spaces and tabs: leading and
// trailing runs of a line end no field, and an empty field exists only quoted.
constexpr char kWhitespaceSeparator = ' ';

struct CsvDialect {
  char separator = ',';
  // A CR outside quotes ends a record (CRLF once) when true; when false it is
  // dropped and only LF ends a record, the rule the exports keep.
  bool lone_cr_ends_record = false;
  // A line whose first byte (after leading blanks in whitespace mode) is '#'
  // is a comment, no record.
  bool skip_comment_lines = false;
  std::size_t max_field_bytes = std::numeric_limits<std::size_t>::max();
};

// Sink: `bool field(std::string&)` for each field in order and `bool
// end_record()` after each record; either returns false to stop the reading.
template <class Sink>
class CsvTokenizer {
 public:
  CsvTokenizer(const CsvDialect& dialect, Sink& sink) : dialect_(dialect), sink_(sink) {}

  // False once the sink asked to stop.
  bool feed(char c) {
    if (skip_lf_) {
      skip_lf_ = false;
      if (c == '\n') return true;
    }
    if (in_comment_) {
      if (c == '\n' || (c == '\r' && dialect_.lone_cr_ends_record)) end_comment(c);
      return true;
    }
    if (quoted_) return feed_quoted(c);
    if (c == dialect_.separator && !whitespace()) return end_field();
    switch (c) {
      case '"':
        if (field_.empty()) {  // nothing of the field kept yet
          quoted_ = started_ = true;
        } else {
          append(c);
        }
        return true;
      case '\n':
        return end_record();
      case '\r':
        if (!dialect_.lone_cr_ends_record) return true;
        skip_lf_ = true;
        return end_record();
      case ' ':
      case '\t':
        if (whitespace()) return started_ ? end_field() : true;
        append(c);
        return true;
      case '#':
        if (dialect_.skip_comment_lines && at_record_start()) {
          in_comment_ = true;
          return true;
        }
        append(c);
        return true;
      default:
        append(c);
        return true;
    }
  }

  // Ends a record the text left open.
  void finish() {
    if (!at_record_start()) end_record();
  }

 private:
  bool whitespace() const { return dialect_.separator == kWhitespaceSeparator; }
  bool at_record_start() const { return fields_ == 0 && !started_; }

  bool feed_quoted(char c) {
    if (quote_pending_) {
      quote_pending_ = false;
      if (c == '"') {
        append('"');
        return true;
      }
      quoted_ = false;  // the closing quote: c is read as unquoted
      return feed(c);
    }
    if (c == '"') {
      quote_pending_ = true;
    } else {
      append(c);
    }
    return true;
  }

  void append(char c) {
    started_ = true;
    if (field_.size() < dialect_.max_field_bytes) field_.push_back(c);
  }

  bool end_field() {
    const bool go_on = sink_.field(field_);
    field_.clear();
    started_ = quoted_ = quote_pending_ = false;
    ++fields_;
    return go_on;
  }

  bool end_record() {
    const bool go_on = (!whitespace() || started_ ? end_field() : true) && sink_.end_record();
    field_.clear();
    started_ = quoted_ = quote_pending_ = false;
    fields_ = 0;
    return go_on;
  }

  void end_comment(char c) {
    in_comment_ = false;
    skip_lf_ = c == '\r';
  }

  const CsvDialect dialect_;
  Sink& sink_;
  std::string field_;
  std::size_t fields_ = 0;   // ended in this record
  bool started_ = false;     // the current field has begun (a byte or a quote)
  bool quoted_ = false;
  bool quote_pending_ = false;
  bool skip_lf_ = false;     // a CR ended the record: an LF right after is part of it
  bool in_comment_ = false;
};

}  // namespace kestra::import
