// Diagram records from a table and the options: one series description per
// row and one label per column whatever the table's size, texts cut to their
// fields, and every override landing in its DIAG_DISP field.
#include <gtest/gtest.h>

#include <cstring>

#include "diagram_records.h"
#include "values_text.h"

namespace kestra::cli {
namespace {

Table table_of(const char* values) { return std::get<Table>(parse_values(values)); }

std::vector<std::string> labels_of(const DiagramRecords& records) {
  std::vector<std::string> labels;
  for (std::size_t at = 0; at < records.labels.size(); at += labels.back().size() + 1) {
    labels.emplace_back(records.labels.data() + at);
  }
  return labels;
}

TEST(DiagramRecords, OneDescriptionPerRowAndOneLabelPerColumn) {
  // Six series: more than any fixed set of descriptions.
  const Table table = table_of("1 2 3; 4 5 6; 7 8 9; 1 1 1; 2 2 2; 3 3 3");
  DiagramLook look;
  look.names = {"North", "South"};                    // the rest from the table
  look.colors = {RGB(1, 2, 3), RGB(4, 5, 6)};         // cycled
  look.styles = {2, 3, 4};
  look.widths = {3};
  DiagramRecords records;
  build_records(table, look, records);
  ASSERT_EQ(records.elements.size(), 6u);
  const char* names[] = {"North", "South", "3", "4", "5", "6"};
  for (std::size_t r = 0; r < 6; ++r) {
    SCOPED_TRACE(r);
    EXPECT_STREQ(records.elements[r].name, names[r]);
    EXPECT_EQ(records.elements[r].color, r % 2 ? RGB(4, 5, 6) : RGB(1, 2, 3));
    EXPECT_EQ(records.elements[r].style, static_cast<int>(2 + r % 3));
    EXPECT_EQ(records.elements[r].width, 3);
  }
  EXPECT_EQ(labels_of(records), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(records.disp.categoryLabelsLength, 6);
  EXPECT_EQ(records.disp.legendEntries, 6);
  EXPECT_EQ(records.disp.elements, records.elements.data());
  EXPECT_EQ(records.table.rows, 6);
  EXPECT_EQ(records.table.cols, 3);
  EXPECT_EQ(records.table.values, table.values.data());
}

TEST(DiagramRecords, TextsStayUtf8AndAreCutToTheirFields) {
  const Table table = table_of("1 2");
  DiagramLook look;
  // 20 characters, 40 bytes of UTF-8: the 39-byte name keeps 19 of them.
  std::string cyrillic;
  for (int i = 0; i < 20; ++i) cyrillic += "\xD0\x96";  // U+0416
  look.names = {cyrillic};
  look.labels = {"Umsatz \xE2\x82\xAC", "\xE2\x9C\x93"};  // the euro sign, a check mark
  look.caption_x = "a caption of 25 letters..";
  DiagramRecords records;
  build_records(table, look, records);
  EXPECT_EQ(std::string(records.elements[0].name), cyrillic.substr(0, 38));
  const std::string expected_labels("Umsatz \xE2\x82\xAC\0\xE2\x9C\x93\0", 15);
  EXPECT_EQ(std::string(records.labels.begin(), records.labels.end()), expected_labels);
  EXPECT_EQ(records.disp.categoryLabelsLength, 15);
  EXPECT_EQ(std::string(records.disp.captionX), "a caption of 25 let");
  // The cut name and the cut caption.
  ASSERT_EQ(records.notes.size(), 2u);
  EXPECT_NE(records.notes[0].find("cut to 39 bytes"), std::string::npos);
}

TEST(DiagramRecords, RefusesMoreNamesOrLabelsThanTheTableHas) {
  const Table table = table_of("1 2; 3 4");
  DiagramLook look;
  EXPECT_EQ(check_look(table, look), std::nullopt);
  look.names = {"a", "b", "c"};
  EXPECT_EQ(check_look(table, look), "3 names given for 2 series");
  look.names.clear();
  look.labels = {"x", "y", "z"};
  EXPECT_EQ(check_look(table, look), "3 labels given for 2 categories");
}

TEST(DiagramRecords, SwitchesMakeTheFlagWord) {
  DiagramLook look;
  EXPECT_EQ(diagram_flags(look), 0x3FFu);
  look.legend_on = false;
  look.background_on = false;
  EXPECT_EQ(diagram_flags(look), 0x3DEu);
}

TEST(DiagramRecords, OverridesReplaceTheBuildersFixedFields) {
  const Table table = table_of("1 2; 3 4");
  DiagramLook look;
  DiagramRecords defaults;
  build_records(table, look, defaults);
  EXPECT_EQ(defaults.disp.marginBottom, 40);  // the builder's values
  EXPECT_EQ(defaults.disp.gridStyle, 2);
  EXPECT_EQ(defaults.disp.legendFrame, 1u);
  EXPECT_EQ(defaults.disp.showBarValues, 1u);

  look.margin_bottom = 55;
  look.margin_left = 33;
  look.arrow_mask = 1;
  look.base_value = -2.5;
  look.plot_rect = tagRECT{10, 11, 500, 300};
  look.legend_box = tagRECT{520, 20, 630, 80};
  look.legend_frame_on = false;
  look.legend_fill = true;
  look.legend_font = 13;
  look.grid_style = 3;
  look.grid_vertical = true;
  look.grid_color = RGB(9, 9, 9);
  look.bar_values_on = false;
  DiagramRecords records;
  build_records(table, look, records);
  const DIAG_DISP& d = records.disp;
  EXPECT_EQ(d.marginBottom, 55);
  EXPECT_EQ(d.marginLeft, 33);
  EXPECT_EQ(d.arrowMask, 1);
  EXPECT_EQ(d.baseValue, -2.5);
  EXPECT_EQ(d.rcPlot.left, 10);
  EXPECT_EQ(d.rcPlot.bottom, 300);
  EXPECT_EQ(d.legendLeft, 520);
  EXPECT_EQ(d.legendBottom, 80);
  EXPECT_EQ(d.legendFrame, 0u);
  EXPECT_EQ(d.legendFill, 1u);
  EXPECT_EQ(d.legendFontHeight, 13);
  EXPECT_EQ(d.gridStyle, 3);
  EXPECT_EQ(d.gridVertical, 1u);
  EXPECT_EQ(d.gridColor, RGB(9, 9, 9));
  EXPECT_EQ(d.showBarValues, 0u);
}

}  // namespace
}  // namespace kestra::cli
