// The diag and example commands: table, records, picture file.
#include <cmath>

#include "command_errors.h"
#include "commands.h"
#include "diagram_records.h"
#include "kestra_text.h"
#include "picture_file.h"
#include "table_source.h"

namespace kestra::cli {
namespace {

// `input` names the table in messages: a table CreateDiag refuses is the
// input's fault, any other failure the output's.
int draw_table(const Table& table, const DiagramLook& look, const std::string& input,
               const std::string& out, std::ostream& err) {
  DiagramRecords records;
  build_checked_records(table, look, records, err);
  const Utf8Text utf8;
  const int status = write_picture(
      out, look.output,
      [&](auto target) { return CreateDiag(records.table, records.disp, target, 1, look.kind); },
      [&](const std::string& path, const PictureOptions& options) {
        return save_diagram(path, records.table, records.disp, look.kind, options);
      });
  if (status == KESTRA_BAD_TABLE) {
    throw StatusError{status, input + ": " + std::to_string(table.rows) + " series of " +
                                  std::to_string(table.cols) +
                                  " categories; a diagram needs 2 categories or more"};
  }
  if (status != KESTRA_OK) throw StatusError{status, out};
  return 0;
}

}  // namespace

void build_checked_records(const Table& table, const DiagramLook& look, DiagramRecords& records,
                           std::ostream& err) {
  if (const auto problem = check_look(table, look)) throw UsageError(*problem);
  build_records(table, look, records);
  for (const std::string& note : records.notes) print_warning(err, note);
}

Table example_table() {
  Table table;
  table.rows = 3;
  table.cols = 4;
  table.values = {12.5, 17.0, 9.5, 21.0, 8.0, 11.5, 14.0, 16.5, 5.5, 7.0, 10.0, 12.0};
  table.series_names = {"North", "South", "East"};
  table.category_labels = {"Q1", "Q2", "Q3", "Q4"};
  return table;
}

DiagramLook example_look() {
  DiagramLook look;
  look.caption_x = "Quarter";
  look.caption_y = "Sales, kEUR";
  return look;
}

void check_output_name(const std::string& out) {
  if (out.empty()) throw UsageError("no output file: give -o OUT.png, OUT.bmp, OUT.svg or OUT.pdf");
  if (!picture_format(out)) {
    throw UsageError(in_quotes(out) +
                     ": the output name must end in .png or .bmp (pixels), .svg or .pdf (vectors)");
  }
}

int draw_diagram(const TableSource& source, const DiagramLook& look, const std::string& out,
                 std::ostream& err) {
  check_output_name(out);
  const Table table = load_table(source, err);
  return draw_table(table, look, source.path.empty() ? "--values" : source.path, out, err);
}

int draw_example(const std::string& out, std::ostream& err) {
  check_output_name(out);
  return draw_table(example_table(), example_look(), "the example", out, err);
}

}  // namespace kestra::cli
