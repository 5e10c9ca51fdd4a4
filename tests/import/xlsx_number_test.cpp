// Cell numbers read by the short-decimal path must equal what from_chars
// reads from the same text, bit for bit; other texts fall through to it.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

double by_from_chars(const std::string& text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(CellNumbers, ShortDecimalsEqualFromChars) {
  std::mt19937_64 random(20261209);
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 15);
    std::string text = random() % 2 ? "-" : "";
    const auto point = static_cast<int>(random() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    double value = 0;
    ASSERT_TRUE(parse_short_decimal(text, &value)) << text;
    ASSERT_TRUE(same_bits(value, by_from_chars(text))) << text;
  }
}

TEST(CellNumbers, OtherFormsGoToFromChars) {
  for (const char* text : {"1e5", "1234567890123456", "+1", "", "-", ".", "1.2.3", " 1", "0x1"}) {
    double value = 0;
    EXPECT_FALSE(parse_short_decimal(text, &value)) << text;
  }
  double value = 0;
  ASSERT_TRUE(parse_number(std::string_view("1234567890.1234567"), &value));
  EXPECT_TRUE(same_bits(value, by_from_chars("1234567890.1234567")));
  ASSERT_TRUE(parse_number(std::string_view("-0"), &value));
  EXPECT_TRUE(std::signbit(value));
  EXPECT_FALSE(parse_number(std::string_view("5 "), &value));
}

}  // namespace
}  // namespace kestra::import
