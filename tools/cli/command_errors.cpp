// Error and warning lines of the command line.
#include "command_errors.h"

#include "kestra.h"

namespace kestra::cli {

int print_status_error(std::ostream& err, const StatusError& error) {
  err << "kestra: error " << error.status << " (" << KestraStatusText(error.status) << ")";
  if (!error.detail.empty()) err << ": " << error.detail;
  err << '\n';
  return exit_failure;
}

void print_warning(std::ostream& err, const std::string& text) {
  err << "kestra: warning: " << text << '\n';
}

}  // namespace kestra::cli
