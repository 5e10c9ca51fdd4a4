// The README's status table and the public header's status enum list the
// same codes under the same names, and every code has its text.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "kestra.h"

namespace {

using CodeNames = std::map<int, std::string>;

// Every line of `path` from the one starting with `from` (the first line when
// empty) to the next "};" that `pattern` matches whole, as code -> name; the
// pattern captures the code and the name (in either order, by group number).
CodeNames matching_rows(const std::string& path, const std::string& from, const std::regex& pattern,
                        int code_group, int name_group) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  CodeNames rows;
  std::smatch match;
  bool inside = from.empty();
  for (std::string line; std::getline(in, line);) {
    if (!inside) {
      inside = line.starts_with(from);
      continue;
    }
    if (!from.empty() && line.starts_with("};")) break;
    if (!std::regex_match(line, match, pattern)) continue;
    const int code = std::stoi(match[code_group]);
    EXPECT_TRUE(rows.emplace(code, match[name_group]).second) << "code listed twice: " << code;
  }
  return rows;
}

CodeNames readme_table() {
  return matching_rows(KESTRA_SOURCE_DIR "/README.md", "",
                       std::regex(R"(\|\s*(\d+)\s*\|\s*`(KESTRA_[A-Z_]+)`\s*\|.*)"), 1, 2);
}

// The enumerators of KestraStatus in the public header.
CodeNames header_enum() {
  return matching_rows(KESTRA_SOURCE_DIR "/include/kestra.h", "enum KestraStatus",
                       std::regex(R"(\s*(KESTRA_[A-Z_]+)\s*=\s*(\d+),.*)"), 2, 1);
}

TEST(StatusTable, ReadmeListsTheHeadersCodes) {
  const CodeNames readme = readme_table();
  EXPECT_EQ(readme, header_enum());
  // The codes run from 1001 to KESTRA_INTERNAL without a gap, after 0.
  ASSERT_EQ(readme.size(), static_cast<std::size_t>(KESTRA_INTERNAL - 1000 + 1));
  int expected = KESTRA_MODE_UNKNOWN;
  for (const auto& [code, name] : readme) {
    if (code == KESTRA_OK) continue;
    EXPECT_EQ(code, expected++) << name;
    EXPECT_STRNE(KestraStatusText(code), "unknown status") << name;
  }
}

}  // namespace
