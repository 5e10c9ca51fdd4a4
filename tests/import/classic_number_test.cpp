// Cell numbers: atof in the classic locale, decimal forms only.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/classic_number.h"
#include "import/html_test_files.h"
#include "support/system_files.h"

namespace kestra::test {
namespace {

using namespace html_files;

using import::classic_atof;

TEST(ClassicAtof, ReadsTheLongestDecimalPrefix) {
  const double inf = HUGE_VAL;
  struct Case {
    int line;
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {__LINE__, " 12.5 kg", 12.5},
      {__LINE__, "3,5", 3.0},       // no decimal comma
      {__LINE__, "&minus;4", 0.0},  // no entity decoding
      {__LINE__, "", 0.0},
      {__LINE__, "kg 5", 0.0},
      {__LINE__, "\t\n\v\f\r 8", 8.0},  // the classic locale's white space
      {__LINE__,
       "\xA0"
       "8",
       0.0},  // a no-break space is not white space
      {__LINE__, "-4", -4.0},
      {__LINE__, "+4", 4.0},
      {__LINE__, "+-4", 0.0},
      {__LINE__, "- 4", 0.0},
      {__LINE__, "007", 7.0},
      {__LINE__, ".5", 0.5},
      {__LINE__, "5.", 5.0},
      {__LINE__, ".", 0.0},
      {__LINE__, "-.5e1", -5.0},
      {__LINE__, "1e3", 1000.0},
      {__LINE__, "2E-2x", 0.02},
      {__LINE__, "1e", 1.0},  // an exponent without digits is not part of the number
      {__LINE__, "1e+", 1.0},
      {__LINE__, "1.2.3", 1.2},
      {__LINE__, "0x1A", 0.0},  // no hexadecimal: only the "0" is decimal
      {__LINE__, "0X1p3", 0.0},
      {__LINE__, "inf", 0.0},  // no infinity or NaN words
      {__LINE__, "-Infinity", 0.0},
      {__LINE__, "nan", 0.0},
      {__LINE__, "1e999", inf},  // out of range as atof: overflow to infinity
      {__LINE__, "-1e999", -inf},
      {__LINE__, "1e-999", 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(classic_atof(c.text), c.expected) << c.text;
  }
  EXPECT_TRUE(std::signbit(classic_atof("-0x5")));
}

TEST(ClassicAtof, IgnoresTheProcessLocale) {
  const TempDir folder;
  if (comma_locale(folder).empty()) GTEST_SKIP() << "no locale with a decimal comma";
  const double comma_atof = std::atof("3,5");
  const double cell_point = classic_atof("3.5");
  const double cell_comma = classic_atof("3,5");
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_EQ(comma_atof, 3.5) << "the locale was not in effect";
  EXPECT_EQ(cell_point, 3.5);
  EXPECT_EQ(cell_comma, 3.0);
}

}  // namespace
}  // namespace kestra::test
