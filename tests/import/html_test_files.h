// Test helpers: HTML files written at test time into a temporary folder, and
// tables read back as plain vectors.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "import/html_table.h"
#include "kestra.h"
#include "support/temp_dir.h"

namespace kestra::test::html_files {

// Writes `content` to the file `name` in `folder` and returns its path.
inline std::string write_text(const TempDir& folder, const std::string& name,
                              const std::string& content) {
  const std::string path = folder.file(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// A table read by ReadHtmlTable, its values copied and released.
struct ReadResult {
  int status = -1;
  int rows = 0;
  int cols = 0;
  std::vector<double> values;
};

inline ReadResult read_html_file(const std::string& path) {
  TAB_GR table{-1, -1, nullptr};
  ReadResult result;
  result.status = import::ReadHtmlTable(path.c_str(), &table);
  if (result.status == KESTRA_OK) {
    result.rows = table.rows;
    result.cols = table.cols;
    result.values.assign(table.values, table.values + std::size_t(table.rows) * table.cols);
    FreeTabGr(&table);
  } else {
    EXPECT_EQ(table.values, nullptr) << "table filled on failure";
  }
  return result;
}

inline ReadResult read_html(const std::string& content) {
  const TempDir folder;
  return read_html_file(write_text(folder, "table.html", content));
}

}  // namespace kestra::test::html_files
