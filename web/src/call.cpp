// The call's state and the command line's error handling around a command.
#include "call.h"

#include <CLI/CLI.hpp>

#include <new>
#include <sstream>

#include "command_errors.h"
#include "values_text.h"

namespace kestra::web {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string status_message(const cli::StatusError& error) {
  std::ostringstream message;
  cli::print_status_error(message, error);
  std::string text = message.str();
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

template <class Command>
int run_guarded(Command command) {
  CallResult& result = call_result();
  std::ostringstream err;
  int status = KESTRA_OK;
  try {
    status = command(err);
  } catch (const CLI::ParseError& e) {
    result.message = e.what();
    status = usage_failure;
  } catch (const cli::UsageError& e) {
    result.message = e.what();
    status = usage_failure;
  } catch (const cli::StatusError& e) {
    result.message = status_message(e);
    status = e.status;
  } catch (const std::bad_alloc&) {
    result.message = status_message({KESTRA_INTERNAL, "out of memory"});
    status = KESTRA_INTERNAL;
  }
  result.warnings = lines_of(err.str());
  return status;
}

}  // namespace

CallInput& call_input() {
  static CallInput input;
  return input;
}

CallResult& call_result() {
  static CallResult result;
  return result;
}

void begin_call() {
  call_input() = {};
  call_result() = {};
}

void set_values(int rows, int cols, const double* values) {
  Table table;
  table.rows = static_cast<std::size_t>(rows);
  table.cols = static_cast<std::size_t>(cols);
  table.values.assign(values, values + table.rows * table.cols);
  for (std::size_t r = 0; r < table.rows; ++r) table.series_names.push_back(std::to_string(r + 1));
  for (std::size_t c = 0; c < table.cols; ++c) {
    table.category_labels.push_back(cli::column_letters(c));
  }
  call_input().values = std::move(table);
}

int run_command(int (*command)(std::ostream&)) {
  return run_guarded([command](std::ostream& err) { return command(err); });
}

int run_command(int (*command)(const std::string&, std::ostream&), const std::string& text) {
  return run_guarded([command, &text](std::ostream& err) { return command(text, err); });
}

}  // namespace kestra::web
