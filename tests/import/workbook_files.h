// Workbook files for the spreadsheet tests: plain files, zip packages, and
// .xlsx workbooks written by libxlsxwriter.
#pragma once

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "kestra.h"
#include "support/temp_dir.h"

namespace kestra::test {

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

// A zip package of the given entries (name, content), stored deflated.
inline void write_package(const std::string& path,
                          const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
    ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(zip), 0);
}

// The smallest .xlsx package around one worksheet part.
inline void write_one_sheet_xlsx(const std::string& path, const std::string& sheet_xml) {
  const std::string rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  write_package(path, {
      {"_rels/.rels", "<Relationships><Relationship Id=\"rId1\" Type=\"" + rels +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", "<workbook xmlns:r=\"" + rels +
                              "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId7\"/>"
                              "</sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships><Relationship Id=\"rId7\" Type=\"" + rels +
           "/worksheet\" Target=\"/xl/worksheets/s.xml\"/></Relationships>"},
      {"xl/worksheets/s.xml", sheet_xml},
  });
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
  // A chart sheet showing a column chart of `series`, such as "=Data!$A$1:$A$2".
  void chart_sheet(const char* name, const char* series) {
    lxw_chart* chart = workbook_add_chart(book_, LXW_CHART_COLUMN);
    chart_add_series(chart, nullptr, series);
    chartsheet_set_chart(workbook_add_chartsheet(book_, name), chart);
  }
  void save() {
    ASSERT_EQ(workbook_close(book_), LXW_NO_ERROR);
    book_ = nullptr;
  }

 private:
  lxw_workbook* book_;
};

}  // namespace kestra::test
