// A recording's calls as shapes that cover the pixels GDI paints for them:
// a cosmetic line is a 1-wide stroke through its pixel centres, a wide line
// a round-capped stroke around its end points, a rectangle a fill inside a
// closed outline, and runs of adjacent SetPixel points a polyline.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/dashes.h"
#include "vector/vector.h"

namespace kestra::vector {
namespace {

using platform::RecordedKind;
using platform::RecordedOp;
using platform::RecordedStyle;

// A wide pen of width w covers rows y - w/2 .. y - w/2 + w - 1 around a
// point (wide_pen.cpp): its centre lies w/2 - floor(w/2) past the point's
// corner, half a pixel for odd widths.
double pen_centre_offset(int width) {
  return width < 2 ? 0.5 : width / 2.0 - width / 2;
}

bool is_wide(const RecordedStyle& style) { return style.pen_width >= 2; }

// Shapes are cut to the picture and a margin wider than any pen reaching
// into it: coordinates far outside (GDI takes any int) stay within what
// renderers handle exactly.
class Bounds {
 public:
  Bounds(canvas::PictureSize size, int pen_width)
      : margin_(64.0 + std::max(pen_width, 1)),
        box_{-margin_, -margin_, static_cast<double>(size.width) + margin_,
             static_cast<double>(size.height) + margin_} {}

  double clamp_x(double x) const { return std::clamp(x, box_.left, box_.right); }
  double clamp_y(double y) const { return std::clamp(y, box_.top, box_.bottom); }

  // Cuts the segment to the box (Liang-Barsky); the length cut off its
  // start in *skipped. False when nothing of it is inside.
  bool clip(PointF& from, PointF& to, double* skipped) const {
    const double dx = to.x - from.x, dy = to.y - from.y;
    double t0 = 0, t1 = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {from.x - box_.left, box_.right - from.x, from.y - box_.top, box_.bottom - from.y};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    *skipped = t0 * std::hypot(dx, dy);
    to = {from.x + t1 * dx, from.y + t1 * dy};
    from = {from.x + t0 * dx, from.y + t0 * dy};
    return true;
  }

 private:
  double margin_;
  BoxF box_;
};

// Dash lengths of a cosmetic styled pen along a path whose pixels are
// `unit` apart: GDI counts the pattern in pixels along the major axis.
std::vector<double> dashes_of(const RecordedStyle& style, double unit) {
  std::vector<double> dashes;
  if (is_wide(style)) return dashes;  // wide pens are solid whatever their style
  for (int run : dash_runs(style.pen_style)) dashes.push_back(run * unit);
  return dashes;
}

// Styled cosmetic pens in OPAQUE mode paint their gaps first, solid in the
// background colour, then the dashes over them.
void stroke_with_gaps(Painter& painter, Stroke stroke, const RecordedStyle& style) {
  if (!stroke.dashes.empty() && style.pen_gaps) {
    Stroke gaps = stroke;
    gaps.dashes.clear();
    gaps.color = *style.pen_gaps;
    painter.stroke(gaps);
  }
  painter.stroke(stroke);
}

// LineTo from `from` up to, not including, `to`. A cosmetic line paints one
// pixel per step along the major axis: the stroke runs from the first
// pixel's leading edge to the end point's, so the dash pattern counts whole
// pixels from the line's start.
void paint_line(Painter& painter, const RecordedStyle& style, const Bounds& bounds, PointF from,
                PointF to) {
  Stroke stroke;
  stroke.color = style.pen_color;
  double skipped = 0;
  if (is_wide(style)) {
    const double c = pen_centre_offset(style.pen_width);
    PointF a{from.x + c, from.y + c}, b{to.x + c, to.y + c};
    if (!bounds.clip(a, b, &skipped)) return;
    stroke.width = style.pen_width;
    stroke.cap = Cap::round;
    stroke.points = {a, b};
    painter.stroke(stroke);
    return;
  }
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double steps = std::max(std::fabs(dx), std::fabs(dy));
  if (steps == 0) return;  // no pixel
  const PointF back{dx / (2 * steps), dy / (2 * steps)};
  PointF a{from.x + 0.5 - back.x, from.y + 0.5 - back.y}, b{to.x + 0.5 - back.x, to.y + 0.5 - back.y};
  if (!bounds.clip(a, b, &skipped)) return;
  stroke.points = {a, b};
  stroke.dashes = dashes_of(style, std::hypot(dx, dy) / steps);
  if (!stroke.dashes.empty()) stroke.dash_offset = skipped;  // the pattern as from the line's start
  stroke_with_gaps(painter, std::move(stroke), style);
}

void paint_brush(Painter& painter, const RecordedStyle& style, const BoxF& area) {
  if (area.left >= area.right || area.top >= area.bottom) return;
  if (style.fill == platform::Brush::Fill::solid) {
    painter.fill(area, style.brush_color);
  } else if (style.fill == platform::Brush::Fill::hatch) {
    painter.fill_hatch(area, style.hatch, style.brush_color, style.hatch_gaps);
  }
}

// Rectangle: the brush inside the outline (from the corner when there is
// no outline), then the pen's closed outline through the corner pixels,
// anticlockwise from the top-right one where GDI starts its dash pattern.
void paint_rectangle(Painter& painter, const RecordedStyle& style, const Bounds& bounds,
                     const RecordedOp& op) {
  const double left = bounds.clamp_x(op.a), top = bounds.clamp_y(op.b);
  const double right = bounds.clamp_x(op.c), bottom = bounds.clamp_y(op.d);
  const bool outlined = style.pen_style != PS_NULL;
  // A solid box of one colour is one fill, seamless however it is drawn.
  if (outlined && !is_wide(style) && style.pen_style == PS_SOLID &&
      style.fill == platform::Brush::Fill::solid && style.brush_color == style.pen_color) {
    painter.fill({left, top, right, bottom}, style.pen_color);
    return;
  }
  const double inset = outlined ? 1 : 0;
  paint_brush(painter, style, {left + inset, top + inset, right - 1, bottom - 1});
  if (!outlined) return;
  const double c = pen_centre_offset(style.pen_width);
  Stroke outline;
  outline.closed = true;
  outline.color = style.pen_color;
  outline.width = is_wide(style) ? style.pen_width : 1;
  outline.join = is_wide(style) ? Join::round : Join::miter;
  outline.points = {{right - 1 + c, top + c},
                    {left + c, top + c},
                    {left + c, bottom - 1 + c},
                    {right - 1 + c, bottom - 1 + c}};
  // The first pixel's pattern unit starts half a pixel before its centre.
  outline.dashes = dashes_of(style, 1.0);
  outline.dash_offset = outline.dashes.empty() ? 0 : 0.5;
  stroke_with_gaps(painter, std::move(outline), style);
}

// Keeps the points of a polyline through pixel centres that its shape
// needs: no kept segment strays more than `tolerance` from a dropped point.
void simplify(const std::vector<PointF>& points, std::size_t first, std::size_t last,
              double tolerance, std::vector<PointF>& out) {
  const PointF a = points[first], b = points[last];
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  double farthest = 0;
  std::size_t at = first;
  for (std::size_t i = first + 1; i < last; ++i) {
    const double distance =
        length == 0 ? std::hypot(points[i].x - a.x, points[i].y - a.y)
                    : std::fabs(dy * (points[i].x - a.x) - dx * (points[i].y - a.y)) / length;
    if (distance > farthest) {
      farthest = distance;
      at = i;
    }
  }
  if (farthest > tolerance) {
    simplify(points, first, at, tolerance, out);
    simplify(points, at, last, tolerance, out);
  } else {
    out.push_back(b);
  }
}

// How far a plotted curve may leave its pixels' centres: at most a pixel,
// which takes the stairs out of a rasterised slope.
constexpr double curve_tolerance = 1.0;

// SetPixel points in call order: each run of one colour whose points touch
// (8-neighbours) is a curve a plot sampled, drawn as a 1-wide polyline
// through the centres with square ends; a lone point is its pixel.
class PointRun {
 public:
  explicit PointRun(Painter& painter) : painter_(painter) {}

  void add(int x, int y, COLORREF color) {
    if (!centres_.empty() &&
        (color != color_ || std::abs(x - last_x_) > 1 || std::abs(y - last_y_) > 1)) {
      flush();
    }
    color_ = color;
    last_x_ = x;
    last_y_ = y;
    centres_.push_back({x + 0.5, y + 0.5});
  }

  void flush() {
    if (centres_.size() == 1) {
      painter_.fill({centres_[0].x - 0.5, centres_[0].y - 0.5, centres_[0].x + 0.5,
                     centres_[0].y + 0.5}, color_);
    } else if (!centres_.empty()) {
      Stroke stroke;
      stroke.color = color_;
      stroke.cap = Cap::square;
      stroke.join = Join::round;
      stroke.points.push_back(centres_.front());
      simplify(centres_, 0, centres_.size() - 1, curve_tolerance, stroke.points);
      painter_.stroke(stroke);
    }
    centres_.clear();
  }

 private:
  Painter& painter_;
  std::vector<PointF> centres_;
  COLORREF color_ = 0;
  int last_x_ = 0, last_y_ = 0;
};

}  // namespace

std::vector<int> dash_runs(int pen_style) {
  std::vector<int> runs;
  const platform::DashPattern* pattern = platform::dash_pattern_of(pen_style);
  if (!pattern) return runs;
  for (int phase = 0; phase < pattern->period; ++phase) {
    const bool starts_run = phase == 0 || pattern->is_on(phase) != pattern->is_on(phase - 1);
    if (starts_run) runs.push_back(0);
    ++runs.back();
  }
  return runs;
}

double anchor_x(const RecordedText& text) {
  const double x = static_cast<double>(text.x), width = static_cast<double>(text.width);
  if (text.align & DT_CENTER) return x + width / 2;
  if (text.align & DT_RIGHT) return x + width;
  return x;
}

std::string css_color(COLORREF color) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string out = "#000000";
  const unsigned channels[] = {GetRValue(color), GetGValue(color), GetBValue(color)};
  for (int i = 0; i < 3; ++i) {
    out[static_cast<std::size_t>(1 + 2 * i)] = digits[channels[i] >> 4];
    out[static_cast<std::size_t>(2 + 2 * i)] = digits[channels[i] & 15];
  }
  return out;
}

namespace {

// Whether any of a text's cell can show on the picture.
bool shows(const RecordedText& text, const RecordedFont& font, canvas::PictureSize size) {
  return text.x < size.width && text.x + text.width > 0 && text.y < size.height &&
         text.y + font.metrics.tmHeight > 0;
}

bool inside(const RecordedOp& op, canvas::PictureSize size) {
  return op.a >= 0 && op.b >= 0 && op.a < size.width && op.b < size.height;
}

}  // namespace

void paint_recording(const Recording& recording, canvas::PictureSize size, Painter& painter) {
  PointRun points(painter);
  for (const RecordedOp& op : recording.ops) {
    if (op.kind == RecordedKind::pixel && inside(op, size)) {
      points.add(op.a, op.b, op.index);
      continue;
    }
    points.flush();
    switch (op.kind) {
      case RecordedKind::line: {
        const RecordedStyle& style = recording.styles[op.index];
        paint_line(painter, style, Bounds(size, style.pen_width), {double(op.a), double(op.b)},
                   {double(op.c), double(op.d)});
        break;
      }
      case RecordedKind::rectangle: {
        const RecordedStyle& style = recording.styles[op.index];
        paint_rectangle(painter, style, Bounds(size, style.pen_width), op);
        break;
      }
      case RecordedKind::text: {
        const RecordedText& text = recording.texts[op.index];
        const RecordedFont& font = recording.fonts[text.font];
        if (shows(text, font, size)) painter.text(text, font);
        break;
      }
      case RecordedKind::pixel:
        break;
    }
  }
  points.flush();
}

}  // namespace kestra::vector
