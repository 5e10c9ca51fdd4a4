// The library's expression check for Python: why and where a text is refused.
#include <string>

#include "binding.h"
#include "kestra_expression.h"

namespace kestra::python {

void bind_expression(py::module_& module) {
  module.def(
      "check_expression",
      [](const std::string& text) {
        const ExpressionCheck check = check_expression(text);
        return py::make_tuple(check.code, check.offset, check.reason);
      },
      py::arg("text"),
      "check_expression: (code, byte offset, reason); code 0 when CreateGraph accepts the text.");
}

}  // namespace kestra::python
