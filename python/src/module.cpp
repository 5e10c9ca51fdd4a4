// The extension module kestra._kestra: the library's records, builders and
// bitmap-form exports as they are, for the Python layer to build on.
#include "binding.h"

#include "kestra.h"

PYBIND11_MODULE(_kestra, module) {
  using namespace kestra::python;
  module.doc() =
      "The C interface of kestra, record for record: builders fill DiagDisp, GraphElem "
      "and OptionRect; CreateDiag and CreateGraph draw through the library's exports and "
      "return (status, picture). Use the functions of the kestra package instead.";
  bind_records(module);
  bind_pictures(module);
  bind_expression(module);
  bind_table(module);
  module.def("KestraStatusText", &KestraStatusText, py::arg("status"),
             "The library's one-line text for a status code.");
  module.attr("KIND_LINES") = static_cast<int>(KESTRA_KIND_LINES);
  module.attr("KIND_LINES_MARKERS") = static_cast<int>(KESTRA_KIND_LINES_MARKERS);
  module.attr("KIND_BARS") = static_cast<int>(KESTRA_KIND_BARS);
}
