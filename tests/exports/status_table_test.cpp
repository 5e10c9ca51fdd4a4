// README's status table is the public header's status list word for word,
// and the list runs from 1001 to KESTRA_INTERNAL without a gap.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "kestra.h"

namespace {

struct StatusRow {
  int value;
  const char* name;
  const char* text;
};

#define KESTRA_STATUS_ROW(name, value, text) {value, #name, text},
constexpr StatusRow status_rows[] = {KESTRA_STATUS_CODES(KESTRA_STATUS_ROW)};
#undef KESTRA_STATUS_ROW

// The README line of one row.
std::string readme_line(const StatusRow& row) {
  return "| " + std::to_string(row.value) + " | `" + row.name + "` | " + row.text + " |";
}

// The lines of README.md that start a status table row ("| 0 |", "| 1001 |", ...).
std::vector<std::string> readme_status_lines() {
  std::ifstream in(KESTRA_SOURCE_DIR "/README.md");
  EXPECT_TRUE(in);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("| ") && line.find(" | `KESTRA_") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

TEST(StatusTable, ReadmeListsTheHeadersRowsWordForWord) {
  std::vector<std::string> expected;
  for (const StatusRow& row : status_rows) expected.push_back(readme_line(row));
  std::string table;
  for (const std::string& line : expected) table += line + "\n";
  EXPECT_EQ(readme_status_lines(), expected) << "README's status table should read:\n" << table;
}

TEST(StatusTable, CodesRunWithoutAGapAndEachHasItsText) {
  ASSERT_EQ(std::size(status_rows), static_cast<std::size_t>(KESTRA_INTERNAL - 1000 + 1));
  EXPECT_EQ(status_rows[0].value, KESTRA_OK);
  int expected = KESTRA_MODE_UNKNOWN;
  for (const StatusRow& row : status_rows) {
    if (row.value == KESTRA_OK) continue;
    EXPECT_EQ(row.value, expected++) << row.name;
    EXPECT_STREQ(KestraStatusText(row.value), row.text) << row.name;
  }
}

}  // namespace
