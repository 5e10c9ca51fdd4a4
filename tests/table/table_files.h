// Test helpers for the table reader: a file written into a temporary folder,
// read back, and the result as one compact CSV-like text to compare.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>

#include "kestra_table.h"
#include "support/temp_dir.h"

namespace kestra::test {

inline void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// "name:v,v,..." per row under a "labels:" line; flags say whether the
// names and labels came from the input; a gap prints as "_".
inline std::string summary(const Table& table) {
  std::string text = (table.has_category_labels ? "L|" : "-|");
  text += table.has_series_names ? "N|" : "-|";
  for (std::size_t c = 0; c < table.cols; ++c) {
    text += (c ? "," : "") + table.category_labels[c];
  }
  for (std::size_t r = 0; r < table.rows; ++r) {
    text += "\n" + table.series_names[r] + ":";
    for (std::size_t c = 0; c < table.cols; ++c) {
      const double value = table.values[r * table.cols + c];
      if (c) text += ",";
      if (std::isnan(value)) {
        text += "_";
      } else {
        char digits[32];
        text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
      }
    }
  }
  return text;
}

// Options that keep the file's rows as series, so that a test of reading
// sees the table as the file lays it out.
inline TableOptions as_laid_out() {
  TableOptions options;
  options.series = Series::rows;
  return options;
}

// Writes `bytes` as `name` in a fresh folder and reads it.
inline TableRead read_bytes(const std::string& name, const std::string& bytes,
                            const TableOptions& options = as_laid_out()) {
  TempDir dir;
  write_bytes(dir.file(name), bytes);
  return read_table(dir.file(name), options);
}

// The summary of a table that must read without failure.
inline std::string read_summary(const std::string& name, const std::string& bytes,
                                const TableOptions& options = as_laid_out()) {
  const TableRead read = read_bytes(name, bytes, options);
  EXPECT_EQ(read.status, KESTRA_OK) << read.message;
  return summary(read.table);
}

inline TableOptions with_header(HeaderMode mode) {
  TableOptions options = as_laid_out();
  options.header = mode;
  return options;
}

}  // namespace kestra::test
