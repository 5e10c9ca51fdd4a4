// to_font_code_page: UTF-8 texts in the fonts' code page 1251.
#include <gtest/gtest.h>

#include "kestra_code_page.h"

namespace kestra {
namespace {

TEST(FontCodePage, MapsUtf8ToCodePage1251) {
  struct Case {
    int line;
    std::string utf8;
    std::string bytes;
    bool replaced;
  };
  const Case cases[] = {
      {__LINE__, "Sales, kEUR", "Sales, kEUR", false},
      {__LINE__, "\xD0\x92\xD1\x8B\xD1\x80\xD1\x83\xD1\x87\xD0\xBA\xD0\xB0",  // Cyrillic
       "\xC2\xFB\xF0\xF3\xF7\xEA\xE0", false},
      {__LINE__, "5 \xE2\x82\xAC", "5 \x88", false},             // the euro sign
      {__LINE__, "caf\xC3\xA9", "caf?", true},                    // no é in 1251
      {__LINE__, "\xF0\x9F\x93\x88 up", "? up", true},           // outside the BMP
      {__LINE__, "bad \xFF byte", "bad ? byte", true},            // not UTF-8
      {__LINE__, "cut \xE2\x82", "cut ??", true},                 // a sequence cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const CodePageText text = to_font_code_page(c.utf8);
    EXPECT_EQ(text.bytes, c.bytes);
    EXPECT_EQ(text.replaced, c.replaced);
  }
}

}  // namespace
}  // namespace kestra
