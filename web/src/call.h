// One call from JavaScript: its inputs, set piece by piece before it runs,
// and what it hands back. The module runs on one thread, one call at a time;
// each call starts by clearing the last one's state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "kestra.h"
#include "kestra_table.h"

namespace kestra::web {

// What a call returns for options the command line would refuse as a usage
// error; every other failure returns the library's or the reader's status.
inline constexpr int usage_failure = -1;

struct CallInput {
  std::vector<std::string> args;    // the command line's options, one per item
  std::vector<std::string> names;   // series names, taking the table's place
  std::vector<std::string> labels;  // category labels, likewise
  std::optional<Table> values;      // the table the caller gave
};

struct CallResult {
  int width = 0;
  int height = 0;
  std::unique_ptr<std::uint32_t[]> rgba;  // top-down rows of R G B A bytes, width x height
  Table table;                     // what the table reader read
  std::string message;             // why the call failed, as the command line says it
  std::vector<std::string> warnings;  // the command line's warning lines
};

CallInput& call_input();
CallResult& call_result();
void begin_call();
// The call's table: rows x cols values, row-major, NaN for a gap; its series
// are named 1, 2, ... and its categories A, B, ...
void set_values(int rows, int cols, const double* values);

// The commands: each returns KESTRA_OK or throws as the command line's
// commands do (UsageError, StatusError, CLI11's parse errors).
int draw_diagram(std::ostream& err);
int draw_example(std::ostream& err);
int draw_plot(const std::string& expression, std::ostream& err);
int read_table_file(const std::string& path, std::ostream& err);

// Runs a command: its warnings and failure message go to the call's result.
// Returns KESTRA_OK, a status, or usage_failure.
int run_command(int (*command)(std::ostream&));
int run_command(int (*command)(const std::string&, std::ostream&), const std::string& text);

// Keeps a new bitmap from a drawing export as the call's picture and deletes
// it. Returns the export's status, or KESTRA_INTERNAL when it cannot be read.
int keep_picture(int status, HBITMAP bitmap);

}  // namespace kestra::web
