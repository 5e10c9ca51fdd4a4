// The public records as Python classes, and the builders that fill them.
#include <pybind11/stl.h>

#include <array>
#include <cstring>
#include <string>

#include "binding.h"
#include "kestra.h"

namespace kestra::python {
namespace {

using Rect = std::array<LONG, 4>;  // left, top, right, bottom

tagRECT to_rect(const Rect& r) { return {r[0], r[1], r[2], r[3]}; }

template <class Record>
void def_rect(py::class_<Record>& record, const char* name, tagRECT Record::*field) {
  record.def_property(
      name, [field](const Record& r) { return Rect{(r.*field).left, (r.*field).top,
                                                   (r.*field).right, (r.*field).bottom}; },
      [field](Record& r, const Rect& value) { r.*field = to_rect(value); });
}

// A fixed text field: read up to its terminator, written cut to fit with one.
template <class Record, std::size_t N>
void def_text(py::class_<Record>& record, const char* name, char (Record::*field)[N]) {
  record.def_property(
      name, [field](const Record& r) { return py::bytes(r.*field, strnlen(r.*field, N)); },
      [field](Record& r, const std::string& text) {
        std::memset(r.*field, 0, N);
        text.copy(r.*field, N - 1);
      });
}

#define KESTRA_FIELD(Record, name) .def_readwrite(#name, &Record::name)

void bind_diag_disp(py::module_& module) {
  py::class_<DIAG_DISP> disp(module, "DiagDisp",
                             "DIAG_DISP; its label buffer and series are given to CreateDiag.");
  disp.def(py::init([] { return DIAG_DISP{}; }))
      KESTRA_FIELD(DIAG_DISP, fillBackground) KESTRA_FIELD(DIAG_DISP, backColor)
      KESTRA_FIELD(DIAG_DISP, drawFrame) KESTRA_FIELD(DIAG_DISP, frameColor)
      KESTRA_FIELD(DIAG_DISP, drawAxisX) KESTRA_FIELD(DIAG_DISP, drawAxisY)
      KESTRA_FIELD(DIAG_DISP, axisColor) KESTRA_FIELD(DIAG_DISP, arrowStyle)
      KESTRA_FIELD(DIAG_DISP, marginBottom) KESTRA_FIELD(DIAG_DISP, marginLeft)
      KESTRA_FIELD(DIAG_DISP, arrowMask) KESTRA_FIELD(DIAG_DISP, baseValue)
      KESTRA_FIELD(DIAG_DISP, showLegend) KESTRA_FIELD(DIAG_DISP, legendTop)
      KESTRA_FIELD(DIAG_DISP, legendLeft) KESTRA_FIELD(DIAG_DISP, legendBottom)
      KESTRA_FIELD(DIAG_DISP, legendRight) KESTRA_FIELD(DIAG_DISP, legendFrame)
      KESTRA_FIELD(DIAG_DISP, legendFrameColor) KESTRA_FIELD(DIAG_DISP, legendFill)
      KESTRA_FIELD(DIAG_DISP, legendBackColor) KESTRA_FIELD(DIAG_DISP, legendFontHeight)
      KESTRA_FIELD(DIAG_DISP, legendTextColor) KESTRA_FIELD(DIAG_DISP, showGrid)
      KESTRA_FIELD(DIAG_DISP, gridStyle) KESTRA_FIELD(DIAG_DISP, gridVertical)
      KESTRA_FIELD(DIAG_DISP, divisions) KESTRA_FIELD(DIAG_DISP, gridColor)
      KESTRA_FIELD(DIAG_DISP, showCaptions) KESTRA_FIELD(DIAG_DISP, captionColor)
      KESTRA_FIELD(DIAG_DISP, captionFontHeight) KESTRA_FIELD(DIAG_DISP, showBarValues)
      KESTRA_FIELD(DIAG_DISP, barValueColor) KESTRA_FIELD(DIAG_DISP, barValueFontHeight)
      KESTRA_FIELD(DIAG_DISP, showCategoryLabels) KESTRA_FIELD(DIAG_DISP, showValueLabels)
      KESTRA_FIELD(DIAG_DISP, legendEntries) KESTRA_FIELD(DIAG_DISP, decimals);
  def_rect(disp, "rcPicture", &DIAG_DISP::rcPicture);
  def_rect(disp, "rcFrame", &DIAG_DISP::rcFrame);
  def_rect(disp, "rcPlot", &DIAG_DISP::rcPlot);
  def_text(disp, "captionX", &DIAG_DISP::captionX);
  def_text(disp, "captionY", &DIAG_DISP::captionY);

  module.def(
      "ReturnDiagDisp",
      [](const Rect& picture, unsigned long back_color, unsigned long frame_color,
         unsigned long axis_color, unsigned short divisions, unsigned long text_color,
         unsigned short caption_font_height, unsigned long bar_value_color,
         unsigned short bar_value_font_height, std::string caption_x, std::string caption_y,
         unsigned short legend_entries, unsigned char decimals, unsigned long flags) {
        return ReturnDiagDisp(to_rect(picture), back_color, frame_color, axis_color, divisions,
                              text_color, caption_font_height, bar_value_color,
                              bar_value_font_height, caption_x.data(), caption_y.data(), nullptr,
                              0, legend_entries, nullptr, decimals, flags);
      },
      py::arg("picture"), py::arg("back_color"), py::arg("frame_color"), py::arg("axis_color"),
      py::arg("divisions"), py::arg("text_color"), py::arg("caption_font_height"),
      py::arg("bar_value_color"), py::arg("bar_value_font_height"), py::arg("caption_x"),
      py::arg("caption_y"), py::arg("legend_entries"), py::arg("decimals"), py::arg("flags"),
      "ReturnDiagDisp without the label buffer and the series, which CreateDiag takes.");
}

void bind_graph_elem(py::module_& module) {
  py::class_<GRAPH_ELEM> element(module, "GraphElem", "GRAPH_ELEM: one series description.");
  element.def(py::init([] { return GRAPH_ELEM{}; }))
      KESTRA_FIELD(GRAPH_ELEM, color) KESTRA_FIELD(GRAPH_ELEM, width)
      KESTRA_FIELD(GRAPH_ELEM, style);
  def_text(element, "name", &GRAPH_ELEM::name);

  module.def(
      "ReturnGraphElem",
      [](unsigned long color, int style, std::string name) {
        return ReturnGraphElem(color, style, name.data());
      },
      py::arg("color"), py::arg("style"), py::arg("name"), "ReturnGraphElem.");
}

void bind_option_rect(py::module_& module) {
  py::class_<OPTION_RECT> options(module, "OptionRect", "OPTION_RECT: the settings of a plot.");
  options.def(py::init([] { return OPTION_RECT{}; }))
      KESTRA_FIELD(OPTION_RECT, fillBackground) KESTRA_FIELD(OPTION_RECT, backColor)
      KESTRA_FIELD(OPTION_RECT, graphColor) KESTRA_FIELD(OPTION_RECT, drawFrame)
      KESTRA_FIELD(OPTION_RECT, frameColor) KESTRA_FIELD(OPTION_RECT, drawAxisX)
      KESTRA_FIELD(OPTION_RECT, drawAxisY) KESTRA_FIELD(OPTION_RECT, axisColor)
      KESTRA_FIELD(OPTION_RECT, arrowStyle) KESTRA_FIELD(OPTION_RECT, arrowMask)
      KESTRA_FIELD(OPTION_RECT, xMin) KESTRA_FIELD(OPTION_RECT, yMin)
      KESTRA_FIELD(OPTION_RECT, xMax) KESTRA_FIELD(OPTION_RECT, yMax)
      KESTRA_FIELD(OPTION_RECT, argOnX) KESTRA_FIELD(OPTION_RECT, argFrom)
      KESTRA_FIELD(OPTION_RECT, argTo) KESTRA_FIELD(OPTION_RECT, argStep)
      KESTRA_FIELD(OPTION_RECT, textColor) KESTRA_FIELD(OPTION_RECT, fontHeight)
      KESTRA_FIELD(OPTION_RECT, showZero);
  def_rect(options, "rcPicture", &OPTION_RECT::rcPicture);
  def_rect(options, "rcFrame", &OPTION_RECT::rcFrame);
  def_rect(options, "rcPlot", &OPTION_RECT::rcPlot);
  def_text(options, "captionX", &OPTION_RECT::captionX);
  def_text(options, "captionY", &OPTION_RECT::captionY);

  module.def(
      "ReturnOptionRect",
      [](const Rect& picture, unsigned long back_color, unsigned long graph_color,
         unsigned long frame_color, unsigned long axis_color, double x_min, double y_min,
         double x_max, double y_max, double arg_from, double arg_to, unsigned long text_color,
         int font_height, std::string caption_x, std::string caption_y, unsigned long flags) {
        return ReturnOptionRect(to_rect(picture), back_color, graph_color, frame_color,
                                axis_color, x_min, y_min, x_max, y_max, arg_from, arg_to,
                                text_color, font_height, caption_x.data(), caption_y.data(),
                                flags);
      },
      py::arg("picture"), py::arg("back_color"), py::arg("graph_color"), py::arg("frame_color"),
      py::arg("axis_color"), py::arg("x_min"), py::arg("y_min"), py::arg("x_max"),
      py::arg("y_max"), py::arg("arg_from"), py::arg("arg_to"), py::arg("text_color"),
      py::arg("font_height"), py::arg("caption_x"), py::arg("caption_y"), py::arg("flags"),
      "ReturnOptionRect.");
}

#undef KESTRA_FIELD

}  // namespace

void bind_records(py::module_& module) {
  bind_diag_disp(module);
  bind_graph_elem(module);
  bind_option_rect(module);
}

}  // namespace kestra::python
