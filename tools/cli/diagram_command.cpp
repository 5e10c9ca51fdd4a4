// The diag and example commands: table, records, picture file.
#include <cmath>

#include "command_errors.h"
#include "commands.h"
#include "diagram_records.h"
#include "picture_file.h"
#include "table_source.h"

namespace kestra::cli {
namespace {

int draw_table(const Table& table, const DiagramLook& look, const std::string& out,
               std::ostream& err) {
  if (const auto problem = check_look(table, look)) throw UsageError(*problem);
  DiagramRecords records;
  build_records(table, look, records);
  for (const std::string& note : records.notes) print_warning(err, note);
  const int status = write_picture(
      out, look.output,
      [&](auto target) { return CreateDiag(records.table, records.disp, target, 1, look.kind); },
      [&](const std::string& path, const PictureOptions& options) {
        return save_diagram(path, records.table, records.disp, look.kind, options);
      });
  if (status != KESTRA_OK) throw StatusError{status, out};
  return 0;
}

}  // namespace

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
  return draw_table(table, look, out, err);
}

int draw_example(const std::string& out, std::ostream& err) {
  check_output_name(out);
  Table table;
  table.rows = 3;
  table.cols = 4;
  table.values = {12.5, 17.0, 9.5, 21.0, 8.0, 11.5, 14.0, 16.5, 5.5, 7.0, 10.0, 12.0};
  table.series_names = {"North", "South", "East"};
  table.category_labels = {"Q1", "Q2", "Q3", "Q4"};
  DiagramLook look;
  look.caption_x = "Quarter";
  look.caption_y = "Sales, kEUR";
  return draw_table(table, look, out, err);
}

}  // namespace kestra::cli
