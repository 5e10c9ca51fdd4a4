// What the module's source files share: one registration function per file.
#pragma once

#include <pybind11/pybind11.h>

namespace kestra::python {

namespace py = pybind11;

// The records DiagDisp, GraphElem and OptionRect and the builders that fill them.
void bind_records(py::module_& module);
// CreateDiag and CreateGraph, with pictures back as RGB arrays.
void bind_pictures(py::module_& module);
// check_expression: why and where an expression is refused.
void bind_expression(py::module_& module);
// read_table: the table reader for people.
void bind_table(py::module_& module);

}  // namespace kestra::python
