// CreateDiag and CreateGraph for Python: the inputs are copied, the GIL is
// released, the bitmap form of the export draws in the UTF-8 text mode, and
// the bitmap is read back (read_rgb) into a (height, width, 3) RGB array;
// or the same records are drawn as a picture file's bytes (kestra_vector.h).
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "binding.h"
#include "kestra.h"
#include "kestra_text.h"
#include "kestra_vector.h"
#include "rgb_picture.h"

namespace kestra::python {
namespace {

// Runs a bitmap-form export that makes a new picture, and reads it. Called
// without the GIL; every bitmap it gets is deleted here. Texts are UTF-8.
template <class Draw>
int draw_and_read(Draw draw, RgbPicture& picture) {
  const Utf8Text utf8;
  HBITMAP bitmap = nullptr;
  int status = draw(&bitmap);
  if (status == KESTRA_OK && !read_rgb(bitmap, picture)) status = KESTRA_INTERNAL;
  if (bitmap) DeleteObject(bitmap);
  return status;
}

// (status, array): the array owns the picture's pixels, None on failure.
py::tuple to_result(int status, RgbPicture picture) {
  if (status != KESTRA_OK) return py::make_tuple(status, py::none());
  std::uint8_t* pixels = picture.pixels.get();
  py::capsule owner(pixels, [](void* p) { delete[] static_cast<std::uint8_t*>(p); });
  picture.pixels.release();  // the capsule owns them now
  py::array_t<std::uint8_t> array({picture.height, picture.width, 3}, pixels, owner);
  return py::make_tuple(status, array);
}

using Values = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The records of a diagram call, with the buffers they point into.
struct DiagramInput {
  std::vector<double> cells;
  std::string label_buffer;
  std::vector<GRAPH_ELEM> elements;
  TAB_GR table{};
  DIAG_DISP disp{};
};

void take_diagram(const Values& values, const DIAG_DISP& disp, std::vector<GRAPH_ELEM> elements,
                  const std::string& labels, DiagramInput& input) {
  if (values.ndim() != 2) throw py::value_error("values must be a 2-D array");
  constexpr auto most = static_cast<py::ssize_t>(std::numeric_limits<std::int32_t>::max());
  if (values.shape(0) > most || values.shape(1) > most) {
    throw py::value_error("the table has more than 2^31 - 1 rows or columns");
  }
  if (static_cast<py::ssize_t>(elements.size()) != values.shape(0)) {
    throw py::value_error("one series description is needed per table row");
  }
  if (labels.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw py::value_error("the category labels take more than 65535 bytes");
  }
  input.cells.assign(values.data(), values.data() + values.size());
  input.label_buffer = labels;
  input.elements = std::move(elements);
  input.table = {static_cast<std::int32_t>(values.shape(0)),
                 static_cast<std::int32_t>(values.shape(1)), input.cells.data()};
  input.disp = disp;
  input.disp.categoryLabels = input.label_buffer.data();
  input.disp.categoryLabelsLength = static_cast<std::uint16_t>(input.label_buffer.size());
  input.disp.elements = input.elements.data();
}

py::tuple create_diag(const Values& values, const DIAG_DISP& disp, std::vector<GRAPH_ELEM> elements,
                      const std::string& labels, unsigned long kind) {
  DiagramInput input;
  take_diagram(values, disp, std::move(elements), labels, input);
  RgbPicture picture;
  int status;
  {
    py::gil_scoped_release unlocked;
    status = draw_and_read(
        [&](HBITMAP* bitmap) { return CreateDiag(input.table, input.disp, bitmap, 1, kind); },
        picture);
  }
  return to_result(status, std::move(picture));
}

const std::map<std::string, PictureFormat>& formats() {
  static const std::map<std::string, PictureFormat> known{{"svg", PictureFormat::svg},
                                                          {"pdf", PictureFormat::pdf},
                                                          {"png", PictureFormat::png},
                                                          {"bmp", PictureFormat::bmp}};
  return known;
}

PictureOptions picture_options(const std::string& format, double scale, bool smooth) {
  const auto found = formats().find(format);
  if (found == formats().end()) throw py::value_error("unknown picture format '" + format + "'");
  return {found->second, scale, smooth};
}

// (status, bytes): the file's bytes, None on failure.
py::tuple to_file_result(const PictureBytes& picture) {
  if (picture.status != KESTRA_OK) return py::make_tuple(picture.status, py::none());
  return py::make_tuple(picture.status, py::bytes(picture.bytes));
}

py::tuple draw_diagram_file(const Values& values, const DIAG_DISP& disp,
                            std::vector<GRAPH_ELEM> elements, const std::string& labels,
                            unsigned long kind, const std::string& format, double scale,
                            bool smooth) {
  const PictureOptions options = picture_options(format, scale, smooth);
  DiagramInput input;
  take_diagram(values, disp, std::move(elements), labels, input);
  PictureBytes picture;
  {
    py::gil_scoped_release unlocked;
    picture = draw_diagram(input.table, input.disp, kind, options);
  }
  return to_file_result(picture);
}

py::tuple draw_plot_file(const std::string& expression, const OPTION_RECT& plot,
                         const std::string& format, double scale, bool smooth) {
  const PictureOptions options = picture_options(format, scale, smooth);
  PictureBytes picture;
  {
    py::gil_scoped_release unlocked;
    picture = draw_plot(expression.c_str(), plot, options);
  }
  return to_file_result(picture);
}

py::tuple create_graph(std::string expression, const OPTION_RECT& options) {
  RgbPicture picture;
  int status;
  {
    py::gil_scoped_release unlocked;
    status = draw_and_read(
        [&](HBITMAP* bitmap) { return CreateGraph(expression.data(), options, bitmap, 1); },
        picture);
  }
  return to_result(status, std::move(picture));
}

}  // namespace

void bind_pictures(py::module_& module) {
  module.def("CreateDiag", &create_diag, py::arg("values"), py::arg("disp"), py::arg("elements"),
             py::arg("labels"), py::arg("kind"),
             "CreateDiag (new bitmap) of a rows x cols table, one GraphElem per row and the "
             "category label buffer (texts with their terminators); returns (status, picture).");
  module.def("CreateGraph", &create_graph, py::arg("expression"), py::arg("options"),
             "CreateGraph (new bitmap); returns (status, picture).");
  module.def("DrawDiagramFile", &draw_diagram_file, py::arg("values"), py::arg("disp"),
             py::arg("elements"), py::arg("labels"), py::arg("kind"), py::arg("format"),
             py::arg("scale"), py::arg("smooth"),
             "CreateDiag's records as a picture file (format svg, pdf, png or bmp) at a scale; "
             "returns (status, bytes).");
  module.def("DrawPlotFile", &draw_plot_file, py::arg("expression"), py::arg("options"),
             py::arg("format"), py::arg("scale"), py::arg("smooth"),
             "CreateGraph's records as a picture file at a scale; returns (status, bytes).");
}

}  // namespace kestra::python
