// The commands behind the JavaScript API: the command line's own option
// parsing, records and checks, drawing into a new bitmap instead of a file.
#include <CLI/CLI.hpp>

#include "call.h"
#include "command_errors.h"
#include "commands.h"
#include "kestra_text.h"
#include "options.h"
#include "table_source.h"

namespace kestra::web {
namespace {

void parse_options(CLI::App& app) {
  std::vector<const char*> argv{"kestra"};
  for (const std::string& arg : call_input().args) argv.push_back(arg.c_str());
  app.parse(static_cast<int>(argv.size()), argv.data());
}

Table given_values() {
  if (!call_input().values) throw cli::UsageError("no values: give a table of numbers");
  return *call_input().values;
}

int draw_table(const Table& table, const cli::DiagramLook& look, std::ostream& err) {
  cli::DiagramRecords records;
  cli::build_checked_records(table, look, records, err);
  HBITMAP bitmap = nullptr;
  const Utf8Text utf8;
  const int status = CreateDiag(records.table, records.disp, &bitmap, 1, look.kind);
  return keep_picture(status, bitmap);
}

}  // namespace

int draw_diagram(std::ostream& err) {
  CLI::App app;
  cli::DiagramLook look;
  cli::add_diagram_options(app, look);
  parse_options(app);
  if (!call_input().names.empty()) look.names = call_input().names;
  if (!call_input().labels.empty()) look.labels = call_input().labels;
  return draw_table(given_values(), look, err);
}

int draw_example(std::ostream& err) {
  return draw_table(cli::example_table(), cli::example_look(), err);
}

int draw_plot(const std::string& expression, std::ostream& err) {
  CLI::App app;
  cli::PlotLook look;
  cli::add_plot_options(app, look);
  parse_options(app);
  const ExpressionCheck report = cli::examine_expression(expression, err);
  std::vector<std::string> notes;
  const OPTION_RECT options = cli::plot_record(look, report.argument_on_vertical, notes);
  for (const std::string& note : notes) cli::print_warning(err, note);
  std::string text = expression;
  HBITMAP bitmap = nullptr;
  const Utf8Text utf8;
  const int status = CreateGraph(text.data(), options, &bitmap, 1);
  return keep_picture(status, bitmap);
}

int read_table_file(const std::string& path, std::ostream& err) {
  CLI::App app;
  cli::TableSource source;
  cli::add_table_options(app, source);
  parse_options(app);
  source.path = path;
  call_result().table = cli::load_table(source, err);
  return KESTRA_OK;
}

}  // namespace kestra::web
