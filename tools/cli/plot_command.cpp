// The plot command: examine the expression, build the plot record, draw.
#include "command_errors.h"
#include "commands.h"
#include "diagram_text.h"
#include "expression_report.h"
#include "kestra_expression.h"
#include "kestra_text.h"
#include "picture_file.h"

namespace kestra::cli {
namespace {

unsigned long plot_flags(const PlotLook& look, bool argument_on_vertical) {
  unsigned long flags = 0;
  if (look.background_on) flags |= KESTRA_PLOT_BACKGROUND;
  if (look.frame_on) flags |= KESTRA_PLOT_FRAME;
  if (look.axis_x_on) flags |= KESTRA_PLOT_AXIS_X;
  if (look.axis_y_on) flags |= KESTRA_PLOT_AXIS_Y;
  if (look.arrows_on) flags |= KESTRA_PLOT_ARROWS;
  if (argument_on_vertical) flags |= KESTRA_PLOT_ARGUMENT_VERTICAL;
  if (look.zero_on) flags |= KESTRA_PLOT_ZERO_MARK;
  return flags;
}

void warn_about_reading(const std::string& text, const ExpressionCheck& report,
                        std::ostream& err) {
  if (!report.ignored.empty()) {
    print_warning(err, "the expression language ignores " +
                           describe_ignored(text, report.ignored) +
                           "; the expression is read as " +
                           in_quotes(without_ignored(text, report.ignored)));
  }
  if (report.tokens_dropped) {
    print_warning(err, "only the first 2000 tokens of the expression are read");
  }
}

[[noreturn]] void refuse(const std::string& text, const ExpressionCheck& report) {
  throw StatusError{KESTRA_BAD_EXPRESSION, report.reason + "\n  " + text + "\n  " +
                                               caret_line(text, report.offset)};
}

}  // namespace

ExpressionCheck examine_expression(const std::string& expression, std::ostream& err) {
  const ExpressionCheck report = check_expression(expression);
  warn_about_reading(expression, report, err);
  if (report.code != 0) refuse(expression, report);
  return report;
}

OPTION_RECT plot_record(const PlotLook& look, bool argument_on_vertical,
                        std::vector<std::string>& notes) {
  // The argument runs along the scale of its own axis unless --arg says.
  const Span argument = look.argument.value_or(argument_on_vertical ? look.y : look.x);
  constexpr std::size_t max_caption = sizeof(OPTION_RECT::captionX) - 1;
  std::string caption_x = field_text(look.caption_x, max_caption, "caption", notes);
  std::string caption_y = field_text(look.caption_y, max_caption, "caption", notes);
  OPTION_RECT options = ReturnOptionRect(
      {0, 0, look.size.width, look.size.height}, look.background, look.graph_color,
      look.frame_color, look.axis_color, look.x.from, look.y.from, look.x.to, look.y.to,
      argument.from, argument.to, look.text_color, look.font, caption_x.data(), caption_y.data(),
      plot_flags(look, argument_on_vertical));
  options.argStep = look.step;
  if (look.frame_rect) options.rcFrame = *look.frame_rect;
  if (look.plot_rect) options.rcPlot = *look.plot_rect;
  if (look.arrow_mask) options.arrowMask = *look.arrow_mask;
  return options;
}

int draw_plot(const std::string& expression, const PlotLook& look, const std::string& out,
              std::ostream& err) {
  check_output_name(out);
  const ExpressionCheck report = examine_expression(expression, err);

  std::vector<std::string> notes;
  OPTION_RECT options = plot_record(look, report.argument_on_vertical, notes);
  for (const std::string& note : notes) print_warning(err, note);
  std::string text = expression;
  const Utf8Text utf8;
  const int status = write_picture(
      out, look.output, [&](auto target) { return CreateGraph(text.data(), options, target, 1); },
      [&](const std::string& path, const PictureOptions& vector) {
        return save_plot(path, text.data(), options, vector);
      });
  if (status != KESTRA_OK) throw StatusError{status, out};
  return 0;
}

}  // namespace kestra::cli
