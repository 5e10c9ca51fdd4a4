// kestra.read_table's C++ side: the library's table reader run without the
// GIL, its Table handed over as an array and byte texts.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <map>
#include <string>

#include "binding.h"
#include "kestra_table.h"

namespace kestra::python {
namespace {

const std::map<std::string, HeaderMode> header_modes = {
    {"auto", HeaderMode::automatic}, {"none", HeaderMode::none},
    {"rows", HeaderMode::first_row}, {"cols", HeaderMode::first_column},
    {"both", HeaderMode::both}};

py::list to_bytes(const std::vector<std::string>& texts) {
  py::list list;
  for (const std::string& text : texts) list.append(py::bytes(text));
  return list;
}

// (status, message, values rows x cols, series names, category labels, title,
// notes); texts as bytes, for Python to decode leniently.
py::tuple read(const std::string& path, int sheet, const std::string& range, int table_index,
               const std::string& header) {
  const auto mode = header_modes.find(header);
  if (mode == header_modes.end()) throw py::value_error("unknown header mode " + header);
  TableOptions options;
  options.sheet = sheet;
  options.range = range;
  options.table_index = table_index;
  options.header = mode->second;
  TableRead result;
  {
    py::gil_scoped_release unlocked;
    result = read_table(path, options);
  }
  const Table& table = result.table;
  py::array_t<double> values({static_cast<py::ssize_t>(table.rows),
                              static_cast<py::ssize_t>(table.cols)});
  if (table.values.size() == table.rows * table.cols && !table.values.empty()) {
    std::copy(table.values.begin(), table.values.end(), values.mutable_data());
  }
  return py::make_tuple(result.status, py::bytes(result.message), values,
                        to_bytes(table.series_names), to_bytes(table.category_labels),
                        py::bytes(table.title), to_bytes(table.notes));
}

}  // namespace

void bind_table(py::module_& module) {
  module.def("read_table", &read, py::arg("path"), py::arg("sheet"), py::arg("range"),
             py::arg("table_index"), py::arg("header"),
             "kestra::read_table; returns (status, message, values, series_names, "
             "category_labels, title, notes).");
}

}  // namespace kestra::python
