// Which number formats show dates and times, and date cells of the 1904
// system as OLE dates.
#include <gtest/gtest.h>

#include "import/number_formats.h"

namespace kestra::import {
namespace {

TEST(NumberFormats, TellDatesAndTimesFromTheirCodes) {
  const struct {
    int line;
    const char* code;
    DateKind kind;
  } cases[] = {
      {__LINE__, "yyyy-mm-dd", DateKind::date},
      {__LINE__, "DD.MM.YYYY", DateKind::date},
      {__LINE__, "mmm yy", DateKind::date},            // months beside no hour
      {__LINE__, "h:mm AM/PM", DateKind::time},        // minutes beside an hour
      {__LINE__, "[h]:mm:ss", DateKind::time},         // elapsed time
      {__LINE__, "dd/mm/yyyy hh:mm", DateKind::date_time},
      {__LINE__, "[$-409]d-mmm-yy;@", DateKind::date},  // a locale section
      {__LINE__, "General", DateKind::none},
      {__LINE__, "0.00%", DateKind::none},
      {__LINE__, "#,##0 \"days\"", DateKind::none},   // quoted text
      {__LINE__, "0\\d", DateKind::none},              // an escaped letter
      {__LINE__, "[Red]#,##0;-#,##0", DateKind::none},
      {__LINE__, "0;\"y\"", DateKind::none},           // only the first section counts
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.code);
    EXPECT_EQ(code_date_kind(c.code), c.kind);
  }
  EXPECT_EQ(builtin_date_kind(14), DateKind::date);
  EXPECT_EQ(builtin_date_kind(20), DateKind::time);
  EXPECT_EQ(builtin_date_kind(22), DateKind::date_time);
  EXPECT_EQ(builtin_date_kind(2), DateKind::none);
  EXPECT_EQ(builtin_date_kind(164), DateKind::none);  // a custom number without its code
}

TEST(NumberFormats, GiveDateCellsOfTheSystemAsOleDates) {
  CellFormats formats;
  formats.by_index = {DateKind::none, DateKind::date, DateKind::time};
  for (const bool date1904 : {false, true}) {
    SCOPED_TRACE(date1904);
    formats.date1904 = date1904;
    const double offset = date1904 ? kDate1904Offset : 0;
    EXPECT_EQ(formats.number_cell(100, 0).number, 100);  // a number stays a number
    EXPECT_EQ(formats.number_cell(100, 0).date, DateKind::none);
    EXPECT_EQ(formats.number_cell(100, 1).number, 100 + offset);
    EXPECT_EQ(formats.number_cell(100, 1).date, DateKind::date);
    EXPECT_EQ(formats.number_cell(0.5, 2).number, 0.5);  // a time of day has no epoch
    EXPECT_EQ(formats.number_cell(100, 9).date, DateKind::none);  // no such format
  }
}

}  // namespace
}  // namespace kestra::import
