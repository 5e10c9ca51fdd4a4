// How commands fail: a usage error (exit 2) or a status of the library or
// the table reader (exit 1); both are printed to stderr by the runner.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestra::cli {

inline constexpr int exit_failure = 1;
inline constexpr int exit_usage = 2;

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A failed call: the status code and, where known, what it was about.
struct StatusError {
  int status;
  std::string detail;
};

// The text in single quotes, for messages.
inline std::string in_quotes(std::string_view text) {
  return std::string("'").append(text).append("'");
}

// "kestra: error 1006 (the expression is refused): detail"; returns exit_failure.
int print_status_error(std::ostream& err, const StatusError& error);
void print_warning(std::ostream& err, const std::string& text);

}  // namespace kestra::cli
