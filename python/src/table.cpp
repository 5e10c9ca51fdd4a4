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

const std::map<std::string, Series> series_ways = {
    {"auto", Series::automatic}, {"rows", Series::rows}, {"cols", Series::columns}};

template <class Mode>
Mode chosen(const std::map<std::string, Mode>& modes, const std::string& name, const char* what) {
  const auto found = modes.find(name);
  if (found == modes.end()) throw py::value_error(std::string("unknown ") + what + " " + name);
  return found->second;
}

py::list to_bytes(const std::vector<std::string>& texts) {
  py::list list;
  for (const std::string& text : texts) list.append(py::bytes(text));
  return list;
}

// (status, message, values series x categories, series names, category
// labels, corner, title, notes, whether the file's columns are the series);
// texts as bytes, for Python to decode leniently.
py::tuple read(const std::string& path, int sheet, const std::string& range, int table_index,
               const std::string& header, const std::string& series) {
  TableOptions options;
  options.sheet = sheet;
  options.range = range;
  options.table_index = table_index;
  options.header = chosen(header_modes, header, "header mode");
  options.series = chosen(series_ways, series, "series");
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
                        py::bytes(table.corner), py::bytes(table.title), to_bytes(table.notes),
                        table.series_in_columns);
}

}  // namespace

void bind_table(py::module_& module) {
  module.def("read_table", &read, py::arg("path"), py::arg("sheet"), py::arg("range"),
             py::arg("table_index"), py::arg("header"), py::arg("series"),
             "kestra::read_table; returns (status, message, values, series_names, "
             "category_labels, corner, title, notes, series_in_columns).");
}

}  // namespace kestra::python
