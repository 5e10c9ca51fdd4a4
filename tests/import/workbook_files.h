// Workbook files for the spreadsheet tests: a scratch folder, plain files,
// and .xlsx workbooks written by libxlsxwriter.
#pragma once

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "kestra.h"

namespace kestra::test {

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestra-xls-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string fixture(const std::string& name) {
  return std::string(KESTRA_TEST_DATA) + "/import/" + name;
}

inline EXCEL_TAB excel_tab(int sheet, const char* range) {
  EXCEL_TAB tab{sheet, {}};
  std::snprintf(tab.cellRange, sizeof tab.cellRange, "%s", range);
  return tab;
}

// An .xlsx workbook being written; closed (and so saved) by save().
class XlsxWriter {
 public:
  explicit XlsxWriter(const std::string& path, bool inline_strings = false) {
    lxw_workbook_options options{};
    options.constant_memory = inline_strings ? LXW_TRUE : LXW_FALSE;  // it writes inline strings
    book_ = workbook_new_opt(path.c_str(), &options);
  }
  ~XlsxWriter() {
    if (book_) workbook_close(book_);
  }
  XlsxWriter(const XlsxWriter&) = delete;
  XlsxWriter& operator=(const XlsxWriter&) = delete;

  lxw_worksheet* sheet(const char* name = nullptr) { return workbook_add_worksheet(book_, name); }
  void save() {
    ASSERT_EQ(workbook_close(book_), LXW_NO_ERROR);
    book_ = nullptr;
  }

 private:
  lxw_workbook* book_;
};

}  // namespace kestra::test
