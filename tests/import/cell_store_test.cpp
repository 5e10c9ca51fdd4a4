// CellStore: keeps the wanted range's cells, a later value winning, for a
// small range and for a whole sheet alike.
#include <gtest/gtest.h>

#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

TEST(CellStore, KeepsCellsOfSmallAndWholeSheetRanges) {
  const CellRange ranges[] = {
      {2, 2, 5, 6},              // B2:E6, a slot per cell
      {1, 1, 16384, 1048576},    // A1:XFD1048576, slots only for cells met
  };
  for (const CellRange& wanted : ranges) {
    SCOPED_TRACE(wanted.last_row);
    CellStore store(wanted);
    store.put(3, 4, Cell::of_text("first"));
    store.put(3, 4, Cell::of_text("later"));
    store.put(5, 2, Cell::of_text("corner"));
    store.put(99, 99, Cell::of_text("far"));  // outside B2:E6, inside the sheet
    EXPECT_EQ(store.cell_at(3, 4).text, "later");
    EXPECT_EQ(store.read_cell("B5").text, "corner");
    EXPECT_EQ(store.cell_at(2, 2).text, "");
    EXPECT_EQ(store.cell_at(1, 1).text, "");
    EXPECT_EQ(store.cell_at(99, 99).text, wanted.contains(99, 99) ? "far" : "");
  }
}

TEST(CellStore, UsedAreaSpansTheCellsMet) {
  CellStore store({1, 1, 16384, 1048576});
  EXPECT_EQ(store.used_area().last_row, 0);
  store.put(7, 3, Cell::of_text("a"));
  store.put(2, 9, Cell::of_text("b"));
  const CellRange area = store.used_area();
  EXPECT_EQ(area.first_column, 3);
  EXPECT_EQ(area.first_row, 2);
  EXPECT_EQ(area.last_column, 9);
  EXPECT_EQ(area.last_row, 7);
}

}  // namespace
}  // namespace kestra::import
