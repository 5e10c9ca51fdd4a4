// The table reader's separator: the exports' sniffing over the lines that
// are not comments, with whitespace-aligned columns (as gnuplot and many
// scientific tools write them) taken when no tab, semicolon or comma is
// found equally often on every line.
#include <algorithm>
#include <vector>

#include "import/import.h"
#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr std::size_t kSniffedLines = 50;

bool is_comment(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && line[first] == '#';
}

// The complete lines of `head` (the one line when there is no line end),
// comments and blank lines left out.
std::vector<std::string_view> data_lines(std::string_view head) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < head.size() && lines.size() < kSniffedLines) {
    const std::size_t end = head.find('\n', start);
    if (end == std::string_view::npos && !lines.empty()) break;  // cut at the sniffed size
    std::string_view line = head.substr(start, end == std::string_view::npos ? end : end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") != std::string_view::npos && !is_comment(line)) {
      lines.push_back(line);
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The fields of one line split at runs of blanks, quotes respected.
class FieldList {
 public:
  bool field(std::string& text) {
    fields.push_back(std::move(text));
    return true;
  }
  bool end_record() { return false; }

  std::vector<std::string> fields;
};

std::vector<std::string> blank_separated_fields(std::string_view line) {
  import::CsvDialect dialect;
  dialect.separator = import::kWhitespaceSeparator;
  FieldList list;
  import::CsvTokenizer<FieldList> tokenizer(dialect, list);
  for (const char c : line) tokenizer.feed(c);
  tokenizer.finish();
  return std::move(list.fields);
}

bool is_number(const std::string& text) {
  return parse_number(text, DecimalMark::dot) || parse_number(text, DecimalMark::comma);
}

// Every line splits at blanks into the same number of fields, two or more
// (a header may have one fewer: row names), and the lines under the first
// hold a number: text with spaces in it is no such table, and neither is a
// column of numbers grouped by spaces ("12 000").
bool has_blank_aligned_columns(const std::vector<std::string_view>& lines) {
  if (lines.size() < 2) return false;
  const bool grouped_numbers = std::all_of(lines.begin() + 1, lines.end(), [](std::string_view line) {
    return is_number(std::string(line));
  });
  if (grouped_numbers) return false;
  const std::size_t width = blank_separated_fields(lines[1]).size();
  if (width < 2) return false;
  const std::size_t header = blank_separated_fields(lines[0]).size();
  if (header != width && header + 1 != width) return false;
  bool number_seen = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = blank_separated_fields(lines[i]);
    if (fields.size() != width) return false;
    for (const std::string& field : fields) number_seen = number_seen || is_number(field);
  }
  return number_seen;
}

std::string joined(const std::vector<std::string_view>& lines) {
  std::string text;
  for (const std::string_view line : lines) text.append(line).push_back('\n');
  return text;
}

}  // namespace

char sniff_table_separator(std::string_view head) {
  const std::vector<std::string_view> lines = data_lines(head);
  const std::string text = joined(lines);
  if (const std::optional<char> consistent = import::consistent_csv_separator(text)) {
    return *consistent;
  }
  if (has_blank_aligned_columns(lines)) return import::kWhitespaceSeparator;
  return import::sniff_csv_separator(text);
}

}  // namespace kestra::table
