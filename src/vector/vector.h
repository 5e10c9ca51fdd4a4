// Internal contract of the vector writers: a recording (platform/recording.h)
// seen as shapes in picture pixels, the painters that turn the shapes into
// SVG or draw them with cairo, and the writers that make a file's bytes.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "kestra_vector.h"
#include "platform/recording.h"

namespace kestra::vector {

using platform::RecordedFont;
using platform::RecordedText;
using platform::Recording;

struct PointF {
  double x, y;
};

// A box in picture pixels: columns left..right, rows top..bottom.
struct BoxF {
  double left, top, right, bottom;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

enum class Cap : std::uint8_t { butt, round, square };
enum class Join : std::uint8_t { miter, round };

// A stroked polyline. Dashes alternate on and off lengths, "on" first,
// along the path from `dash_offset` into the pattern; empty for solid.
struct Stroke {
  std::vector<PointF> points;
  bool closed = false;
  double width = 1;
  COLORREF color = 0;
  Cap cap = Cap::butt;
  Join join = Join::miter;
  std::vector<double> dashes;
  double dash_offset = 0;
};

// What a writer draws: GDI's calls turned into the shapes that cover the
// same pixels (a 1-pixel line is a 1-wide stroke through the pixel centres).
class Painter {
 public:
  virtual void fill(const BoxF& box, COLORREF color) = 0;
  // GDI's 8 x 8 hatch bits of `hatch`, tied to the picture's origin, in
  // `color`; the gaps in `gaps`, or left alone.
  virtual void fill_hatch(const BoxF& box, int hatch, COLORREF color,
                          std::optional<COLORREF> gaps) = 0;
  virtual void stroke(const Stroke& stroke) = 0;
  virtual void text(const RecordedText& text, const RecordedFont& font) = 0;

 protected:
  ~Painter() = default;
};

// Walks the recording in order and hands each call's shapes, cut to the
// picture, to `painter`.
void paint_recording(const Recording& recording, canvas::PictureSize size, Painter& painter);

// GDI's dash pattern of a pen style as run lengths, "on" first; empty for
// solid and any other style.
std::vector<int> dash_runs(int pen_style);

// Where the text's reference point lies for its alignment: the left end,
// the middle or the right end of its measured extent.
double anchor_x(const RecordedText& text);

// "#rrggbb".
std::string css_color(COLORREF color);

// The file bytes of a recorded picture; `scale` is checked. Cairo formats
// throw std::bad_alloc when cairo runs out of memory.
std::string write_svg(const Recording& recording, canvas::PictureSize size, double scale);
std::string write_with_cairo(const Recording& recording, canvas::PictureSize size,
                             const PictureOptions& options);
// cairo's write callback that appends to the std::string at `closure`.
cairo_status_t append_to_string(void* closure, const unsigned char* data, unsigned int length);

// A picture of width x height pixels (top-down rows, 0x00RRGGBB) as a PNG
// or 24-bit BMP file.
std::string encode_pixels(const std::uint32_t* pixels, int width, int height, PictureFormat format);

}  // namespace kestra::vector
