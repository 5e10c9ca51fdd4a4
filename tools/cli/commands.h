// The commands of the program, each given its parsed settings. They return
// the exit code or throw UsageError / StatusError (see command_errors.h).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "diagram_records.h"
#include "kestra_expression.h"
#include "settings.h"

namespace kestra::cli {

// A diagram of the table in `source` to the picture file `out`.
int draw_diagram(const TableSource& source, const DiagramLook& look, const std::string& out,
                 std::ostream& err);
// The built-in example diagram to `out`.
int draw_example(const std::string& out, std::ostream& err);
// A plot of the expression to `out`; warns about ignored characters and
// shows where a refused expression fails.
int draw_plot(const std::string& expression, const PlotLook& look, const std::string& out,
              std::ostream& err);
// The table as the reader sees it, as CSV on `out`.
int print_table(const TableSource& source, std::ostream& out, std::ostream& err);

// The built-in example diagram's table and look.
Table example_table();
DiagramLook example_look();

// The records of a diagram of `table`: UsageError for a look that does not
// fit it; texts cut to fit a field are warned about on `err`.
void build_checked_records(const Table& table, const DiagramLook& look, DiagramRecords& records,
                           std::ostream& err);

// The expression's check: what the language ignores is warned about on
// `err`; a refused text throws StatusError with the reason, the text and a
// caret under the place.
ExpressionCheck examine_expression(const std::string& expression, std::ostream& err);

// The plot record for the look; the argument on the vertical scale for
// 'x=...'. Captions converted or cut are noted in `notes`.
OPTION_RECT plot_record(const PlotLook& look, bool argument_on_vertical,
                        std::vector<std::string>& notes);

// The format of `out`, or a UsageError for an extension other than .png,
// .bmp, .svg or .pdf.
void check_output_name(const std::string& out);

}  // namespace kestra::cli
