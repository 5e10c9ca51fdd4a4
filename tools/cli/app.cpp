// Builds the CLI11 application with one subcommand per command, parses the
// arguments, and turns the commands' errors into messages and exit codes.
#include "app.h"

#include <CLI/CLI.hpp>

#include <functional>

#include "batch.h"
#include "command_errors.h"
#include "commands.h"
#include "option_binding.h"
#include "options.h"
#include "picture_file.h"

namespace kestra::cli {
namespace {

constexpr const char* diag_examples = R"(
Examples:
  kestra diag sales.xlsx --sheet 1 --range B2:E5 -o sales.png
  kestra diag prices.html --kind lines --caption-y EUR -o prices.png
  kestra diag --values "12 17 9; 8 11 14" --labels Q1,Q2,Q3 --names North,South -o q.png
  kestra diag data.csv --styles 1,2,3 --colors '#1f77b4,orange,green' --no-grid -o d.bmp
  kestra diag *.csv -o out/{stem}.png      (several inputs, drawn in parallel)
The output format follows the extension, in any case: .png or .bmp (the exact
pixels unless --scale or --smooth), .svg or .pdf (vectors, texts stay texts). With several
inputs, {stem} in the output name is each input's name without folder and
extension, {index} its place (1, 2, ...); missing folders are made. Each input
that fails gets one line naming it, and the exit code is then not 0.
Texts (names, labels, captions) are UTF-8 and drawn as written where a font
has the characters; a text longer than its field is cut at a character.)";

constexpr const char* plot_examples = R"examples(
Examples:
  kestra plot "y=sin(x)*2" -o sine.png
  kestra plot "y=pow(x)(2)/4" --x -5:5 --y -1:8 --arrows --zero --frame -o parabola.png
  kestra plot "x=y*y" --x -1:10 --y -3:3 -o sideways.png   (x=... runs the argument upwards)
  kestra plot "y=sin(x)" "y=cos(x)" "y=x/2" -o plot-{index}.png   (several, in parallel)
The language: + - * / ( ), pi, e, sin cos tg abs, pow(a)(b), log(base)(v).)examples";

constexpr const char* table_examples = R"(
Examples:
  kestra table sales.xlsx --sheet 2 --range A1:E9
  kestra table report.html --table 1 --header both
Prints CSV laid out as the file: the corner header (or an empty cell) and the
top header, then one line per row: its header and its values (empty for a
gap). Which of them are the series follows --series.)";

constexpr const char* program_footer = R"(
Examples:
  kestra diag sales.csv -o sales.png
  kestra plot "y=sin(x)*2" -o sine.png
  kestra table sales.csv
  kestra example example.png
Run 'kestra COMMAND --help' for the options of a command.)";

// A picture file named by -o or as the last positional argument.
struct Output {
  std::string option;
  std::string positional;

  std::string name() const {
    if (!option.empty() && !positional.empty()) {
      throw UsageError("the output is given twice: '" + positional + "' and -o " + option);
    }
    return option.empty() ? positional : option;
  }
};

void add_output(CLI::App& command, Output& output) {
  command.add_option("-o,--output", output.option,
                     "picture file: OUT.png, OUT.bmp, OUT.svg or OUT.pdf; with several inputs a "
                     "pattern such as out/{stem}.png");
}

// The positional arguments of diag and plot: inputs, then the output. With
// -o the last one is an output only if it names a picture file (and is then
// given twice); without, the last of several is the output.
struct Positionals {
  std::vector<std::string> items;

  std::vector<std::string> inputs(Output& output) const {
    std::vector<std::string> inputs = items;
    const bool last_is_output =
        output.option.empty() ? inputs.size() >= 2 : !inputs.empty() && picture_format(inputs.back());
    if (last_is_output) {
      output.positional = inputs.back();
      inputs.pop_back();
    }
    return inputs;
  }
};

struct Arguments {
  TableSource source;
  DiagramLook diagram;
  PlotLook plot;
  Positionals positionals;
  Output output;
  unsigned jobs = 0;
  std::function<int(std::ostream&, std::ostream&)> command;
};

void add_jobs(CLI::App& command, Arguments& a) {
  add_integer(command, "--jobs", a.jobs, 1, 1024,
              "threads that draw several inputs (default: one per core)");
}

// Each input to its picture file of the pattern, on all cores.
template <class Draw>
int draw_batch(const std::vector<std::string>& inputs, const Arguments& a, std::ostream& err,
               Draw draw) {
  const std::string pattern = a.output.name();
  check_output_name(pattern);
  const std::vector<std::string> outputs = output_names(pattern, inputs);
  make_folders(outputs);
  return run_batch(inputs.size(), batch_threads(a.jobs), [&](std::size_t i, std::ostream& out) {
    return draw_one_of_batch(inputs[i], out, [&](std::ostream& messages) {
      return draw(inputs[i], outputs[i], messages);
    });
  }, err);
}

void add_diag(CLI::App& app, Arguments& a) {
  CLI::App* diag = app.add_subcommand("diag", "a diagram of a table: kestra diag INPUT... -o OUT");
  diag->add_option("inputs", a.positionals.items,
                   ".html, .xlsx, .xls or .csv files, then the picture file (or -o)");
  diag->add_option("--values", a.source.values,
                   "the table itself: \"1 2 3; 4 5 6\" (rows are series)");
  add_output(*diag, a.output);
  add_jobs(*diag, a);
  add_table_options(*diag, a.source);
  add_diagram_options(*diag, a.diagram);
  diag->footer(diag_examples);
  diag->callback([&a] {
    a.command = [&a](std::ostream&, std::ostream& err) {
      // With --values a single positional argument is the output.
      if (!a.source.values.empty() && a.output.option.empty() && a.positionals.items.size() == 1) {
        a.output.positional = a.positionals.items.front();
        return draw_diagram(a.source, a.diagram, a.output.name(), err);
      }
      const std::vector<std::string> inputs = a.positionals.inputs(a.output);
      if (inputs.size() <= 1) {
        if (!inputs.empty()) a.source.path = inputs.front();
        return draw_diagram(a.source, a.diagram, a.output.name(), err);
      }
      return draw_batch(inputs, a, err, [&a](const std::string& input, const std::string& out,
                                             std::ostream& messages) {
        TableSource source = a.source;
        source.path = input;
        return draw_diagram(source, a.diagram, out, messages);
      });
    };
  });
}

void add_plot(CLI::App& app, Arguments& a) {
  CLI::App* plot =
      app.add_subcommand("plot", "a function plot: kestra plot EXPRESSION... -o OUT");
  plot->add_option("expressions", a.positionals.items,
                   "y=... or x=..., e.g. 'y=sin(x)*2', then the picture file (or -o)")
      ->required();
  add_output(*plot, a.output);
  add_jobs(*plot, a);
  add_plot_options(*plot, a.plot);
  plot->footer(plot_examples);
  plot->callback([&a] {
    a.command = [&a](std::ostream&, std::ostream& err) {
      const std::vector<std::string> expressions = a.positionals.inputs(a.output);
      if (expressions.empty()) throw UsageError("no expression: give y=... or x=...");
      if (expressions.size() == 1) return draw_plot(expressions.front(), a.plot, a.output.name(), err);
      return draw_batch(expressions, a, err, [&a](const std::string& expression,
                                                  const std::string& out, std::ostream& messages) {
        return draw_plot(expression, a.plot, out, messages);
      });
    };
  });
}

void add_table(CLI::App& app, Arguments& a) {
  CLI::App* table = app.add_subcommand("table", "print a file's table as CSV: kestra table FILE");
  table->add_option("file", a.source.path, "an .html, .xlsx, .xls or .csv file")->required();
  add_table_options(*table, a.source);
  table->footer(table_examples);
  table->callback([&a] {
    a.command = [&a](std::ostream& out, std::ostream& err) {
      return print_table(a.source, out, err);
    };
  });
}

void add_example(CLI::App& app, Arguments& a) {
  CLI::App* example = app.add_subcommand("example", "the built-in example diagram");
  example->add_option("out", a.output.positional, "picture file (or -o)");
  add_output(*example, a.output);
  example->footer("\nExample:\n  kestra example example.png");
  example->callback([&a] {
    a.command = [&a](std::ostream&, std::ostream& err) {
      return draw_example(a.output.name(), err);
    };
  });
}

// The forms of earlier versions: html TABLE OUT and xls BOOK SHEET RANGE OUT.
// They keep rows as series, as CreateDiagHTML and CreateDiagXLS do.
void add_older_forms(CLI::App& app, Arguments& a) {
  CLI::App* html = app.add_subcommand("html", "older form of diag: kestra html TABLE.html OUT");
  html->add_option("table", a.source.path, "HTML file")->required();
  html->add_option("out", a.output.positional, "picture file")->required();
  CLI::App* xls =
      app.add_subcommand("xls", "older form of diag: kestra xls WORKBOOK SHEET RANGE OUT");
  xls->add_option("workbook", a.source.path, "workbook file")->required();
  add_integer(*xls, "sheet", a.source.options.sheet, 1, 65535, "worksheet number")->required();
  xls->add_option("range", a.source.options.range, "cell range, e.g. B2:E5")->required();
  xls->add_option("out", a.output.positional, "picture file")->required();
  for (CLI::App* form : {html, xls}) {
    form->group("Older forms");
    form->callback([&a] {
      a.command = [&a](std::ostream&, std::ostream& err) {
        a.source.options.series = Series::rows;
        return draw_diagram(a.source, a.diagram, a.output.name(), err);
      };
    });
  }
}

std::vector<const char*> argv_of(const std::vector<std::string>& args) {
  std::vector<const char*> argv{"kestra"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return argv;
}

bool is_command(const CLI::App& app, const std::string& name) {
  const auto named = [&name](const CLI::App* sub) { return sub->get_name() == name; };
  return !app.get_subcommands(std::function<bool(const CLI::App*)>(named)).empty();
}

int usage_error(const CLI::App& app, const std::string& message, std::ostream& err) {
  std::string command = "kestra";
  for (const CLI::App* sub : app.get_subcommands()) command += " " + sub->get_name();
  err << "kestra: usage error: " << message << "\nRun '" << command
      << " --help' for the options.\n";
  return exit_usage;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app("kestra " KESTRA_VERSION
               ": business diagrams and function plots drawn into PNG, BMP, SVG or PDF pictures");
  app.set_version_flag("--version", "kestra " KESTRA_VERSION);
  app.require_subcommand(1);
  app.footer(program_footer);
  Arguments arguments;
  add_diag(app, arguments);
  add_plot(app, arguments);
  add_table(app, arguments);
  add_example(app, arguments);
  add_older_forms(app, arguments);

  const std::vector<const char*> argv = argv_of(args);
  try {
    if (!args.empty() && !args.front().starts_with('-') && !is_command(app, args.front())) {
      throw UsageError("unknown command '" + args.front() + "': use diag, plot, table or example");
    }
    app.parse(static_cast<int>(argv.size()), argv.data());
    return arguments.command(out, err);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err);  // --help, --version
    return usage_error(app, e.what(), err);
  } catch (const UsageError& e) {
    return usage_error(app, e.what(), err);
  } catch (const StatusError& e) {
    return print_status_error(err, e);
  }
}

}  // namespace kestra::cli
