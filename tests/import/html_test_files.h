// Test helpers: HTML files written at test time into a temporary folder that
// is removed at the end of the scope, and tables read back as plain vectors.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "import/html_table.h"
#include "kestra.h"

namespace kestra::test::html_files {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestra_html_XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "no temporary folder";
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes `content` to a file of that name in the folder and returns its path.
  std::string write(const std::string& name, const std::string& content) const {
    const std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
  std::string path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

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
  const TempFolder folder;
  return read_html_file(folder.write("table.html", content));
}

}  // namespace kestra::test::html_files
