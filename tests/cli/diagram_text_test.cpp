// Record texts: UTF-8 kept as given, cut to the field on a character boundary.
#include <gtest/gtest.h>

#include "diagram_text.h"

namespace kestra::cli {
namespace {

TEST(DiagramText, CutsOnCharacterBoundaries) {
  struct Case {
    int line;
    std::string text;
    std::size_t limit;
    std::string kept;
  };
  const Case cases[] = {
      {__LINE__, "Sales, kEUR", 19, "Sales, kEUR"},
      {__LINE__, "Z\xC3\xBCrich", 7, "Z\xC3\xBCrich"},             // exactly fits
      {__LINE__, "Z\xC3\xBCrich", 2, "Z"},                         // would split the ü
      {__LINE__, "\xE6\x9D\xB1\xE4\xBA\xAC", 5, "\xE6\x9D\xB1"},   // 東京: 3 bytes each
      {__LINE__, "\xF0\x9F\x93\x88 up", 3, ""},                    // a 4-byte character
      {__LINE__, "bad \xFF byte", 5, "bad \xFF"},                  // a stray byte is one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> notes;
    EXPECT_EQ(field_text(c.text, c.limit, "name", notes), c.kept);
    EXPECT_EQ(notes.size(), c.kept == c.text ? 0u : 1u);
  }
}

}  // namespace
}  // namespace kestra::cli
