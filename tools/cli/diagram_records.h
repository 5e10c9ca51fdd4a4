// Turns a table and the diagram options into the records CreateDiag reads:
// one series description per row, one label per column, the display record.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestra.h"
#include "kestra_table.h"
#include "settings.h"

namespace kestra::cli {

// The records of one diagram. DIAG_DISP and TAB_GR point into the vectors
// here and into the Table, which must outlive them; not copyable for that.
struct DiagramRecords {
  DiagramRecords() = default;
  DiagramRecords(const DiagramRecords&) = delete;
  DiagramRecords& operator=(const DiagramRecords&) = delete;

  std::vector<GRAPH_ELEM> elements;  // exactly one per table row
  std::vector<char> labels;          // exactly one text per table column
  DIAG_DISP disp{};
  TAB_GR table{};
  std::vector<std::string> notes;    // texts that were cut to fit a field
};

// Why the options do not fit the table (more names than series, ...), or
// nothing when they do.
std::optional<std::string> check_look(const Table& table, const DiagramLook& look);

// Fills `records` for a table and a look that check_look accepted.
void build_records(const Table& table, const DiagramLook& look, DiagramRecords& records);

// The option flag word of ReturnDiagDisp for the look's switches.
unsigned long diagram_flags(const DiagramLook& look);

}  // namespace kestra::cli
