// Range texts, cell addresses and the number a cell's value gives.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

TEST(ParseCellRange, ReadsCornersOfValidTexts) {
  struct Case {
    int line;
    const char* text;
    CellRange expected;
  } cases[] = {
      {__LINE__, "B2:D4", {2, 2, 4, 4}},
      {__LINE__, "$B$2:$D$4", {2, 2, 4, 4}},      // '$' is skipped
      {__LINE__, "B2D4", {2, 2, 4, 4}},           // so is a missing ':'
      {__LINE__, " B2 : D4 ", {2, 2, 4, 4}},      // and spaces
      {__LINE__, "B2:D4:F9", {2, 2, 4, 4}},       // the letter after the second row ends it
      {__LINE__, "Y1:AB1", {25, 1, 28, 1}},
      {__LINE__, "A1:ZZ9999", {1, 1, 702, 9999}}, // the largest range
      {__LINE__, "AZ0010:BA12", {52, 10, 53, 12}},// leading zeros count for nothing
      {__LINE__, "C3:C3", {3, 3, 3, 3}},          // one cell, named twice
      {__LINE__, "Bx2:yD4", {2, 2, 4, 4}},        // lower-case letters are skipped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.text);
    CellRange range;
    ASSERT_EQ(parse_cell_range(c.text, &range), KESTRA_OK);
    EXPECT_EQ(range.first_column, c.expected.first_column);
    EXPECT_EQ(range.first_row, c.expected.first_row);
    EXPECT_EQ(range.last_column, c.expected.last_column);
    EXPECT_EQ(range.last_row, c.expected.last_row);
  }
}

TEST(ParseCellRange, RefusesMalformedTexts) {
  const char* cases[] = {
      "b2:d4",       // lower case only: no first column
      "B2",          // a single cell
      "B2:D",        // no second row
      "D4:B2",       // second corner left of and above the first
      "B4:D2",       // above only
      "D2:B4",       // left only
      "ABC1:ABD2",   // a third letter
      "A1:ABD2",     // a third letter in the second corner
      "A10000:B2",   // a fifth digit
      "A1:B10000",   // a fifth digit in the second row
      "A0:B2",       // row 0
      "A1:B0",       // second row 0
      "12:B4",       // a digit before any letter
      "",            // nothing
      "::$$",        // nothing but skipped characters
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    CellRange range;
    EXPECT_EQ(parse_cell_range(text, &range), KESTRA_BAD_RANGE);
  }
}

TEST(FormatCellAddress, IsTheExactInverseOfTheLettering) {
  struct Case {
    int column, row;
    const char* expected;
  } cases[] = {{1, 1, "A1"}, {26, 7, "Z7"}, {27, 12, "AA12"}, {52, 9999, "AZ9999"},
               {53, 3, "BA3"}, {702, 1, "ZZ1"}};
  char address[20];
  for (const Case& c : cases) {
    format_cell_address(c.column, c.row, address);
    EXPECT_STREQ(address, c.expected);
  }
  for (int column = 1; column <= 702; ++column) {  // every column there is, both ways
    format_cell_address(column, 5, address);
    const std::string range = std::string(address) + ":" + address;
    CellRange parsed;
    ASSERT_EQ(parse_cell_range(range.c_str(), &parsed), KESTRA_OK) << address;
    EXPECT_EQ(parsed.first_column, column) << address;
    const CellPosition position = parse_cell_address(address);
    EXPECT_EQ(position.column, column);
    EXPECT_EQ(position.row, 5);
  }
}

TEST(ParseCellAddress, RefusesWhatIsNoAddress) {
  for (const char* text : {"", "A", "12", "A0", "a1", "A1B", "ABCD1", "A12345678", "$A$1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parse_cell_address(text).column, 0);
  }
  EXPECT_EQ(parse_cell_address("XFD1048576").column, 16384);  // the last cell of a sheet
}

TEST(CellNumber, TextsGoThroughTheCellBuffer) {
  struct Case {
    int line;
    const char* text;
    double expected;
  } cases[] = {
      {__LINE__, "3,5", 3.5},
      {__LINE__, "3.5", 3.5},
      {__LINE__, "1,234.5", 1.234},  // ',' is a decimal point, the second point ends it
      {__LINE__, "", 0},
      {__LINE__, "  -12.5e1xyz", -125},
      {__LINE__, "+.5", 0.5},
      {__LINE__, "1e", 1},        // an exponent without digits is not taken
      {__LINE__, "1e+", 1},
      {__LINE__, "=A1+B1", 0},    // a formula text
      {__LINE__, "abc", 0},
      {__LINE__, "0x1A", 0},      // hexadecimal stops after the '0'
      {__LINE__, "inf", 0},
      {__LINE__, "NaN", 0},
      {__LINE__, ".", 0},
      {__LINE__, "-", 0},
      {__LINE__, "1e400", HUGE_VAL},
      {__LINE__, "-1e400", -HUGE_VAL},
      {__LINE__, "1e-400", 0},
      {__LINE__, "TRUE", 0},
      // Cut to 19 characters: the 20th digit and beyond are gone.
      {__LINE__, "12345678901234567890123", 1234567890123456789.0},
      {__LINE__, "0.12345678901234567891", 0.12345678901234567},
      {__LINE__, "1234567890123456789e5", 1234567890123456789.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.text);
    EXPECT_EQ(cell_number(Cell::of_text(c.text)), c.expected);
  }
}

TEST(CellNumber, StoredNumbersAreTakenAsTheyAre) {
  EXPECT_EQ(cell_number(Cell{}), 0);
  EXPECT_EQ(cell_number(Cell::of_number(-4.75)), -4.75);
  // A text of these digits would be cut to 19 characters; the number is not.
  EXPECT_EQ(cell_number(Cell::of_number(0.1 + 0.2)), 0.1 + 0.2);
  EXPECT_EQ(cell_number(Cell::of_number(1e300)), 1e300);
  EXPECT_EQ(cell_number(Cell::of_number(HUGE_VAL)), 0);  // only a damaged file holds these
  EXPECT_EQ(cell_number(Cell::of_number(std::nan(""))), 0);
}

}  // namespace
}  // namespace kestra::import
