// A grid with its header edges decided becomes a Table: labels, names,
// values (a gap for every cell that holds no number) and notes.
#include <charconv>
#include <cmath>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr std::size_t kListedGaps = 3;
constexpr std::size_t kNoteTextBytes = 40;

// "A", "B", ... "Z", "AA", ... for column index 0, 1, ...
std::string column_letters(std::size_t index) {
  std::string letters;
  for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

std::string source_address(const Grid& grid, std::size_t row, std::size_t col) {
  return column_letters(static_cast<std::size_t>(grid.first_column - 1) + col) +
         std::to_string(static_cast<std::size_t>(grid.first_row) + row);
}

// A workbook's number in a header cell (a year, say) in its shortest form.
std::string number_text(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// A header cell's text: its own, else the number a workbook stored there.
std::string header_text(const SourceCell& cell) {
  std::string text(trim_spaces(cell.text));
  if (text.empty() && cell.number) text = number_text(*cell.number);
  return text;
}

// The input's texts along one edge; a blank one takes its default.
std::vector<std::string> edge_texts(const Grid& grid, bool along_row, std::size_t skip,
                                    std::string (*fallback)(std::size_t)) {
  std::vector<std::string> texts;
  const std::size_t count = along_row ? grid.cols : grid.rows;
  for (std::size_t i = skip; i < count; ++i) {
    const SourceCell& cell = along_row ? grid.at(0, i) : grid.at(i, 0);
    std::string text = header_text(cell);
    texts.push_back(text.empty() ? fallback(i - skip) : std::move(text));
  }
  return texts;
}

std::vector<std::string> default_texts(std::size_t count, std::string (*make)(std::size_t)) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < count; ++i) texts.push_back(make(i));
  return texts;
}

std::string series_number(std::size_t index) { return std::to_string(index + 1); }

double cell_value(const SourceCell& cell, DecimalMark mark) {
  if (cell.number) return *cell.number;
  return parse_number(cell.text, mark).value_or(std::nan(""));
}

// The texts statistics programs write for a missing value (R's NA, pandas'
// NaN, spreadsheets' #N/A): gaps without a note.
bool is_missing_marker(std::string_view text) {
  for (const std::string_view marker :
       {"NA", "N/A", "NaN", "nan", "null", "NULL", "None", "<NA>", "#N/A"}) {
    if (text == marker) return true;
  }
  return false;
}

void note_gaps(Table& table, const std::vector<std::string>& examples, std::size_t count) {
  if (count == 0) return;
  std::string note = std::to_string(count) + (count == 1 ? " cell holds" : " cells hold") +
                     " text that is no number, left as a gap:";
  for (const std::string& example : examples) note += " " + example;
  if (count > examples.size()) note += " ...";
  table.notes.push_back(std::move(note));
}

}  // namespace

Table build_table(Grid grid, HeaderEdges edges, DecimalMark mark) {
  Table table;
  const std::size_t row0 = edges.label_row && grid.rows > 0 ? 1 : 0;
  const std::size_t col0 = edges.name_column && grid.cols > 0 ? 1 : 0;
  table.rows = grid.rows - row0;
  table.cols = grid.cols - col0;
  table.has_category_labels = row0 == 1;
  table.has_series_names = col0 == 1;
  table.category_labels = row0 ? edge_texts(grid, true, col0, column_letters)
                               : default_texts(table.cols, column_letters);
  table.series_names = col0 ? edge_texts(grid, false, row0, series_number)
                            : default_texts(table.rows, series_number);
  table.values.reserve(table.rows * table.cols);
  std::vector<std::string> gap_examples;
  std::size_t gaps = 0;
  for (std::size_t r = row0; r < grid.rows; ++r) {
    for (std::size_t c = col0; c < grid.cols; ++c) {
      const SourceCell& cell = grid.at(r, c);
      table.values.push_back(cell_value(cell, mark));
      const std::string_view text = trim_spaces(cell.text);
      if (!std::isnan(table.values.back()) || text.empty() || is_missing_marker(text)) continue;
      if (++gaps <= kListedGaps) {
        std::string example(text);
        cut_utf8(example, kNoteTextBytes);
        gap_examples.push_back(source_address(grid, r, c) + " \"" + example + "\"");
      }
    }
  }
  if (row0 && col0) table.corner = header_text(grid.at(0, 0));
  table.title = std::move(grid.title);
  table.notes = std::move(grid.notes);
  if (mark == DecimalMark::comma) table.notes.push_back("read with a decimal comma");
  note_gaps(table, gap_examples, gaps);
  return table;
}

}  // namespace kestra::table
